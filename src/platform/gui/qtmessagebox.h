// Message boxes through QMessageBox.
#pragma once

#include "platform/messagebox.h"

class QWidget;

class QtMessageBox : public MessageBox {
public:
    explicit QtMessageBox(QWidget* parent = nullptr) : parent_(parent) {}
    MessageAnswer show(const MessageRequest& request) override;

private:
    QWidget* parent_;
};
