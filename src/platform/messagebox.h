// Modal message boxes shown to the operator.
#pragma once

#include <QString>

enum class MessageIcon { None, Stop, Question };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

struct MessageRequest {
    QString text;
    QString title;  // empty: the program's title, SCADEX
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
};

class MessageBox {
public:
    virtual ~MessageBox() = default;
    // Shows the box modally and returns the operator's answer.
    virtual MessageAnswer show(const MessageRequest& request) = 0;
};
