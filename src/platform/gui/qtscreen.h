// The primary screen through QGuiApplication.
#pragma once

#include "platform/screen.h"

class QtScreen : public Screen {
public:
    QRect geometry() const override;
    double logicalDpi() const override;
};
