#include "colour/channel_keys.h"
#include "colour/channel_text.h"
#include "fuzz_check.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Any bytes as the text of a channel box, pasted whole and typed key by key,
// into every kind of box the window has. The parsers must agree with
// references written from their documented rules (std::from_chars does the
// arithmetic), and a box must always end up holding a value of its channel
// that its own text reads back as.
namespace {

// The boxes differ in radix, in the keys they take and in their maximum
// (HSV and HLS: hue 359, the others 100; YUV: 255 each).
struct Box {
    bool rgb;
    bool hexadecimal;
    std::int32_t max;
};

constexpr Box kBoxes[] = {
    {true, false, 255},
    {true, true, 255},
    {false, false, 359},
    {false, false, 100},
    {false, false, 255},
};

constexpr std::size_t kBoxLength = 3; // the boxes' maximum length

std::optional<std::int32_t> ReferenceDecimal(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    // from_chars takes a '-' of its own but no '+'; "+-5" must stay refused.
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-')
            return std::nullopt;
    }
    std::int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

std::optional<std::int32_t> ReferenceHex(std::string_view text)
{
    if (text.empty())
        return 0;
    if (text.size() > 8)
        return std::nullopt;
    std::uint32_t bits = 0; // unsigned: from_chars then takes no sign at all
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, bits, 16);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    return static_cast<std::int32_t>(bits);
}

// The one spelling of a decimal number: no blanks, no '+', no leading zeros.
std::string CanonicalDecimal(std::string_view text)
{
    std::string digits;
    bool negative = false;
    for (const char c : text) {
        if (c == '-')
            negative = true;
        else if (c >= '0' && c <= '9' && !(digits.empty() && c == '0'))
            digits += c;
    }
    if (digits.empty())
        return "0";
    return negative ? '-' + digits : digits;
}

std::optional<std::int32_t> Read(const Box& box, std::string_view text)
{
    return box.hexadecimal ? colour::FromHex(text) : colour::FromDecimal(text);
}

std::string Show(const Box& box, std::int32_t value)
{
    return box.hexadecimal ? colour::ToHex(value, 2) : colour::ToDecimal(value);
}

// What the form writes into a box for a value of its channel must fit the
// box and read back as that value; an RGB value survives the radix switch.
void CheckShown(const Box& box, std::int32_t value)
{
    FUZZ_CHECK(value >= 0 && value <= box.max);
    const std::string shown = Show(box, value);
    FUZZ_CHECK(shown.size() <= kBoxLength);
    FUZZ_CHECK(Read(box, shown) == value);
    if (box.rgb) {
        FUZZ_CHECK(colour::FromHex(colour::ToHex(value, 2)) == value);
        FUZZ_CHECK(colour::FromDecimal(colour::ToDecimal(value)) == value);
    }
}

// The text pasted into the box: junk leaves the value alone, a number is
// clamped to the channel and the box shows what the channel took.
void Paste(const Box& box, std::string_view text)
{
    if (text.empty())
        return;
    const std::optional<std::int32_t> read = Read(box, text);
    if (!read)
        return;
    CheckShown(box, std::clamp(*read, 0, box.max));
}

std::int16_t ExpectedKey(const Box& box, std::int16_t key)
{
    const bool editing = key == 8 || key == 3 || key == 22 || key == 24 || key == 26;
    if (editing || (key >= '0' && key <= '9'))
        return key;
    if (box.rgb && box.hexadecimal) {
        if (key >= 'A' && key <= 'F')
            return key;
        if (key >= 'a' && key <= 'f')
            return static_cast<std::int16_t>(key - 'a' + 'A');
    }
    return 0;
}

// The codes the text box hands to the key filter for this text typed one
// character at a time: the first UTF-16 unit as a signed 16-bit number. A byte
// that starts no UTF-8 sequence stands for itself; control bytes other than
// Ctrl+letter and Escape never reach the filter.
std::vector<std::int16_t> KeyCodes(std::string_view text)
{
    std::vector<std::int16_t> codes;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        std::uint32_t point = length == 4 ? lead & 0x07u
            : length == 3                 ? lead & 0x0Fu
                                          : lead & 0x1Fu;
        if (length > 1) {
            for (std::size_t k = 1; k < length; ++k) {
                const auto next = i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0;
                if ((next & 0xC0) != 0x80) {
                    length = 1;
                    break;
                }
                point = point << 6 | (next & 0x3Fu);
            }
        }
        if (length == 1)
            point = lead;
        i += length;
        if (point == 0 || (point > 27 && point < 32) || point == 127)
            continue;
        const std::uint32_t unit = point >= 0x10000 ? 0xD800 + ((point - 0x10000) >> 10) : point;
        codes.push_back(static_cast<std::int16_t>(static_cast<std::uint16_t>(unit)));
    }
    return codes;
}

// Types the codes into a box that got the focus with its value selected. Only
// characters the filter lets through reach the text, so every non-empty text
// must read as a number that no sign made negative.
void Type(const Box& box, const std::vector<std::int16_t>& codes)
{
    std::int32_t value = box.max;
    std::string shown = Show(box, value);
    bool selected = true;
    for (const std::int16_t code : codes) {
        const std::int16_t passed
            = box.rgb ? colour::FilterRgbKey(code, box.hexadecimal) : colour::FilterModelKey(code);
        FUZZ_CHECK(passed == ExpectedKey(box, code));
        if (passed == 0 || passed == 3 || passed == 22 || passed == 24 || passed == 26)
            continue; // dropped, or the clipboard's business
        if (selected)
            shown.clear();
        else if (passed == 8 && !shown.empty())
            shown.pop_back();
        if (passed != 8 && shown.size() < kBoxLength)
            shown += static_cast<char>(passed);
        selected = false;
        if (shown.empty())
            continue; // between values: the channel keeps its value

        const std::optional<std::int32_t> read = Read(box, shown);
        FUZZ_CHECK(read.has_value() && *read >= 0);
        const std::int32_t taken = std::min(*read, box.max);
        if (*read > box.max)
            shown = Show(box, box.max);
        // A new value rewrites the box, but a hexadecimal box keeps what was
        // typed while it reads as the value.
        if (taken != value && !(box.hexadecimal && Read(box, shown) == taken))
            shown = Show(box, taken);
        value = taken;
        CheckShown(box, value);
        FUZZ_CHECK(shown.size() <= kBoxLength && Read(box, shown) == value);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const std::optional<std::int32_t> decimal = colour::FromDecimal(text);
    FUZZ_CHECK(decimal == ReferenceDecimal(text));
    if (decimal) {
        FUZZ_CHECK(colour::ToDecimal(*decimal) == CanonicalDecimal(text));
        FUZZ_CHECK(colour::FromDecimal(colour::ToDecimal(*decimal)) == decimal);
    }

    const std::optional<std::int32_t> hex = colour::FromHex(text);
    FUZZ_CHECK(hex == ReferenceHex(text));
    if (hex) {
        // Eight digits are the number's full spelling: the text itself,
        // upper-cased and padded on the left.
        std::string spelled(8 - text.size(), '0');
        for (const char c : text)
            spelled += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        FUZZ_CHECK(colour::ToHex(*hex, 8) == spelled);
        FUZZ_CHECK(colour::FromHex(spelled) == hex);
        // Fewer digits keep the low ones, more are padded with zeros.
        for (const std::int16_t digits : {0, 1, 2, 3, 7})
            FUZZ_CHECK(colour::ToHex(*hex, digits) == spelled.substr(8 - digits));
        FUZZ_CHECK(colour::ToHex(*hex, 11) == "000" + spelled);
    }

    const std::vector<std::int16_t> codes = KeyCodes(text);
    for (const Box& box : kBoxes) {
        Paste(box, text);
        Type(box, codes);
    }
    return 0;
}
