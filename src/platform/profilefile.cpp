// The profile file format: [section] headers, name=value keys, ; comments, in the file's own
// encoding; and the replacement of the file that a write ends in.
#include "platform/profilefile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <cerrno>
#include <memory>
#include <optional>
#include <utility>

#include "platform/windows1252.h"

namespace {

// ---- Lines -------------------------------------------------------------------------------

const QByteArray kLineBreak = QByteArrayLiteral("\r\n");

enum class LineKind { Header, Key, Other };

// One line of the file: where it lies and what it says. Views point into the file's bytes.
struct ProfileLine {
    qsizetype start = 0;  // first byte
    qsizetype end = 0;    // past the last byte before the line break
    qsizetype next = 0;   // past the line break
    LineKind kind = LineKind::Other;
    QByteArrayView name;            // section of a header, name of a key
    QByteArrayView value;           // value of a key, without surrounding blanks
    bool valueAfterBlanks = false;  // blanks stood between "=" and a non-empty value
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
    line.valueAfterBlanks = !line.value.isEmpty() && isBlank(raw.front());
}

// Where the line that stops at `end` is over: CR, LF and CR LF each end a line.
qsizetype pastLineBreak(QByteArrayView bytes, qsizetype end) {
    if (end == bytes.size()) return end;
    const bool crLf = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n';
    return end + (crLf ? 2 : 1);
}

QList<ProfileLine> parse(QByteArrayView bytes) {
    QList<ProfileLine> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        ProfileLine line;
        line.start = start;
        line.end = start;
        while (line.end < bytes.size() && !isLineEnd(bytes[line.end])) ++line.end;
        line.next = pastLineBreak(bytes, line.end);
        classify(line, bytes.sliced(line.start, line.end - line.start));
        lines.append(line);
        start = line.next;
    }
    return lines;
}

// ---- Encoding ----------------------------------------------------------------------------

enum class Encoding { Windows1252, Utf8 };

const QByteArray kUtf8Mark = QByteArrayLiteral("\xEF\xBB\xBF");
// A byte-order mark inside a value is a character like any other.
constexpr auto kUtf8Flags =
    QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom;

// A file's bytes taken apart: its encoding, the byte-order mark it starts with, the rest.
struct ProfileBytes {
    Encoding encoding = Encoding::Windows1252;
    QByteArray mark;
    QByteArray body;
};

bool isAscii(QByteArrayView bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char byte) { return static_cast<unsigned char>(byte) < 0x80; });
}

bool isUtf8(QByteArrayView bytes) {
    QStringDecoder decoder(QStringConverter::Utf8, kUtf8Flags);
    const QString text = decoder.decode(bytes);  // decoding happens as the text is made
    return !decoder.hasError();
}

// Plain ASCII gives no sign of UTF-8: such a file, like a new one, keeps the host's code page.
ProfileBytes split(const QByteArray& bytes) {
    if (bytes.startsWith(kUtf8Mark)) {
        return {Encoding::Utf8, kUtf8Mark, bytes.sliced(kUtf8Mark.size())};
    }
    const bool utf8 = !isAscii(bytes) && isUtf8(bytes);
    return {utf8 ? Encoding::Utf8 : Encoding::Windows1252, {}, bytes};
}

QString decode(Encoding encoding, QByteArrayView bytes) {
    if (encoding == Encoding::Windows1252) return windows1252::decode(bytes);
    QStringDecoder decoder(QStringConverter::Utf8, kUtf8Flags);
    return decoder.decode(bytes);
}

// The bytes of `text`, or nothing when the encoding cannot hold one of its characters.
std::optional<QByteArray> encode(Encoding encoding, const QString& text) {
    if (encoding == Encoding::Windows1252) {
        if (!windows1252::holds(text)) return std::nullopt;
        return windows1252::encode(text);
    }
    QStringEncoder encoder(QStringConverter::Utf8, kUtf8Flags);
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError()) return std::nullopt;
    return bytes;
}

// The first `count` characters, never half of a surrogate pair.
QString firstCharacters(const QString& text, qsizetype count) {
    if (text.size() <= count) return text;
    const qsizetype end = text[count - 1].isHighSurrogate() ? count - 1 : count;
    return text.first(end);
}

// ---- Sections and keys -------------------------------------------------------------------

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

// The lines of a file and how to read their names.
struct ParsedProfile {
    Encoding encoding;
    QList<ProfileLine> lines;

    bool sameName(QByteArrayView found, const QString& wanted) const {
        return decode(encoding, found).compare(wanted, Qt::CaseInsensitive) == 0;
    }

    // The first section of that name.
    std::optional<SectionLines> findSection(const QString& section) const {
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
    std::optional<qsizetype> findKey(SectionLines section, const QString& key) const {
        for (qsizetype at = section.header + 1; at < section.end; ++at) {
            if (lines[at].kind == LineKind::Key && sameName(lines[at].name, key)) return at;
        }
        return std::nullopt;
    }

    // The section's last key line, or its header when it has no keys.
    qsizetype lastKeyLine(SectionLines section) const {
        qsizetype last = section.header;
        for (qsizetype at = section.header + 1; at < section.end; ++at) {
            if (lines[at].kind == LineKind::Key) last = at;
        }
        return last;
    }
};

// The lines' texts, without their line breaks.
QList<QByteArray> lineTexts(QByteArrayView bytes, const QList<ProfileLine>& lines) {
    QList<QByteArray> texts;
    texts.reserve(lines.size() + 2);
    for (const ProfileLine& line : lines)
        texts.append(bytes.sliced(line.start, line.end - line.start).toByteArray());
    return texts;
}

// Every line ended by CR LF, the last one included, as the platform's profile functions
// leave a file they write.
QByteArray joinLines(const QList<QByteArray>& texts) {
    QByteArray bytes;
    for (const QByteArray& text : texts) bytes += text + kLineBreak;
    return bytes;
}

// Sets the key in the file's body; false, the body as it was, when a name or the value has no
// bytes in the file's encoding. `section` and `key` are trimmed names.
bool setValue(ProfileBytes& file, const QString& section, const QString& key,
              const QString& value) {
    const std::optional<QByteArray> sectionBytes = encode(file.encoding, section);
    const std::optional<QByteArray> keyBytes = encode(file.encoding, key);
    const std::optional<QByteArray> valueBytes = encode(file.encoding, value);
    if (!sectionBytes || !keyBytes || !valueBytes) return false;

    const ParsedProfile profile{file.encoding, parse(file.body)};
    QList<QByteArray> texts = lineTexts(file.body, profile.lines);
    const std::optional<SectionLines> found = profile.findSection(section);
    if (!found) {
        texts.append('[' + *sectionBytes + ']');
        texts.append(*keyBytes + '=' + *valueBytes);
    } else if (const std::optional<qsizetype> at = profile.findKey(*found, key)) {
        texts[*at] = profile.lines[*at].name.toByteArray() + '=' + *valueBytes;
    } else {
        texts.insert(profile.lastKeyLine(*found) + 1, *keyBytes + '=' + *valueBytes);
    }
    file.body = joinLines(texts);
    return true;
}

// The file's new bytes with every key set in turn, all in the old file's encoding; nothing
// when a name or a value has no bytes in it.
std::optional<QByteArray> withValues(const QByteArray& old, const QString& section,
                                     const QList<std::pair<QString, QString>>& keyValues) {
    ProfileBytes file = split(old);
    const QString sectionName = trimmedName(section);
    for (const auto& [key, value] : keyValues) {
        if (!setValue(file, sectionName, trimmedName(key), value)) return std::nullopt;
    }
    return file.mark + file.body;
}

// Whether the section or any key or value holds a CR or LF.
bool anyBreaksALine(const QString& section, const QList<std::pair<QString, QString>>& keyValues) {
    return breaksALine(section) ||
           std::any_of(keyValues.begin(), keyValues.end(), [](const auto& keyValue) {
               return breaksALine(keyValue.first) || breaksALine(keyValue.second);
           });
}

// ---- Files -------------------------------------------------------------------------------

// An errno; 0 for success.
using SystemError = int;
// Not an errno: the new-file road is closed, the file is to be rewritten in place.
constexpr SystemError kInPlaceInstead = -1;

SystemError failureOf(int result) {
    return result == 0 ? 0 : errno;
}

// An open file descriptor, closed when it goes.
class Descriptor {
public:
    explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (descriptor_ >= 0) ::close(descriptor_);
    }
    bool isOpen() const { return descriptor_ >= 0; }
    int get() const { return descriptor_; }
    // Closes it now, where a late write error still shows.
    SystemError close() {
        const int result = ::close(descriptor_);
        descriptor_ = -1;
        return failureOf(result);
    }

private:
    int descriptor_;
};

QByteArray nativePath(const QString& path) {
    return QFile::encodeName(path);
}

// The whole file; a missing file reads as no bytes.
SystemError readFile(const QString& file, QByteArray& bytes) {
    bytes.clear();
    const Descriptor in(::open(nativePath(file).constData(), O_RDONLY | O_CLOEXEC));
    if (!in.isOpen()) return errno == ENOENT ? 0 : errno;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(in.get(), buffer, sizeof buffer);
        if (got == 0) return 0;
        if (got < 0 && errno != EINTR) return errno;
        if (got > 0) bytes.append(buffer, got);
    }
}

SystemError writeAll(int descriptor, QByteArrayView bytes, off_t offset) {
    while (!bytes.isEmpty()) {
        const ssize_t written = ::pwrite(descriptor, bytes.data(), bytes.size(), offset);
        if (written < 0 && errno != EINTR) return errno;
        if (written == 0) return ENOSPC;
        if (written < 0) continue;
        bytes = bytes.sliced(written);
        offset += written;
    }
    return 0;
}

// Creates a new, hidden file beside `target`, its name in `name`; -1 and errno on failure.
int createBeside(const QString& target, mode_t mode, QByteArray& name) {
    const QFileInfo info(target);
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QString suffix = QString::number(QRandomGenerator::global()->generate(), 36);
        name = nativePath(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                          QLatin1Char('.') + suffix);
        const int created = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (created >= 0 || errno != EEXIST) return created;
    }
    return -1;
}

// Gives the new file the old one's owner, group and mode. Another user's file cannot be
// given back to its owner: that file is to be rewritten in place instead.
SystemError takeOver(int descriptor, const struct stat& old) {
    if (::fchown(descriptor, old.st_uid, old.st_gid) != 0) {
        return errno == EPERM ? kInPlaceInstead : errno;
    }
    return failureOf(::fchmod(descriptor, old.st_mode & 07777));
}

// Makes the rename last; a file system that cannot sync a folder still has the new file.
void syncFolder(const QString& target) {
    const Descriptor folder(::open(nativePath(QFileInfo(target).absolutePath()).constData(),
                                   O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.isOpen()) ::fsync(folder.get());
}

// Writes a complete new file beside the old one, synced, and renames it into place, so
// readers see the whole old file or the whole new one. `old` is the old file's status,
// nothing when there is none. kInPlaceInstead when the folder takes no new file or the
// old file's owner cannot be kept.
SystemError replaceThroughNewFile(const QString& target, QByteArrayView bytes,
                                  const std::optional<struct stat>& old) {
    // Only its owner may read the new file until it has the old one's mode.
    const mode_t mode = old ? S_IRUSR | S_IWUSR : 0666;
    QByteArray name;
    Descriptor out(createBeside(target, mode, name));
    if (!out.isOpen()) {
        const SystemError error = errno;
        return old && (error == EACCES || error == EPERM) ? kInPlaceInstead : error;
    }
    SystemError error = old ? takeOver(out.get(), *old) : 0;
    if (error == 0) error = writeAll(out.get(), bytes, 0);
    if (error == 0) error = failureOf(::fsync(out.get()));
    if (error == 0) error = out.close();
    if (error == 0) error = failureOf(::rename(name.constData(), nativePath(target).constData()));
    if (error != 0) {
        ::unlink(name.constData());
        return error;
    }
    syncFolder(target);
    return 0;
}

// Puts the old bytes back after a failed rewrite in place; they fit where they were.
void restore(int descriptor, QByteArrayView old) {
    if (writeAll(descriptor, old, 0) == 0 && ::ftruncate(descriptor, old.size()) == 0) {
        ::fsync(descriptor);
    }
}

// Grows the file from `length` with `tail`, synced; on failure cuts it back to `length`, so
// that a full disk leaves the old bytes as they were.
SystemError grow(int descriptor, qsizetype length, QByteArrayView tail) {
    if (tail.isEmpty()) return 0;
    SystemError error = writeAll(descriptor, tail, length);
    if (error == 0) error = failureOf(::fsync(descriptor));
    if (error != 0) ::ftruncate(descriptor, length);
    return error;
}

// Rewrites the file in place, for a folder that takes no new file. Nothing is cut before
// every new byte is known to fit: the file first grows to its new length with the new
// content's tail, then the rest is written over the old bytes and synced, and only then is
// the file shortened to its new length.
SystemError rewriteInPlace(const QString& target, QByteArrayView old, QByteArrayView bytes) {
    const Descriptor out(::open(nativePath(target).constData(), O_WRONLY | O_CLOEXEC));
    if (!out.isOpen()) return errno;
    const int descriptor = out.get();
    const qsizetype overwritten = std::min(old.size(), bytes.size());
    SystemError error = grow(descriptor, old.size(), bytes.sliced(overwritten));
    if (error != 0) return error;
    error = writeAll(descriptor, bytes.first(overwritten), 0);
    if (error == 0) error = failureOf(::fsync(descriptor));
    if (error == 0) error = failureOf(::ftruncate(descriptor, bytes.size()));
    if (error == 0) error = failureOf(::fsync(descriptor));
    if (error != 0) restore(descriptor, old);
    return error;
}

// Replaces the content of `file`, whose bytes were `old`; through a symbolic link, its target.
SystemError replaceFile(const QString& file, QByteArrayView old, QByteArrayView bytes) {
    const QFileInfo info(file);
    const QString target = info.exists() ? info.canonicalFilePath() : file;
    struct stat status {};
    std::optional<struct stat> existing;
    if (::stat(nativePath(target).constData(), &status) == 0) existing = status;
    const SystemError error = replaceThroughNewFile(target, bytes, existing);
    return error == kInPlaceInstead ? rewriteInPlace(target, old, bytes) : error;
}

}  // namespace

namespace profile {

// The bytes of a file and its lines, which point into those bytes: never copied or moved.
struct LoadedProfile {
    explicit LoadedProfile(const QByteArray& bytes)
        : content(split(bytes)), parsed{content.encoding, parse(content.body)} {}
    LoadedProfile(const LoadedProfile&) = delete;
    LoadedProfile& operator=(const LoadedProfile&) = delete;

    const ProfileBytes content;
    const ParsedProfile parsed;
};

Profile::Profile(std::shared_ptr<const LoadedProfile> loaded) : loaded_(std::move(loaded)) {}

Profile Profile::load(const QString& file) {
    QByteArray bytes;
    readFile(file, bytes);  // a file that cannot be read holds no value
    return Profile(std::make_shared<const LoadedProfile>(bytes));
}

QString Profile::value(const QString& section, const QString& key) const {
    const ParsedProfile& profile = loaded_->parsed;
    const std::optional<SectionLines> found = profile.findSection(trimmedName(section));
    if (!found) return {};
    const std::optional<qsizetype> at = profile.findKey(*found, trimmedName(key));
    if (!at) return {};
    const ProfileLine& line = profile.lines[*at];
    const QByteArrayView value = withoutOuterQuotes(line.value);
    const QString text = firstCharacters(decode(profile.encoding, value), kMaxValueLength);
    // Quotes hold the value's own blanks; outside them only a comment's blank matters.
    const bool quoted = value.size() != line.value.size();
    const bool commentAfterBlanks = !quoted && line.valueAfterBlanks && text.startsWith(u';');
    return commentAfterBlanks ? QLatin1Char(' ') + text : text;
}

WriteResult writeValues(const QString& file, const QString& section,
                        const QList<std::pair<QString, QString>>& keyValues) {
    if (anyBreaksALine(section, keyValues)) return {WriteError::LineBreak};
    if (keyValues.isEmpty()) return {};
    QByteArray old;
    if (const SystemError error = readFile(file, old)) return {WriteError::System, error};
    const std::optional<QByteArray> bytes = withValues(old, section, keyValues);
    if (!bytes) return {WriteError::Unencodable};
    if (const SystemError error = replaceFile(file, old, *bytes)) {
        return {WriteError::System, error};
    }
    return {};
}

}  // namespace profile
