// Windows-1252 by its own table, so the result does not depend on how Qt was built.
#include "platform/windows1252.h"

#include <QList>

#include <algorithm>
#include <array>
#include <iterator>
#include <optional>

namespace {

// The characters of bytes 0x80 to 0x9F; every other byte is its own Latin-1 code point.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};
constexpr unsigned kFirstHigh = 0x80;
constexpr unsigned kPastHigh = 0xA0;
constexpr unsigned kPastLatin1 = 0x100;

char16_t decodeByte(unsigned char byte) {
    if (byte >= kFirstHigh && byte < kPastHigh) return kHighControls[byte - kFirstHigh];
    return byte;
}

// The byte of a character, or nothing when the code page has none.
std::optional<char> encodeCodePoint(char32_t codePoint) {
    if (codePoint < kFirstHigh || (codePoint >= kPastHigh && codePoint < kPastLatin1)) {
        return static_cast<char>(codePoint);
    }
    const auto found = std::find(kHighControls.begin(), kHighControls.end(), codePoint);
    if (found == kHighControls.end()) return std::nullopt;
    return static_cast<char>(kFirstHigh + std::distance(kHighControls.begin(), found));
}

}  // namespace

namespace windows1252 {

QString decode(QByteArrayView bytes) {
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) text.append(QChar(decodeByte(static_cast<unsigned char>(byte))));
    return text;
}

QByteArray encode(QStringView text) {
    QByteArray bytes;
    for (const char32_t codePoint : text.toUcs4())
        bytes.append(encodeCodePoint(codePoint).value_or('?'));
    return bytes;
}

bool holds(QStringView text) {
    const QList<uint> codePoints = text.toUcs4();
    return std::all_of(codePoints.begin(), codePoints.end(),
                       [](char32_t codePoint) { return encodeCodePoint(codePoint).has_value(); });
}

}  // namespace windows1252
