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
    QByteArrayView name;   // section of a header, name of a key
    QByteArrayView value;  // value of a key
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
    line.value = trimBlanks(content.sliced(equals + 1));
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

// Inserts whole lines at `at`, first ending the line before them when it has no line break.
QByteArray withLinesAt(QByteArray bytes, qsizetype at, const QByteArray& newLines) {
    const bool lineOpen = at > 0 && !isLineEnd(bytes[at - 1]);
    return bytes.insert(at, lineOpen ? kLineBreak + newLines : newLines);
}

QByteArray keyLine(QByteArrayView name, const QString& value) {
    return name.toByteArray() + '=' + windows1252::encode(value);
}

// The file's bytes with the key set.
QByteArray withValue(QByteArray bytes, const QString& section, const QString& key,
                     const QString& value) {
    const QList<ProfileLine> lines = parse(bytes);
    const std::optional<SectionLines> found = findSection(lines, section);
    if (!found) {
        const QByteArray header = '[' + windows1252::encode(section) + ']';
        return withLinesAt(
            bytes, bytes.size(),
            header + kLineBreak + keyLine(windows1252::encode(key), value) + kLineBreak);
    }
    if (const std::optional<qsizetype> at = findKey(lines, *found, key)) {
        const ProfileLine& line = lines[*at];
        return bytes.replace(line.start, line.end - line.start, keyLine(line.name, value));
    }
    return withLinesAt(bytes, lines[lastKeyLine(lines, *found)].next,
                       keyLine(windows1252::encode(key), value) + kLineBreak);
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
    const std::optional<SectionLines> found = findSection(lines, section);
    if (!found) return {};
    const std::optional<qsizetype> at = findKey(lines, *found, key);
    if (!at) return {};
    const QByteArrayView value = withoutOuterQuotes(lines[*at].value);
    return windows1252::decode(value.first(std::min(value.size(), kMaxValueLength)));
}

bool writeValue(const QString& file, const QString& section, const QString& key,
                const QString& value) {
    const std::optional<QByteArray> bytes = fileBytes(file);
    return bytes && replaceFile(file, withValue(*bytes, section, key, value));
}

}  // namespace profile
