// The wall-clock timer fires once the system clock shows its moment, at once for one passed.
#include "platform/timerfdwalltimer.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QtTest/QTest>

#include "support/casenames.h"

namespace {

using std::chrono::milliseconds;

constexpr int kAttesaMs = 10000;

Instant adesso() {
    return instantOf(QDateTime::currentDateTimeUtc());
}

// How far from now the moment lies; nothing: the epoch itself.
class TimerfdWallTimerTest : public ::testing::TestWithParam<std::optional<milliseconds>> {};

TEST_P(TimerfdWallTimerTest, FiresOnceAtItsMomentOrAtOnceWhenPassed) {
    QList<Instant> scatti;
    TimerfdWallTimer timer([&] { scatti.append(adesso()); }, {});
    // One armed before and replaced does not fire.
    timer.start(adesso() + milliseconds(50));
    const Instant inizio = adesso();
    const Instant momento = GetParam() ? inizio + *GetParam() : Instant{};
    timer.start(momento);
    EXPECT_EQ(timer.moment(), momento);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !scatti.isEmpty(); }, kAttesaMs));
    EXPECT_GE(scatti[0], momento);
    // A moment passed fires at once; one ahead, within a second of it.
    EXPECT_LT(scatti[0] - std::max(momento, inizio), milliseconds(1000));
    EXPECT_FALSE(timer.moment());
    EXPECT_FALSE(QTest::qWaitFor([&] { return scatti.size() > 1; }, 200));
}

INSTANTIATE_TEST_SUITE_P(Moments, TimerfdWallTimerTest,
                         ::testing::Values(milliseconds(300), milliseconds(-3600000), std::nullopt),
                         CaseNames({"Ahead", "Passed", "AtTheEpoch"}));

}  // namespace
