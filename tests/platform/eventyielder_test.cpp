// The Qt event yielder lets timer ticks run inside a long handler but keeps the operator's
// clicks for after it.
#include "platform/eventyielder.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include "support/userinput.h"

namespace {

TEST(QtEventYielder, RunsTicksAndKeepsClicksForTheEventLoop) {
    QPushButton button(QStringLiteral("&ELENCA"));
    button.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&] { ++clicks; });
    int ticks = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] { ++ticks; });
    tick.start(1);
    QTest::qSleep(5);

    queueClick(&button);
    QtEventYielder().yieldToEvents();
    EXPECT_GE(ticks, 1);
    EXPECT_EQ(clicks, 0);

    QCoreApplication::processEvents();
    EXPECT_EQ(clicks, 1);
}

}  // namespace
