// Reading and writing one value of a profile (INI) file, as the Windows profile functions do.
#pragma once

#include <QString>
#include <QtGlobal>

namespace profile {

// The longest value a read returns; longer values come back cut to this length.
inline constexpr qsizetype kMaxValueLength = 99;

// The value of `key` in the first section named `section` (names without regard to case or
// surrounding blanks), trailing blanks and one pair of outer quotes removed; empty when the
// file, section or key is missing. The blanks before an unquoted value stay, because the
// caller's comment rules look at them.
QString readValue(const QString& file, const QString& section, const QString& key);

// Sets `key` in `section` to `value`, leaving every other line of the file as it was (each
// then ended by CR LF) and replacing the file at once; creates the file, the section and the
// key as needed, their names written without surrounding blanks.
// False when the file could not be read or replaced (a missing folder is not created), and
// without touching the file when a name or the value holds a line break.
bool writeValue(const QString& file, const QString& section, const QString& key,
                const QString& value);

}  // namespace profile
