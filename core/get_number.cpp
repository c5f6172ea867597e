#include "core/get_number.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace dilatany {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

std::optional<float> ParseNumber(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);

    // Normalise to the form from_chars reads: "-" kept, "+" dropped, the
    // decimal comma turned into a period. Every character is validated here,
    // so from_chars never sees "inf", "nan", hex or grouping.
    std::string plain;
    plain.reserve(text.size());
    std::size_t pos = 0;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        if (text[pos] == '-')
            plain += '-';
        ++pos;
    }
    int digitsBeforePoint = 0;
    int leadingZeros = 0;  // zeros before the first significant digit
    bool seenNonZero = false;
    bool seenPoint = false;
    int mantissaDigits = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (IsDigit(c)) {
            ++mantissaDigits;
            if (!seenPoint)
                ++digitsBeforePoint;
            if (c != '0')
                seenNonZero = true;
            else if (!seenNonZero)
                ++leadingZeros;
            plain += c;
        } else if ((c == '.' || c == ',') && !seenPoint) {
            seenPoint = true;
            plain += '.';
        } else {
            break;
        }
    }
    if (mantissaDigits == 0)
        return std::nullopt;

    long exponent = 0;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        plain += 'e';
        ++pos;
        bool negative = false;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
            negative = text[pos] == '-';
            plain += text[pos];
            ++pos;
        }
        const std::size_t expStart = pos;
        for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
            plain += text[pos];
            exponent = std::min(exponent * 10 + (text[pos] - '0'), 1000000L);
        }
        if (pos == expStart)
            return std::nullopt;
        if (negative)
            exponent = -exponent;
    }
    if (pos != text.size())
        return std::nullopt;

    float value = 0;
    const auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (end != plain.data() + plain.size())
        return std::nullopt;
    if (ec == std::errc::result_out_of_range) {
        // Out of range either way: a magnitude below 1 underflowed to zero and
        // is still a number; anything else is beyond single precision.
        const long magnitude = digitsBeforePoint - leadingZeros + exponent;
        if (seenNonZero && magnitude > 0)
            return std::nullopt;
        return plain.front() == '-' ? -0.0f : 0.0f;
    }
    if (ec != std::errc())
        return std::nullopt;
    return value;
}

float GetNumber(std::string_view text)
{
    return ParseNumber(text).value_or(0.0f);
}

} // namespace dilatany
