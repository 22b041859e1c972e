#include "fuzz_check.h"
#include "platform/services/profile_file.h"
#include "shell/color_api.h"
#include "shell/settings_rules.h"

#include <QFile>
#include <QTemporaryDir>

#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Any bytes as the settings file. Start-up reads the seven keys through the
// program's rules; shutdown writes all seven the way Form_Unload does. The
// reads must match a reference reader, the writes must read back exactly, and
// the file must come out as the documented edit of the old one: the first
// section and key of each name edited in place, new keys after the last entry
// of their section, new sections at the end, every other byte kept.
namespace {

// ---- A reference reader and editor, written from profile_file.h ----

struct Line {
    std::string text;
    std::string end; // "", "\n" or "\r\n"
};

struct Document {
    bool bom = false;
    std::vector<Line> lines;
};

enum class Kind { Blank, Comment, Section, Entry, Other };

struct Classified {
    Kind kind = Kind::Other;
    std::string_view name; // views into the line
    std::size_t valueStart = 0;
    std::string_view value;
};

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// The blanks a line may have around names and values; a lone CR is one.
bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

Document Split(std::string_view bytes)
{
    Document doc;
    if (bytes.substr(0, kBom.size()) == kBom) {
        doc.bom = true;
        bytes.remove_prefix(kBom.size());
    }
    std::string text;
    for (const char c : bytes) {
        if (c != '\n') {
            text += c;
            continue;
        }
        const bool crlf = !text.empty() && text.back() == '\r';
        if (crlf)
            text.pop_back();
        doc.lines.push_back({text, crlf ? "\r\n" : "\n"});
        text.clear();
    }
    if (!text.empty())
        doc.lines.push_back({text, ""});
    return doc;
}

std::string Join(const Document& doc)
{
    std::string bytes = doc.bom ? std::string(kBom) : std::string();
    for (const Line& line : doc.lines)
        bytes += line.text + line.end;
    return bytes;
}

Classified Classify(std::string_view text)
{
    Classified c;
    std::size_t start = 0;
    while (start < text.size() && IsBlank(text[start]))
        ++start;
    if (start == text.size()) {
        c.kind = Kind::Blank;
    } else if (text[start] == ';' || text[start] == '#') {
        c.kind = Kind::Comment;
    } else if (text[start] == '[') {
        c.kind = Kind::Section;
        const std::size_t close = text.find(']', start + 1);
        c.name = Trim(text.substr(
            start + 1, close == std::string_view::npos ? std::string::npos : close - start - 1));
    } else if (const std::size_t eq = text.find('='); eq != std::string_view::npos) {
        c.kind = Kind::Entry;
        c.name = Trim(text.substr(start, eq - start));
        c.valueStart = eq + 1;
        while (c.valueStart < text.size() && IsBlank(text[c.valueStart]))
            ++c.valueStart;
        c.value = Trim(text.substr(c.valueStart));
    }
    return c;
}

bool SameName(std::string_view a, std::string_view b)
{
    const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
        return fold(x) == fold(y);
    });
}

std::optional<std::size_t> FindSection(const Document& doc, std::string_view section)
{
    for (std::size_t i = 0; i < doc.lines.size(); ++i) {
        const Classified c = Classify(doc.lines[i].text);
        if (c.kind == Kind::Section && SameName(c.name, section))
            return i;
    }
    return std::nullopt;
}

// The line of the first `key` in the first `section`, if there is one.
std::optional<std::size_t> FindKey(
    const Document& doc, std::string_view section, std::string_view key)
{
    const std::optional<std::size_t> header = FindSection(doc, section);
    for (std::size_t i = header ? *header + 1 : doc.lines.size(); i < doc.lines.size(); ++i) {
        const Classified c = Classify(doc.lines[i].text);
        if (c.kind == Kind::Section)
            break;
        if (c.kind == Kind::Entry && SameName(c.name, key))
            return i;
    }
    return std::nullopt;
}

// The leading decimal integer of a value, saturated to 32 bits.
std::int32_t LeadingInteger(std::string_view value)
{
    bool negative = false;
    if (!value.empty() && (value.front() == '-' || value.front() == '+')) {
        negative = value.front() == '-';
        value.remove_prefix(1);
    }
    std::string digits;
    for (std::size_t i = 0; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
        if (!(digits.empty() && value[i] == '0'))
            digits += value[i];
    }
    if (digits.size() > 10)
        return negative ? std::numeric_limits<std::int32_t>::min()
                        : std::numeric_limits<std::int32_t>::max();
    std::int64_t magnitude = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
    const std::int64_t signedValue = negative ? -magnitude : magnitude;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(signedValue,
        std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::int32_t ReferenceRead(
    const Document& doc, std::string_view section, std::string_view key, std::int32_t fallback)
{
    const std::optional<std::size_t> line = FindKey(doc, section, key);
    return line ? LeadingInteger(Classify(doc.lines[*line].text).value) : fallback;
}

// Each write reads the file afresh: a lone CR that an appended LF turned into
// CR LF is a line end from then on, no longer a blank after the value.
void ReferenceWrite(
    Document& doc, const std::string& section, const std::string& key, const std::string& value)
{
    doc = Split(Join(doc));
    std::string eol = "\n"; // the file's first line end, LF for a file without one
    for (const Line& line : doc.lines) {
        if (!line.end.empty()) {
            eol = line.end;
            break;
        }
    }
    const std::optional<std::size_t> header = FindSection(doc, section);
    if (!header) {
        if (!doc.lines.empty()) {
            if (doc.lines.back().end.empty())
                doc.lines.back().end = eol;
            if (Classify(doc.lines.back().text).kind != Kind::Blank)
                doc.lines.push_back({"", eol});
        }
        doc.lines.push_back({'[' + section + ']', eol});
        doc.lines.push_back({key + '=' + value, eol});
        return;
    }
    if (const std::optional<std::size_t> line = FindKey(doc, section, key)) {
        std::string& text = doc.lines[*line].text;
        text = text.substr(0, Classify(text).valueStart) + value;
        return;
    }
    // Blank lines and comments at the end of a section lead into the next.
    std::size_t anchor = *header;
    for (std::size_t i = *header + 1; i < doc.lines.size(); ++i) {
        const Kind kind = Classify(doc.lines[i].text).kind;
        if (kind == Kind::Section)
            break;
        if (kind != Kind::Blank && kind != Kind::Comment)
            anchor = i;
    }
    if (doc.lines[anchor].end.empty())
        doc.lines[anchor].end = eol;
    doc.lines.insert(
        doc.lines.begin() + static_cast<std::ptrdiff_t>(anchor) + 1, {key + '=' + value, eol});
}

// What a write refuses, since the reader could not find it again. The names
// come trimmed.
bool ReferenceAccepts(std::string_view section, std::string_view key, std::string_view value)
{
    constexpr std::string_view kBreaks("\n\r\0", 3);
    for (const std::string_view text : {section, key, value}) {
        if (text.find_first_of(kBreaks) != std::string_view::npos)
            return false;
    }
    if (section.find(']') != std::string_view::npos || key.empty()
        || key.find('=') != std::string_view::npos)
        return false;
    return key.front() != '[' && key.front() != ';' && key.front() != '#';
}

// ---- The program's side ----

QString SettingsPath()
{
    // Once per process; TMPDIR points it at a RAM disk when one is there.
    static const QTemporaryDir folder;
    FUZZ_CHECK(folder.isValid());
    return folder.filePath(QStringLiteral("tinctor.ini"));
}

std::string Contents(const QString& path)
{
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly));
    return file.readAll().toStdString();
}

struct Key {
    const char* section;
    const char* name;
};

// In the order Form_Unload writes them.
constexpr std::array<Key, 7> kKeys = {{{"Window", "PosX"}, {"Window", "PosY"}, {"Color", "Red"},
    {"Color", "Green"}, {"Color", "Blue"}, {"Color", "RGB"}, {"Color", "Mode"}}};

constexpr shell::ColorSetting kColorSettings[] = {shell::kModeSetting, shell::kRadixSetting,
    shell::kRedSetting, shell::kGreenSetting, shell::kBlueSetting};

// Screens from 72 to 192 DPI, as twips per pixel the way units.cpp makes them.
constexpr double kDpis[] = {72, 96, 110, 120, 144, 192};

std::int32_t ReadKey(const Key& key, std::int32_t fallback)
{
    return ColorAPI::ReadIniValue(
        QString::fromLatin1(key.section), QString::fromLatin1(key.name), fallback);
}

// A stored position the program accepts must put the window on a 16-bit X11
// coordinate, and saving that place must give a position that restores to it.
void CheckPosition(std::int32_t twips)
{
    for (const double dpi : kDpis) {
        const float twipsPerPixel = static_cast<float>(1440.0 / dpi);
        if (!shell::UsablePosition(twips, twipsPerPixel))
            continue;
        const long pixel = std::lround(twips / static_cast<double>(twipsPerPixel));
        FUZZ_CHECK(pixel >= std::numeric_limits<std::int16_t>::min()
            && pixel <= std::numeric_limits<std::int16_t>::max());
        const auto saved = static_cast<std::int32_t>(
            std::nearbyint(static_cast<double>(pixel) * static_cast<double>(twipsPerPixel)));
        FUZZ_CHECK(shell::UsablePosition(saved, twipsPerPixel));
        FUZZ_CHECK(std::lround(saved / static_cast<double>(twipsPerPixel)) == pixel);
    }
}

// Writes a value under the first few names the file itself holds (a key before
// any section under the empty section name), however odd: a write the
// reference accepts must read back and edit the file as documented, one it
// refuses must leave the file alone.
void WriteUnderTheFilesOwnNames(
    const Document& original, Document& expected, const QString& path, std::uint64_t seed)
{
    constexpr int kMaxNames = 3;
    int tried = 0;
    std::string_view section;
    for (const Line& line : original.lines) {
        const Classified c = Classify(line.text);
        if (c.kind == Kind::Section)
            section = c.name;
        if (c.kind != Kind::Entry)
            continue;
        if (++tried > kMaxNames)
            return;
        const QString sectionName = QString::fromUtf8(section.data(), std::ssize(section));
        const QString keyName = QString::fromUtf8(c.name.data(), std::ssize(c.name));
        const auto value = static_cast<std::int32_t>(seed >> tried);
        const std::string before = Contents(path);
        const bool written = platform::WritePrivateProfileString(
            sectionName, keyName, QString::number(value), path);

        // Text that is not UTF-8 goes in as it comes out of QString.
        const std::string sectionText(Trim(sectionName.toUtf8().toStdString()));
        const std::string keyText(Trim(keyName.toUtf8().toStdString()));
        FUZZ_CHECK(written == ReferenceAccepts(sectionText, keyText, std::to_string(value)));
        if (!written) {
            FUZZ_CHECK(Contents(path) == before);
            continue;
        }
        ReferenceWrite(expected, sectionText, keyText, std::to_string(value));
        FUZZ_CHECK(Contents(path) == Join(expected));
        FUZZ_CHECK(platform::GetPrivateProfileInt(sectionName, keyName, value ^ 1, path) == value);
    }
}

std::uint64_t Hash(const std::uint8_t* data, std::size_t size)
{
    std::uint64_t h = 0xcbf29ce484222325u; // FNV-1a
    for (std::size_t i = 0; i < size; ++i)
        h = (h ^ data[i]) * 0x100000001b3u;
    return h;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string original(reinterpret_cast<const char*>(data), size);
    ColorAPI::IniFile = SettingsPath();
    {
        QFile file(ColorAPI::IniFile);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(
            file.write(original.data(), static_cast<qint64>(size)) == static_cast<qint64>(size));
    }
    Document expected = Split(original);
    FUZZ_CHECK(Join(expected) == original);

    // Start-up. The reference gets the same fallback: a key missing to one
    // must be missing to the other.
    constexpr std::int32_t kMissing = 1234567;
    std::array<std::int32_t, kKeys.size()> stored{};
    for (std::size_t k = 0; k < kKeys.size(); ++k) {
        stored[k] = ReadKey(kKeys[k], kMissing);
        FUZZ_CHECK(stored[k] == ReferenceRead(expected, kKeys[k].section, kKeys[k].name, kMissing));
    }
    CheckPosition(stored[0]);
    CheckPosition(stored[1]);
    for (const shell::ColorSetting& setting : kColorSettings) {
        const std::int32_t raw = ColorAPI::ReadIniValue(
            QStringLiteral("Color"), QString::fromLatin1(setting.key), setting.defaultValue);
        const std::int16_t taken = shell::InRange(setting, raw);
        FUZZ_CHECK(taken >= setting.min && taken <= setting.max);
        FUZZ_CHECK(taken == raw || taken == setting.defaultValue);
    }

    // Shutdown, with values the input decides: any position, colour values
    // in their ranges.
    const std::uint64_t h = Hash(data, size);
    const std::array<std::int32_t, kKeys.size()> written = {static_cast<std::int32_t>(h),
        static_cast<std::int32_t>(h >> 32) ^ stored[1], static_cast<std::int32_t>((h >> 8) & 0xFF),
        static_cast<std::int32_t>((h >> 16) & 0xFF), static_cast<std::int32_t>((h >> 24) & 0xFF),
        static_cast<std::int32_t>((h >> 40) & 1), static_cast<std::int32_t>((h >> 48) % 3)};
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t k = 0; k < kKeys.size(); ++k) {
            ColorAPI::WriteIniValue(QString::fromLatin1(kKeys[k].section),
                QString::fromLatin1(kKeys[k].name), written[k]);
            if (pass == 0)
                ReferenceWrite(
                    expected, kKeys[k].section, kKeys[k].name, std::to_string(written[k]));
        }
        // A second shutdown with the same values changes no byte.
        FUZZ_CHECK(Contents(ColorAPI::IniFile) == Join(expected));
        for (std::size_t k = 0; k < kKeys.size(); ++k)
            FUZZ_CHECK(ReadKey(kKeys[k], kMissing) == written[k]);
    }

    WriteUnderTheFilesOwnNames(Split(original), expected, ColorAPI::IniFile, h);
    return 0;
}
