// Connecting to the display, with one line of our own when there is none to connect to.
#pragma once

#include <QString>
#include <QtGlobal>

// Held while the application object connects to the display. Qt ends the process when it
// cannot, after several lines of its own; meanwhile this says `line` alone on standard error
// and ends with `status` instead. Qt's lines of a connection that succeeds are passed on.
class DisplayConnection {
public:
    DisplayConnection(const QString& line, int status);
    ~DisplayConnection();
    DisplayConnection(const DisplayConnection&) = delete;
    DisplayConnection& operator=(const DisplayConnection&) = delete;

private:
    QtMessageHandler previous_;
};
