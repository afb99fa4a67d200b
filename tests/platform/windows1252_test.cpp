// Tests of the Windows-1252 conversion.
#include <gtest/gtest.h>

#include <QStringDecoder>

#include "platform/windows1252.h"
#include "support/casenames.h"

namespace {

// Our table against the system's converter, byte by byte, both ways.
TEST(Windows1252, EveryByteDecodesAsTheSystemConverterAndEncodesBack) {
    QStringDecoder reference("windows-1252");
    if (!reference.isValid()) GTEST_SKIP() << "no system converter for windows-1252";
    for (int code = 0; code < 256; ++code) {
        const QByteArray byte(1, static_cast<char>(code));
        const QString text = windows1252::decode(byte);
        EXPECT_EQ(text, reference.decode(byte)) << "byte " << code;
        EXPECT_EQ(windows1252::encode(text), byte) << "byte " << code;
    }
}

struct Unencodable {
    const char16_t* text;
    const char* bytes;
};

class Windows1252Unencodable : public ::testing::TestWithParam<Unencodable> {};

TEST_P(Windows1252Unencodable, BecomesAQuestionMark) {
    EXPECT_EQ(windows1252::encode(QString::fromUtf16(GetParam().text)),
              QByteArray(GetParam().bytes));
}

INSTANTIATE_TEST_SUITE_P(
    Characters, Windows1252Unencodable,
    ::testing::Values(Unencodable{u"a\u2192b", "a?b"},     // arrow
                      Unencodable{u"\u0080", "?"},         // a control that the page maps away
                      Unencodable{u"\u0100", "?"},         // just past Latin-1
                      Unencodable{u"x\U0001F600y", "x?y"}  // one character, two code units
                      ),
    (CaseNames{"Arrow", "MappedAwayControl", "PastLatin1", "SurrogatePair"}));

}  // namespace
