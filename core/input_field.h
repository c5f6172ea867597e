// The two input sets, U-loop and L-bend: which box index carries which quantity,
// with its caption, unit, default text and group, and the orders in which the
// window reads the boxes for a check and the input data file lists them.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace dilatany {

enum class Shape { ULoop, LBend };

/// The quantity an input box carries; the checks name their inputs by it.
enum class Quantity { D, s, R, L1, L2, L3, Lf, alpha, E, f, tw, tm };

/// How a check scales the converted number before use.
enum class Scaling {
    AsTyped,
    MillimetresToMetres,   // divided by 1000
    MegapascalsToPascals,  // multiplied by 1000000
    StrengthToAllowable,   // divided by 1.35, gives the allowable stress in MPa
};

/// One input box of a calculation window. Texts are UTF-8, exactly as the
/// window shows them (trailing blanks of the captions included).
struct InputField {
    std::int16_t index;            // index in the window's Text1 array
    std::string_view caption;
    std::string_view unit;
    std::string_view defaultText;
    std::string_view group;        // "Geometrie", "Materiál" or "Teploty"
    Quantity quantity;
    std::string_view symbol;
    Scaling scaling;
    std::string_view note = {};    // a second caption line under the caption, if any
};

/// Highest box index of either window plus one; boxes 0 .. 14 with gaps.
inline constexpr std::size_t kBoxSlots = 15;

/// The inputs of a shape in ascending box index.
std::span<const InputField> Fields(Shape shape);

/// The field with this box index, or nullptr where the shape has no such box.
const InputField *FindField(Shape shape, int index);

/// Box indexes in the order the calculate button converts them
/// (U-loop 14, 13, 12, 5, 10, 9, 8, 0, 1, 2, 3, 4; L-bend 14, 13, 12, 11, 10, 0 .. 4).
std::span<const std::int16_t> ReadOrder(Shape shape);

/// Box indexes in the order of the lines of an input data file
/// (U-loop 0 .. 4, 8, 9, 10, 5, 12, 13, 14; L-bend ascending).
std::span<const std::int16_t> FileOrder(Shape shape);

/// The caption without its trailing blanks, as messages name an input.
std::string_view TrimmedCaption(const InputField &field);

/// The box texts of one calculation window, indexed by box index. Slots the
/// shape has no box for stay empty and are never read.
struct InputTexts {
    Shape shape = Shape::ULoop;
    std::array<std::string, kBoxSlots> byIndex;

    std::string &operator[](int index) { return byIndex.at(static_cast<std::size_t>(index)); }
    const std::string &operator[](int index) const { return byIndex.at(static_cast<std::size_t>(index)); }
    friend bool operator==(const InputTexts &, const InputTexts &) = default;
};

/// The texts a freshly opened window holds.
InputTexts DefaultTexts(Shape shape);

} // namespace dilatany
