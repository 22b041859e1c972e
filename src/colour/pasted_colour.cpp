#include "colour/pasted_colour.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

namespace colour {

namespace {

// Longer than any colour text with generous blanks; a huge clipboard is
// turned away before it is looked at.
constexpr std::size_t kLongestColourText = 64;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWith(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (Lower(text[i]) != prefix[i])
            return false;
    }
    return true;
}

// All of `digits` in `base`, nothing else, and at most `most` of them.
std::optional<std::uint32_t> Whole(std::string_view digits, int base, std::size_t most)
{
    if (digits.empty() || digits.size() > most)
        return std::nullopt;
    std::uint32_t value = 0;
    const auto [end, error]
        = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return value;
}

std::optional<Rgb> Packed(std::optional<std::uint32_t> value)
{
    if (!value || *value > 0xFFFFFF)
        return std::nullopt;
    return Unpack(*value);
}

std::optional<Rgb> Hash(std::string_view digits)
{
    const std::optional<std::uint32_t> value = Whole(digits, 16, 6);
    if (!value)
        return std::nullopt;
    if (digits.size() == 6)
        return Rgb{int(*value >> 16), int(*value >> 8 & 0xFF), int(*value & 0xFF)};
    if (digits.size() == 3) {
        // Each digit doubled: "#1e9" is "#11ee99".
        const auto twice = [](std::uint32_t d) { return int(d * 17); };
        return Rgb{twice(*value >> 8), twice(*value >> 4 & 0xF), twice(*value & 0xF)};
    }
    return std::nullopt;
}

// The three values between the parentheses of "name(...)", separated by
// commas or by blanks alone, never a mix: CSS reads either form.
std::optional<std::array<std::string_view, 3>> Arguments(
    std::string_view text, std::string_view name)
{
    if (!StartsWith(text, name) || text.size() < name.size() + 2 || text[name.size()] != '('
        || text.back() != ')')
        return std::nullopt;
    std::string_view inside = text.substr(name.size() + 1, text.size() - name.size() - 2);
    const bool commas = inside.find(',') != std::string_view::npos;
    std::array<std::string_view, 3> values;
    for (std::size_t n = 0; n < values.size(); ++n) {
        inside = Trimmed(inside);
        std::size_t end = 0;
        while (end < inside.size() && inside[end] != ',' && !IsBlank(inside[end]))
            ++end;
        values[n] = inside.substr(0, end);
        if (values[n].empty())
            return std::nullopt;
        inside = Trimmed(inside.substr(end));
        if (commas && n < values.size() - 1) {
            if (inside.empty() || inside.front() != ',')
                return std::nullopt;
            inside.remove_prefix(1);
        }
    }
    if (!Trimmed(inside).empty())
        return std::nullopt;
    return values;
}

std::optional<Rgb> RgbFunction(std::string_view text)
{
    const auto values = Arguments(text, "rgb");
    if (!values)
        return std::nullopt;
    std::array<int, 3> channels{};
    for (std::size_t n = 0; n < channels.size(); ++n) {
        const std::optional<std::uint32_t> value = Whole((*values)[n], 10, 3);
        if (!value || *value > 255)
            return std::nullopt;
        channels[n] = static_cast<int>(*value);
    }
    return Rgb{channels[0], channels[1], channels[2]};
}

// A number without sign or exponent, "56" or "56.5", within 0..most.
std::optional<double> Amount(std::string_view text, double most)
{
    if (text.empty() || text.front() < '0' || text.front() > '9')
        return std::nullopt;
    double value = 0;
    const auto [end, error]
        = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (error != std::errc() || end != text.data() + text.size() || value > most)
        return std::nullopt;
    return value;
}

std::optional<double> Percent(std::string_view text)
{
    if (text.empty() || text.back() != '%')
        return std::nullopt;
    const std::optional<double> value = Amount(text.substr(0, text.size() - 1), 100);
    if (!value)
        return std::nullopt;
    return *value / 100;
}

// CSS's own conversion, so that a colour taken from a style sheet is the
// colour the browser shows.
double HueToChannel(double t1, double t2, double hue)
{
    if (hue < 0)
        hue += 1;
    if (hue > 1)
        hue -= 1;
    if (hue * 6 < 1)
        return t1 + (t2 - t1) * hue * 6;
    if (hue * 2 < 1)
        return t2;
    if (hue * 3 < 2)
        return t1 + (t2 - t1) * (2.0 / 3 - hue) * 6;
    return t1;
}

std::optional<Rgb> HslFunction(std::string_view text)
{
    const auto values = Arguments(text, "hsl");
    if (!values)
        return std::nullopt;
    const std::optional<double> degrees = Amount((*values)[0], 360);
    const std::optional<double> saturation = Percent((*values)[1]);
    const std::optional<double> lightness = Percent((*values)[2]);
    if (!degrees || !saturation || !lightness)
        return std::nullopt;
    const double hue = *degrees / 360;
    const double l = *lightness;
    const double t2 = l <= 0.5 ? l * (*saturation + 1) : l + *saturation - l * *saturation;
    const double t1 = l * 2 - t2;
    const auto channel = [](double unit) { return static_cast<int>(std::lround(unit * 255)); };
    return Rgb{channel(HueToChannel(t1, t2, hue + 1.0 / 3)), channel(HueToChannel(t1, t2, hue)),
        channel(HueToChannel(t1, t2, hue - 1.0 / 3))};
}

} // namespace

std::optional<Rgb> ReadColourText(std::string_view text)
{
    text = Trimmed(text);
    if (text.empty() || text.size() > kLongestColourText)
        return std::nullopt;
    if (text.front() == '#')
        return Hash(text.substr(1));
    if (StartsWith(text, "&h")) {
        if (text.back() != '&')
            return std::nullopt;
        return Packed(Whole(text.substr(2, text.size() - 3), 16, 6));
    }
    if (StartsWith(text, "0x"))
        return Packed(Whole(text.substr(2), 16, 6));
    if (StartsWith(text, "rgb"))
        return RgbFunction(text);
    if (StartsWith(text, "hsl"))
        return HslFunction(text);
    // Up to three digits fit a box and are its channel's value.
    if (text.size() < 4)
        return std::nullopt;
    return Packed(Whole(text, 10, 8));
}

} // namespace colour
