// Conversion of a box text to the single-precision number a check works with.
#pragma once

#include <optional>
#include <string_view>

namespace dilatany {

/// Reads a box text as one number, rounded to the nearest single-precision value.
///
/// Accepted: blanks around the number, one leading sign ("+" or "-"), digits
/// with one decimal separator (a period, or a comma: "1,5" is 1.5), and an
/// exponent ("1.2E-05"). Not accepted: the empty text, digit grouping,
/// "inf"/"nan", anything after the number, and values beyond the range of
/// single precision. A value too small for single precision reads as zero.
std::optional<float> ParseNumber(std::string_view text);

/// The number of a box text, 0 where the text is not a number.
float GetNumber(std::string_view text);

} // namespace dilatany
