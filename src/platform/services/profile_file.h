#pragma once

#include <QString>

#include <cstdint>
#include <vector>

// A reader and a writer for profile (INI) files, in place of the Windows calls
// of the same names: "[Section]" header lines, "key=value" lines, and lines
// starting with ';' or '#' as comments. Names match case-insensitively (ASCII
// letters only) and blanks around names and values do not count. Where a
// section or a key appears twice, the first one is the one read and written.
//
// The file is handled as bytes: names and values go in as UTF-8, a UTF-8 BOM
// is skipped, LF and CR LF both end a line (a lone CR does not), and junk of
// any kind is read without harm.
namespace platform {

// The integer whose decimal text starts the value of `key` in `section`:
// optional sign ('-' or '+'), then digits, so "12abc" gives 12 and "abc" or ""
// give 0. Decimal only, so "0x1F" gives 0. Digits beyond the 32-bit range
// saturate at INT32_MIN or INT32_MAX: a huge number must not wrap round into a
// small one that a caller would take for a real setting.
// `defaultValue` comes back when the file cannot be read or has no such key.
std::int32_t GetPrivateProfileInt(
    const QString& section, const QString& key, std::int32_t defaultValue, const QString& path);

// Sets `key` in `section` to `value`, creating the file or the section when
// missing. A present key keeps its line, its spelling and the blanks before the
// value; a new key goes after the last entry of its section (so ahead of the
// blank lines and comments that lead into the next section); a new section goes
// at the end of the file, after one blank line unless the file is empty. New
// lines take the file's first line end (LF for a new file); every other byte
// stays as it was.
//
// The file is replaced whole through a temporary file beside it, so a failure
// at any moment leaves the old file intact. A symlink is written through: its
// final target is replaced and the link stays a link.
//
// Returns false, leaving the file untouched, when the path holds something
// other than a regular file, when the file cannot be read or replaced, or when
// a name could not be read back (a line break or NUL in any text, '=' or a
// leading '[', ';' or '#' in the key, ']' in the section, a blank key).
bool WritePrivateProfileString(
    const QString& section, const QString& key, const QString& value, const QString& path);

struct ProfileEntry {
    QString section;
    QString key;
    QString value;
};

// The entries written one after the other as WritePrivateProfileString writes
// each, a refused one left out, in one replacement of `path`: the bytes are
// those the single writes in a row would leave, but a failure at any moment
// leaves either the old file or the new one, never a mix. The entries are
// applied to the file at `from` (nothing where it does not exist), which is
// `path` itself unless the settings move to another file. Returns false,
// leaving `path` untouched, when `from` exists but cannot be read or when
// `path` holds something other than a regular file or cannot be replaced.
bool WritePrivateProfileStrings(
    const std::vector<ProfileEntry>& entries, const QString& path, const QString& from);

} // namespace platform
