#include "colour/channel_text.h"

namespace colour {
namespace {

constexpr std::string_view kHexDigits = "0123456789ABCDEF";
constexpr std::string_view kBlanks = " \t";
constexpr std::size_t kMaxHexDigits = 8;

std::optional<std::uint32_t> HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return static_cast<std::uint32_t>(c - '0');
    if (c >= 'A' && c <= 'F')
        return static_cast<std::uint32_t>(c - 'A' + 10);
    if (c >= 'a' && c <= 'f')
        return static_cast<std::uint32_t>(c - 'a' + 10);
    return std::nullopt;
}

} // namespace

std::string ToHex(std::int32_t value, std::int16_t digits)
{
    if (digits <= 0)
        return {};
    // The unsigned view writes a negative value as its two's complement.
    auto bits = static_cast<std::uint32_t>(value);
    std::string text(static_cast<std::size_t>(digits), '0');
    // Filling from the right pads a short value and drops the leading digits
    // of a long one in the same pass.
    for (auto i = text.size(); i-- > 0 && bits != 0; bits >>= 4)
        text[i] = kHexDigits[bits & 0xFu];
    return text;
}

std::optional<std::int32_t> FromHex(std::string_view text)
{
    // An emptied box means zero, not "no number".
    if (text.empty())
        return 0;
    if (text.size() > kMaxHexDigits)
        return std::nullopt;
    std::uint32_t bits = 0;
    for (const char c : text) {
        const auto digit = HexDigitValue(c);
        if (!digit)
            return std::nullopt;
        bits = bits << 4 | *digit;
    }
    // Eight digits with the top bit set wrap to the negative value (defined
    // behaviour since C++20).
    return static_cast<std::int32_t>(bits);
}

std::string ToDecimal(std::int32_t value)
{
    return std::to_string(value);
}

std::optional<std::int32_t> FromDecimal(std::string_view text)
{
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return std::nullopt;
    text = text.substr(first, text.find_last_not_of(kBlanks) - first + 1);

    const bool negative = text.front() == '-';
    if (negative || text.front() == '+')
        text.remove_prefix(1);
    if (text.empty())
        return std::nullopt;

    // The negative side reaches one further than the positive.
    const std::int64_t limit = negative ? 2147483648 : 2147483647;
    std::int64_t magnitude = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > limit)
            return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

} // namespace colour
