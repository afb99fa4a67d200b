// The main window's controls, reached by the names the window gives them.
#pragma once

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTimer>

#include "ui/main/pannelloparametri.h"
#include "ui/main/startup.h"

// The child of `startup` named `name`; the test fails when there is none.
template <typename T>
T* controlOf(const Startup& startup, const QString& name) {
    T* control = startup.findChild<T*>(name);
    if (!control) ADD_FAILURE() << "the main window has no " << name.toStdString();
    return control;
}

inline QPushButton* command1(const Startup& startup, int index) {
    return controlOf<QPushButton>(startup, QStringLiteral("Command1_%1").arg(index));
}

inline PannelloParametri* pctParam(const Startup& startup) {
    return controlOf<PannelloParametri>(startup, QStringLiteral("pctParam"));
}

inline QTimer* timer1(const Startup& startup) {
    return controlOf<QTimer>(startup, QStringLiteral("Timer1"));
}
