// Window or printed line, from the environment the alert program starts in.
#include "alert/modoavviso.h"

#include <gtest/gtest.h>

#include <QProcessEnvironment>

namespace {

struct CasoModo {
    const char* nome;
    const char* display;
    const char* wayland;
    const char* piattaforma;
    const char* eco;
    bool finestra;
    bool conEco;
};

class Modo : public ::testing::TestWithParam<CasoModo> {};

TEST_P(Modo, FollowsDisplayAndPlatform) {
    const CasoModo& caso = GetParam();
    QProcessEnvironment ambiente;
    const auto imposta = [&](const char* nome, const char* valore) {
        if (valore) ambiente.insert(QString::fromLatin1(nome), QString::fromLatin1(valore));
    };
    imposta("DISPLAY", caso.display);
    imposta("WAYLAND_DISPLAY", caso.wayland);
    imposta("QT_QPA_PLATFORM", caso.piattaforma);
    imposta("SCADEX_ALERT_ECHO", caso.eco);
    const ModoAvviso modo = ModoAvviso::daAmbiente(ambiente);
    EXPECT_EQ(modo.finestra, caso.finestra);
    EXPECT_EQ(modo.eco, caso.conEco);
}

INSTANTIATE_TEST_SUITE_P(
    Environments, Modo,
    ::testing::Values(CasoModo{"X11", ":0", nullptr, nullptr, nullptr, true, false},
                      CasoModo{"Wayland", nullptr, "wayland-0", nullptr, nullptr, true, false},
                      CasoModo{"NoDisplay", nullptr, nullptr, nullptr, nullptr, false, false},
                      CasoModo{"EmptyDisplay", "", "", nullptr, nullptr, false, false},
                      CasoModo{"Offscreen", ":0", nullptr, "offscreen", nullptr, false, false},
                      CasoModo{"MinimalWithOptions", ":0", nullptr, "minimal:enable_fonts", nullptr,
                               false, false},
                      CasoModo{"FramebufferWithoutX", nullptr, nullptr, "linuxfb", nullptr, true,
                               false},
                      CasoModo{"EchoOffscreen", nullptr, nullptr, "offscreen", "1", true, true},
                      CasoModo{"EmptyEcho", nullptr, nullptr, "offscreen", "", false, false}),
    [](const auto& info) { return std::string(info.param.nome); });

}  // namespace
