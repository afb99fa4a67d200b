// The profile file format: single-byte lines of [section] headers, name=value keys, ; comments.
#include "platform/profilefile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QList>
#include <QSaveFile>
#include <algorithm>
#include <optional>

#include "platform/windows1252.h"

namespace {

const QByteArray kLineBreak = QByteArrayLiteral("\r\n");

enum class LineKind { Header, Key, Other };

// One line of the file: where it lies and what it says. Views point into the file's bytes.
struct ProfileLine {
    qsizetype start = 0;  // first byte
    qsizetype end = 0;    // past the last byte before the line break
    qsizetype next = 0;   // past the line break
    LineKind kind = LineKind::Other;
    QByteArrayView name;           // section of a header, name of a key
    QByteArrayView value;          // value of a key, without surrounding blanks
    QByteArrayView leadingBlanks;  // the blanks between "=" and a non-empty value
};

// The lines of one section: its header and every line up to the next header.
struct SectionLines {
    qsizetype header = 0;
    qsizetype end = 0;
};

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

QByteArrayView trimBlanks(QByteArrayView text) {
    while (!text.isEmpty() && isBlank(text.front())) text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back())) text.chop(1);
    return text;
}

// The text before `stop`, or all of it.
QByteArrayView upTo(QByteArrayView text, char stop) {
    const qsizetype at = text.indexOf(stop);
    return at < 0 ? text : text.first(at);
}

QByteArrayView withoutOuterQuotes(QByteArrayView value) {
    const bool quoted = value.size() >= 2 && value.front() == value.back() &&
                        (value.front() == '"' || value.front() == '\'');
    return quoted ? value.sliced(1, value.size() - 2) : value;
}

// Fills in kind, name and value of a line from its text.
void classify(ProfileLine& line, QByteArrayView text) {
    const QByteArrayView content = trimBlanks(text);
    if (content.startsWith('[')) {
        line.kind = LineKind::Header;
        line.name = trimBlanks(upTo(content.sliced(1), ']'));
        return;
    }
    const qsizetype equals = content.indexOf('=');
    if (content.startsWith(';') || equals < 0) return;
    line.kind = LineKind::Key;
    line.name = trimBlanks(content.first(equals));
    const QByteArrayView raw = content.sliced(equals + 1);
    line.value = trimBlanks(raw);
    if (!line.value.isEmpty()) line.leadingBlanks = raw.first(line.value.data() - raw.data());
}

// Where the line that stops at `end` is over: CR, LF and CR LF each end a line.
qsizetype pastLineBreak(const QByteArray& bytes, qsizetype end) {
    if (end == bytes.size()) return end;
    const bool crLf = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n';
    return end + (crLf ? 2 : 1);
}

QList<ProfileLine> parse(const QByteArray& bytes) {
    QList<ProfileLine> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        ProfileLine line;
        line.start = start;
        line.end = start;
        while (line.end < bytes.size() && !isLineEnd(bytes[line.end])) ++line.end;
        line.next = pastLineBreak(bytes, line.end);
        classify(line, QByteArrayView(bytes).sliced(line.start, line.end - line.start));
        lines.append(line);
        start = line.next;
    }
    return lines;
}

// A CR or LF written into a name or value would start lines of its own.
bool breaksALine(const QString& text) {
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

// Names are asked for and written without surrounding blanks, as they are read.
QString trimmedName(const QString& name) {
    qsizetype start = 0;
    qsizetype end = name.size();
    const auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    while (start < end && blank(name[start])) ++start;
    while (end > start && blank(name[end - 1])) --end;
    return name.sliced(start, end - start);
}

bool sameName(QByteArrayView found, const QString& wanted) {
    return windows1252::decode(found).compare(wanted, Qt::CaseInsensitive) == 0;
}

// The first section of that name.
std::optional<SectionLines> findSection(const QList<ProfileLine>& lines, const QString& section) {
    for (qsizetype header = 0; header < lines.size(); ++header) {
        if (lines[header].kind != LineKind::Header || !sameName(lines[header].name, section)) {
            continue;
        }
        qsizetype end = header + 1;
        while (end < lines.size() && lines[end].kind != LineKind::Header) ++end;
        return SectionLines{header, end};
    }
    return std::nullopt;
}

// The first key line of that name in the section.
std::optional<qsizetype> findKey(const QList<ProfileLine>& lines, SectionLines section,
                                 const QString& key) {
    for (qsizetype at = section.header + 1; at < section.end; ++at) {
        if (lines[at].kind == LineKind::Key && sameName(lines[at].name, key)) return at;
    }
    return std::nullopt;
}

// The section's last key line, or its header when it has no keys.
qsizetype lastKeyLine(const QList<ProfileLine>& lines, SectionLines section) {
    qsizetype last = section.header;
    for (qsizetype at = section.header + 1; at < section.end; ++at) {
        if (lines[at].kind == LineKind::Key) last = at;
    }
    return last;
}

// The file's bytes (none for a missing file); nothing when the file exists but cannot be read.
std::optional<QByteArray> fileBytes(const QString& file) {
    QFile in(file);
    if (!in.exists()) return QByteArray();
    if (!in.open(QIODevice::ReadOnly)) return std::nullopt;
    return in.readAll();
}

QByteArray keyLine(QByteArrayView name, const QString& value) {
    return name.toByteArray() + '=' + windows1252::encode(value);
}

// The lines' texts, without their line breaks.
QList<QByteArray> lineTexts(const QByteArray& bytes, const QList<ProfileLine>& lines) {
    QList<QByteArray> texts;
    texts.reserve(lines.size() + 2);
    for (const ProfileLine& line : lines)
        texts.append(bytes.mid(line.start, line.end - line.start));
    return texts;
}

// Every line ended by CR LF, the last one included, as the platform's profile functions
// leave a file they write.
QByteArray joinLines(const QList<QByteArray>& texts) {
    QByteArray bytes;
    for (const QByteArray& text : texts) bytes += text + kLineBreak;
    return bytes;
}

// The file's bytes with the key set; `section` and `key` are trimmed names.
QByteArray withValue(const QByteArray& bytes, const QString& section, const QString& key,
                     const QString& value) {
    const QList<ProfileLine> lines = parse(bytes);
    QList<QByteArray> texts = lineTexts(bytes, lines);
    const std::optional<SectionLines> found = findSection(lines, section);
    if (!found) {
        texts.append('[' + windows1252::encode(section) + ']');
        texts.append(keyLine(windows1252::encode(key), value));
    } else if (const std::optional<qsizetype> at = findKey(lines, *found, key)) {
        texts[*at] = keyLine(lines[*at].name, value);
    } else {
        texts.insert(lastKeyLine(lines, *found) + 1, keyLine(windows1252::encode(key), value));
    }
    return joinLines(texts);
}

// Writes a complete new file beside the old one and renames it into place, so readers never
// see a half-written file; the old file's permissions carry over. A folder that takes no new
// file (the /etc/ fallback) still lets a writable file be rewritten in place, as the
// platform's own profile functions would; either way the bytes are synced before success.
bool replaceFile(const QString& file, const QByteArray& bytes) {
    QSaveFile out(file);
    out.setDirectWriteFallback(true);
    if (!out.open(QIODevice::WriteOnly)) return false;
    out.write(bytes);
    return out.commit();
}

}  // namespace

namespace profile {

QString readValue(const QString& file, const QString& section, const QString& key) {
    const QByteArray bytes = fileBytes(file).value_or(QByteArray());
    const QList<ProfileLine> lines = parse(bytes);
    const std::optional<SectionLines> found = findSection(lines, trimmedName(section));
    if (!found) return {};
    const std::optional<qsizetype> at = findKey(lines, *found, trimmedName(key));
    if (!at) return {};
    const ProfileLine& line = lines[*at];
    const QByteArrayView value = withoutOuterQuotes(line.value);
    // Quotes hold the value's own blanks; the blanks outside them are no part of it.
    const QByteArrayView leading =
        value.size() == line.value.size() ? line.leadingBlanks : QByteArrayView();
    return windows1252::decode(leading) +
           windows1252::decode(value.first(std::min(value.size(), kMaxValueLength)));
}

bool writeValue(const QString& file, const QString& section, const QString& key,
                const QString& value) {
    if (breaksALine(section) || breaksALine(key) || breaksALine(value)) return false;
    const std::optional<QByteArray> bytes = fileBytes(file);
    return bytes &&
           replaceFile(file, withValue(*bytes, trimmedName(section), trimmedName(key), value));
}

}  // namespace profile
