// The text a result label shows for a number.
#pragma once

#include <string>

namespace dilatany {

/// Lays out v with the given number of decimal places (2 for "###0.00", 0 for "###0").
///
/// The value is first written with 7 significant digits; that decimal text is
/// then rounded to the places, a half away from zero. So the single nearest
/// to 0.005 shows "0.01" and 12345678 shows "12345680.00". No grouping, at
/// least one whole digit, and no minus sign on a value that rounds to zero.
std::string NumberText(float v, int places);

} // namespace dilatany
