// Saves a window as a PNG, under a drawn title bar that shows the window's caption.
#pragma once

#include <QString>

class QWidget;

class Screenshotter {
public:
    explicit Screenshotter(const QString& folder) : folder_(folder) {}

    // Lets the window settle, grabs it and writes <folder>/<name>.png; false on failure.
    bool save(QWidget& window, const QString& name) const;

private:
    QString folder_;
};
