// Reading and writing values of a profile (INI) file, as the Windows profile functions do.
#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>
#include <memory>
#include <utility>

namespace profile {

// The longest value a read returns; longer values come back cut to this length.
inline constexpr qsizetype kMaxValueLength = 99;

// Why a write left the file as it was.
enum class WriteError {
    None,
    LineBreak,    // a name or the value holds a CR or LF, which would start lines of its own
    Unencodable,  // a name or the value holds a character the file's encoding has no bytes for
    System,       // the file system refused a step: `systemError` says which errno
};

struct WriteResult {
    WriteError error = WriteError::None;
    int systemError = 0;

    explicit operator bool() const { return error == WriteError::None; }
};

// A file holding valid UTF-8 beyond plain ASCII, or starting with UTF-8's byte-order mark, is
// read and written as UTF-8; any other file (a new one too) as Windows-1252.

struct LoadedProfile;

// A profile file as it was read once: any number of look-ups without reading it again.
// Copies share the one reading.
class Profile {
public:
    // Reads and parses the file; a missing or unreadable file holds no values.
    static Profile load(const QString& file);

    // The value of `key` in the first section named `section` (names without regard to case
    // or surrounding blanks), the blanks around it and one pair of outer quotes removed; empty
    // when the file, section or key is missing. An unquoted value that begins with ";" after
    // blanks keeps one blank before it, so that the caller's " ;" comment rule still sees a
    // comment standing alone.
    QString value(const QString& section, const QString& key) const;

private:
    explicit Profile(std::shared_ptr<const LoadedProfile> loaded);

    std::shared_ptr<const LoadedProfile> loaded_;
};

// Sets each key of `keyValues` in `section` to its value, in their order (a key named twice
// ends with its last value), leaving every other line of the file as it was (each then ended
// by CR LF), in the file's own encoding and byte-order mark; creates the file, the section
// and the keys as needed, their names written without surrounding blanks. The new content
// replaces the old once and at once, through a new file that keeps the old one's owner, group
// and mode; where the folder takes no new file or the owner cannot be kept, the file is
// rewritten in place, and only once its new length is known to fit. A name or value that
// cannot be written refuses the whole write; on any failure the file stays as it was (a
// missing folder is not created). No keys: the file is not touched.
WriteResult writeValues(const QString& file, const QString& section,
                        const QList<std::pair<QString, QString>>& keyValues);

}  // namespace profile
