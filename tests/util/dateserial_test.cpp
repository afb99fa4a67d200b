// Day serials as moments on the clock: gaps, repeated hours and midnights that do not exist.
#include "util/dateserial.h"

#include <gtest/gtest.h>

#include <optional>

#include "support/casenames.h"
#include "support/localzone.h"

namespace {

QDateTime utc(int anno, int mese, int giorno, int ore, int minuti) {
    return QDateTime(QDate(anno, mese, giorno), QTime(ore, minuti), Qt::UTC);
}

struct CasoMomento {
    const char* zona;
    QDateTime muro;               // the wall-clock reading, its fields held in a UTC date-time
    std::optional<QDateTime> da;  // looked for from this moment on; nothing: the rule alone
    QDateTime atteso;
};

class MomentoLocale : public ::testing::TestWithParam<CasoMomento> {
protected:
    LocalZone zona{GetParam().zona};
};

TEST_P(MomentoLocale, FollowsTheRuleForGapsAndRepeatedHours) {
    const CasoMomento& caso = GetParam();
    const double serial = dateserial::fromDateTime(caso.muro);
    const Instant momento = caso.da ? dateserial::nextInstant(serial, instantOf(*caso.da))
                                    : dateserial::toInstant(serial);
    EXPECT_EQ(momento, instantOf(caso.atteso));
}

TEST_P(MomentoLocale, TheDaysFirstMomentIsQtsStartOfDay) {
    const QDate giorno = GetParam().muro.date();
    EXPECT_EQ(dateserial::dayStart(giorno), instantOf(giorno.startOfDay()));
}

INSTANTIATE_TEST_SUITE_P(
    Zones, MomentoLocale,
    ::testing::Values(
        CasoMomento{"Europe/Rome", utc(2026, 12, 6, 10, 0), {}, utc(2026, 12, 6, 9, 0)},
        CasoMomento{"Europe/Rome", utc(2026, 3, 29, 2, 30), {}, utc(2026, 3, 29, 1, 0)},
        CasoMomento{"Europe/Rome", utc(2026, 10, 25, 2, 30), {}, utc(2026, 10, 25, 0, 30)},
        CasoMomento{"America/Santiago", utc(2026, 9, 6, 0, 0), {}, utc(2026, 9, 6, 4, 0)},
        // The next showing from a moment: not before it, the moment itself once shown.
        CasoMomento{"Europe/Rome", utc(2026, 3, 29, 2, 30), utc(2026, 3, 29, 0, 59),
                    utc(2026, 3, 29, 1, 0)},
        CasoMomento{"Europe/Rome", utc(2026, 10, 25, 2, 30), utc(2026, 10, 25, 1, 10),
                    utc(2026, 10, 25, 1, 30)},
        CasoMomento{"Europe/Rome", utc(2026, 12, 6, 10, 0), utc(2026, 12, 6, 9, 30),
                    utc(2026, 12, 6, 9, 30)}),
    CaseNames({"RomePlain", "RomeGapGivesTheMomentAfter", "RomeRepeatGivesTheFirst",
               "SantiagoMissingMidnightGivesOne", "NextBeforeTheGap",
               "NextInTheRepeatGivesTheSecondShowing", "NextOnceShownIsNow"}));

}  // namespace
