#include "platform/services/profile_file.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cstddef>
#include <optional>
#include <vector>

namespace platform {

namespace {

// A line keeps its own end ("", "\n" or "\r\n") so that joining the lines gives
// back the very bytes that were read: the writer edits lines, never bytes.
struct Line {
    QByteArray text;
    QByteArray end;
};

struct Document {
    QByteArray bom;
    std::vector<Line> lines;
};

enum class Kind { Blank, Comment, Section, Entry, Other };

struct Parsed {
    Kind kind = Kind::Other;
    QByteArray name; // trimmed section or key name
    qsizetype valueStart = 0; // Entry: first byte of the value after its blanks
    QByteArray value; // Entry: trimmed value
};

const QByteArray kBom("\xEF\xBB\xBF");

Document Split(const QByteArray& bytes)
{
    Document doc;
    qsizetype pos = 0;
    if (bytes.startsWith(kBom)) {
        doc.bom = kBom;
        pos = kBom.size();
    }
    while (pos < bytes.size()) {
        const qsizetype lf = bytes.indexOf('\n', pos);
        if (lf < 0) {
            doc.lines.push_back({bytes.mid(pos), {}});
            break;
        }
        const bool crlf = lf > pos && bytes[lf - 1] == '\r';
        const qsizetype endStart = crlf ? lf - 1 : lf;
        doc.lines.push_back(
            {bytes.mid(pos, endStart - pos), bytes.mid(endStart, lf + 1 - endStart)});
        pos = lf + 1;
    }
    return doc;
}

QByteArray Join(const Document& doc)
{
    QByteArray bytes = doc.bom;
    for (const Line& line : doc.lines)
        bytes += line.text + line.end;
    return bytes;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

qsizetype SkipBlanks(const QByteArray& text, qsizetype pos)
{
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
    return pos;
}

QByteArray Trimmed(const QByteArray& text)
{
    qsizetype end = text.size();
    while (end > 0 && IsBlank(text[end - 1]))
        --end;
    const qsizetype start = SkipBlanks(text, 0);
    return start < end ? text.mid(start, end - start) : QByteArray();
}

Parsed Parse(const QByteArray& text)
{
    Parsed p;
    const qsizetype start = SkipBlanks(text, 0);
    if (start == text.size()) {
        p.kind = Kind::Blank;
        return p;
    }
    const char first = text[start];
    if (first == ';' || first == '#') {
        p.kind = Kind::Comment;
    } else if (first == '[') {
        // A header missing its ']' still opens a section, as the line cannot
        // be meant as anything else.
        const qsizetype close = text.indexOf(']', start + 1);
        const qsizetype end = close < 0 ? text.size() : close;
        p.kind = Kind::Section;
        p.name = Trimmed(text.mid(start + 1, end - start - 1));
    } else if (const qsizetype eq = text.indexOf('=', start); eq >= 0) {
        p.kind = Kind::Entry;
        p.name = Trimmed(text.mid(start, eq - start));
        p.valueStart = SkipBlanks(text, eq + 1);
        p.value = Trimmed(text.mid(p.valueStart));
    }
    return p;
}

// ASCII only: folding other bytes would match unrelated UTF-8 sequences.
bool SameName(const QByteArray& a, const QByteArray& b)
{
    if (a.size() != b.size())
        return false;
    const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (fold(a[i]) != fold(b[i]))
            return false;
    }
    return true;
}

std::optional<std::size_t> FindSection(const Document& doc, const QByteArray& section)
{
    for (std::size_t i = 0; i < doc.lines.size(); ++i) {
        const Parsed p = Parse(doc.lines[i].text);
        if (p.kind == Kind::Section && SameName(p.name, section))
            return i;
    }
    return std::nullopt;
}

// Settings live in a regular file only; a directory, pipe or device at the
// path counts as unreadable, and so does a missing file.
std::optional<QByteArray> ReadWhole(const QString& path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

std::optional<QByteArray> ReadValue(const QString& section, const QString& key, const QString& path)
{
    const std::optional<QByteArray> bytes = ReadWhole(path);
    if (!bytes)
        return std::nullopt;
    const Document doc = Split(*bytes);
    const QByteArray wantedKey = Trimmed(key.toUtf8());
    const std::optional<std::size_t> header = FindSection(doc, Trimmed(section.toUtf8()));
    if (!header)
        return std::nullopt;
    for (std::size_t i = *header + 1; i < doc.lines.size(); ++i) {
        const Parsed p = Parse(doc.lines[i].text);
        if (p.kind == Kind::Section)
            break;
        if (p.kind == Kind::Entry && SameName(p.name, wantedKey))
            return p.value;
    }
    return std::nullopt;
}

// Saturates rather than wraps; the magnitude never passes 2^31, so the
// arithmetic stays far inside 64 bits whatever the number of digits.
std::int32_t LeadingInteger(const QByteArray& value)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < value.size() && (value[i] == '-' || value[i] == '+')) {
        negative = value[i] == '-';
        ++i;
    }
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t magnitude = 0;
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i)
        magnitude = std::min(magnitude * 10 + (value[i] - '0'), limit);
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

bool HasLineBreakOrNul(const QByteArray& text)
{
    return text.contains('\n') || text.contains('\r') || text.contains('\0');
}

// Refuses what would be written but not found again by the reader.
bool ReadsBack(const QByteArray& section, const QByteArray& key, const QByteArray& value)
{
    if (HasLineBreakOrNul(section) || HasLineBreakOrNul(key) || HasLineBreakOrNul(value))
        return false;
    if (section.contains(']') || key.isEmpty() || key.contains('='))
        return false;
    return key[0] != '[' && key[0] != ';' && key[0] != '#';
}

QByteArray NewLineEnd(const Document& doc)
{
    for (const Line& line : doc.lines) {
        if (!line.end.isEmpty())
            return line.end;
    }
    return "\n";
}

void Put(Document& doc, const QByteArray& section, const QByteArray& key, const QByteArray& value)
{
    const QByteArray eol = NewLineEnd(doc);
    const std::optional<std::size_t> header = FindSection(doc, section);
    if (!header) {
        if (!doc.lines.empty()) {
            Line& last = doc.lines.back();
            if (last.end.isEmpty())
                last.end = eol;
            if (Parse(last.text).kind != Kind::Blank)
                doc.lines.push_back({{}, eol});
        }
        doc.lines.push_back({'[' + section + ']', eol});
        doc.lines.push_back({key + '=' + value, eol});
        return;
    }

    // Comments and blank lines after the last entry usually introduce the
    // next section, so a new key goes ahead of them.
    std::size_t anchor = *header;
    for (std::size_t i = *header + 1; i < doc.lines.size(); ++i) {
        const Parsed p = Parse(doc.lines[i].text);
        if (p.kind == Kind::Section)
            break;
        if (p.kind == Kind::Entry && SameName(p.name, key)) {
            doc.lines[i].text = doc.lines[i].text.left(p.valueStart) + value;
            return;
        }
        if (p.kind == Kind::Entry || p.kind == Kind::Other)
            anchor = i;
    }
    if (doc.lines[anchor].end.isEmpty())
        doc.lines[anchor].end = eol;
    doc.lines.insert(
        doc.lines.begin() + static_cast<std::ptrdiff_t>(anchor) + 1, {key + '=' + value, eol});
}

} // namespace

std::int32_t GetPrivateProfileInt(
    const QString& section, const QString& key, std::int32_t defaultValue, const QString& path)
{
    const std::optional<QByteArray> value = ReadValue(section, key, path);
    return value ? LeadingInteger(*value) : defaultValue;
}

bool WritePrivateProfileString(
    const QString& section, const QString& key, const QString& value, const QString& path)
{
    if (!ReadsBack(Trimmed(section.toUtf8()), Trimmed(key.toUtf8()), value.toUtf8()))
        return false;
    return WritePrivateProfileStrings({{section, key, value}}, path, path);
}

bool WritePrivateProfileStrings(
    const std::vector<ProfileEntry>& entries, const QString& path, const QString& from)
{
    // A file that exists but cannot be read must not be replaced by one that
    // holds only these keys: the rest of the settings would be lost. (A
    // dangling symlink does not exist here; the write creates its target.)
    const std::optional<QByteArray> before
        = QFileInfo::exists(from) ? ReadWhole(from) : QByteArray();
    if (!before)
        return false;
    if (from != path && QFileInfo::exists(path) && !QFileInfo(path).isFile())
        return false;

    Document doc = Split(*before);
    for (const ProfileEntry& entry : entries) {
        const QByteArray sectionName = Trimmed(entry.section.toUtf8());
        const QByteArray keyName = Trimmed(entry.key.toUtf8());
        const QByteArray valueText = entry.value.toUtf8();
        if (ReadsBack(sectionName, keyName, valueText))
            Put(doc, sectionName, keyName, valueText);
    }

    // QSaveFile writes through a symlink to its final target: the link stays.
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    // Qt takes a short write (a full disk, a file size limit) for success
    // and would put the cut-off file in place: only an unbuffered write
    // tells how much really went out.
    const QByteArray bytes = Join(doc);
    if (out.write(bytes) != bytes.size()) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

} // namespace platform
