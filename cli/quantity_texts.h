// What the checker calls each traced value for people: its symbol, a short
// Czech meaning and its unit in SI.
#pragma once

#include "core/evaluate.h"

#include <string>
#include <string_view>

namespace dilatany::cli {

struct QuantityText {
    std::string_view symbol;   // "λ", "ΔL", "F1"
    std::string_view meaning;  // "součinitel poddajnosti oblouku"
    std::string_view unit;     // "m⁴", "N·m", "–"
};

/// The texts of a quantity, an input used in SI, a load or a fault step of
/// the shape, by its trace key; the key itself as the symbol where none is known.
QuantityText TextOf(Shape shape, std::string_view key);

/// A value with 7 significant digits: "6.52268e-06", "133.2008", "0".
std::string SevenDigits(double value);

/// The shortest text that reads back to the same single, or to the same
/// double where `isDouble`; "null" for a value that is not finite.
std::string JsonValue(const TraceValue &value);

} // namespace dilatany::cli
