#include "core/get_number.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>

namespace dilatany {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Counts and exponents are kept within ±10^18, far beyond any decision
// below (which looks at ±50) and small enough that a sum of three of them
// cannot overflow 64 bits: texts of any length and exponents of any number
// of digits are judged by their real magnitude.
constexpr std::int64_t kSaturation = 1'000'000'000'000'000'000;

std::int64_t Saturated(std::int64_t v) { return std::clamp(v, -kSaturation, kSaturation); }

// Significant digits handed to from_chars. A single-precision value and a
// midpoint between two neighbours have at most 113 significant decimal
// digits (the smallest midpoint 2^-150 has 105). A text cut after its 200th
// significant place, with one non-zero digit appended where the cut dropped
// non-zero digits, lies strictly between the same two 200-digit numbers as
// the full text; no value or midpoint lies in between, so both round alike.
constexpr std::size_t kKeptDigits = 200;

// Decimal magnitudes m (value in [10^(m-1), 10^m)) outside which the value
// is decided without converting: with m > 39 it is at least 10^39, beyond
// FLT_MAX (3.4·10^38); with m < -45 it is below 10^-46, less than half the
// smallest subnormal (7.0·10^-46), and rounds to zero.
constexpr std::int64_t kLargestMagnitude = 39;
constexpr std::int64_t kSmallestMagnitude = -45;

} // namespace

std::optional<float> ParseNumber(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);

    // Validate every character and collect the significant digits (no
    // leading or trailing zeros) with their magnitude, so that from_chars
    // only ever sees a short plain text and never "inf", "nan", hex or
    // grouping.
    std::size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    std::int64_t digitsBeforePoint = 0;
    std::int64_t zerosBeforeFirst = 0;  // zeros before the first significant digit
    std::string significant;            // from the first non-zero digit, at most kKeptDigits
    std::size_t pendingZeros = 0;       // zeros after the last kept non-zero digit
    bool sticky = false;                // a non-zero digit beyond kKeptDigits
    bool seenPoint = false;
    bool anyDigit = false;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (IsDigit(c)) {
            anyDigit = true;
            if (!seenPoint)
                digitsBeforePoint = std::min(digitsBeforePoint + 1, kSaturation);
            if (significant.empty() && c == '0') {
                zerosBeforeFirst = std::min(zerosBeforeFirst + 1, kSaturation);
            } else if (c == '0') {
                ++pendingZeros;
            } else if (significant.size() + pendingZeros < kKeptDigits) {
                significant.append(pendingZeros, '0');
                significant += c;
                pendingZeros = 0;
            } else if (!sticky) {
                // Cut at a fixed position: the zeros up to it are kept, so
                // the sticky digit sits right after the 200th place.
                significant.resize(kKeptDigits, '0');
                sticky = true;
            }
        } else if ((c == '.' || c == ',') && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
    }
    if (!anyDigit)
        return std::nullopt;

    std::int64_t exponent = 0;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        ++pos;
        bool negativeExponent = false;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
            negativeExponent = text[pos] == '-';
            ++pos;
        }
        const std::size_t expStart = pos;
        for (; pos < text.size() && IsDigit(text[pos]); ++pos)
            exponent = exponent >= kSaturation / 10 ? kSaturation : exponent * 10 + (text[pos] - '0');
        if (pos == expStart)
            return std::nullopt;
        if (negativeExponent)
            exponent = -exponent;
    }
    if (pos != text.size())
        return std::nullopt;

    const float zero = negative ? -0.0f : 0.0f;
    if (significant.empty())
        return zero;
    const std::int64_t magnitude = Saturated(digitsBeforePoint - zerosBeforeFirst + exponent);
    if (magnitude > kLargestMagnitude)
        return std::nullopt;
    if (magnitude < kSmallestMagnitude)
        return zero;

    // "-0.<digits>e<magnitude>": a few hundred characters at most.
    std::string plain;
    plain.reserve(significant.size() + 12);
    if (negative)
        plain += '-';
    plain += "0.";
    plain += significant;
    if (sticky)
        plain += '1';
    plain += 'e';
    plain += std::to_string(magnitude);

    float value = 0;
    const auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (end != plain.data() + plain.size())
        return std::nullopt;
    if (ec == std::errc::result_out_of_range) {
        // Beyond the range of single precision on either side: a magnitude
        // below 1 rounded to zero and is still a number, a large one is not.
        if (magnitude > 0)
            return std::nullopt;
        return zero;
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
