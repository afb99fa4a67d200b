// When the operator is told that the reminders stopped and that they run again.
#include <gtest/gtest.h>

#include "scan/statoscansione.h"

namespace {

struct Sequenza {
    const char* name;
    const char* tick;   // one letter a tick: F failed, R went through
    const char* cambi;  // one letter a tick: - nothing, G stopped, P resumed
};

class StatoScansioneTest : public ::testing::TestWithParam<Sequenza> {};

TEST_P(StatoScansioneTest, TellsTheThirdFailureInARowAndTheResumeOnce) {
    StatoScansione stato;
    std::string cambi;
    for (const char* tick = GetParam().tick; *tick; ++tick) {
        const auto guasto =
            *tick == 'F' ? std::optional<QString>(QStringLiteral("X")) : std::nullopt;
        switch (stato.registra(guasto)) {
            case StatoScansione::Cambio::Nessuno:
                cambi += '-';
                break;
            case StatoScansione::Cambio::Guasto:
                cambi += 'G';
                break;
            case StatoScansione::Cambio::Ripresa:
                cambi += 'P';
                break;
        }
    }
    EXPECT_EQ(cambi, GetParam().cambi);
}

INSTANTIATE_TEST_SUITE_P(Sequenze, StatoScansioneTest,
                         ::testing::Values(Sequenza{"TwoFailuresAreNotTold", "FFRFF", "-----"},
                                           Sequenza{"TheThirdIsToldOnce", "FFFFF", "--G--"},
                                           Sequenza{"TheResumeIsToldOnce", "FFFRRFFF", "--GP---G"},
                                           Sequenza{"NothingWhileAllGoesThrough", "RRR", "---"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
