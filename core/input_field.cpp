#include "core/input_field.h"

#include <algorithm>

namespace dilatany {
namespace {

constexpr std::string_view kGeometry = "Geometrie";
constexpr std::string_view kMaterial = "Materiál";
constexpr std::string_view kTemperatures = "Teploty";

constexpr std::array<InputField, 12> kULoopFields{{
    {0, "Součinitel teplotní roztažnosti ", "[1/K]", "0.00012", kMaterial, Quantity::alpha, "α", Scaling::AsTyped},
    {1, "Modul pružnosti ", "[MPa]", "1150", kMaterial, Quantity::E, "E", Scaling::MegapascalsToPascals},
    {2, "Pevnost", "[MPa]", "27", kMaterial, Quantity::f, "f", Scaling::StrengthToAllowable},
    {3, "Teplota vody", "[C]", "90", kTemperatures, Quantity::tw, "t_w", Scaling::AsTyped},
    {4, "Teplota montáže", "[C]", "10", kTemperatures, Quantity::tm, "t_m", Scaling::AsTyped},
    {5, "Délka L1", "[mm]", "1000", kGeometry, Quantity::L1, "L1", Scaling::MillimetresToMetres},
    {8, "Vzdálenost pevných bodů", "[m]", "60", kGeometry, Quantity::Lf, "L_f", Scaling::AsTyped},
    {9, "Délka L3", "[mm]", "700", kGeometry, Quantity::L3, "L3", Scaling::MillimetresToMetres},
    {10, "Délka L2", "[mm]", "1500", kGeometry, Quantity::L2, "L2", Scaling::MillimetresToMetres},
    {12, "Poloměr ohybu dilatanu R", "[mm]", "200", kGeometry, Quantity::R, "R", Scaling::MillimetresToMetres,
     "(ke střednici)"},
    {13, "Tloušťka stěny potrubí", "[mm]", "4.5", kGeometry, Quantity::s, "s", Scaling::MillimetresToMetres},
    {14, "Vnější průmer potrubí", "[mm]", "159", kGeometry, Quantity::D, "D", Scaling::MillimetresToMetres},
}};

constexpr std::array<InputField, 10> kLBendFields{{
    {0, "Součinitel teplotní roztažnosti ", "[1/K]", "0.00012", kMaterial, Quantity::alpha, "α", Scaling::AsTyped},
    {1, "Modul pružnosti ", "[MPa]", "1150", kMaterial, Quantity::E, "E", Scaling::MegapascalsToPascals},
    {2, "Pevnost", "[MPa]", "27", kMaterial, Quantity::f, "f", Scaling::StrengthToAllowable},
    {3, "Teplota vody", "[C]", "90", kTemperatures, Quantity::tw, "t_w", Scaling::AsTyped},
    {4, "Teplota montáže", "[C]", "10", kTemperatures, Quantity::tm, "t_m", Scaling::AsTyped},
    {10, "Délka L2", "[m]", "5", kGeometry, Quantity::L2, "L2", Scaling::AsTyped},
    {11, "Délka L1", "[m]", "15", kGeometry, Quantity::L1, "L1", Scaling::AsTyped},
    {12, "Poloměr ohybu dilatanu R", "[mm]", "200", kGeometry, Quantity::R, "R", Scaling::MillimetresToMetres,
     "(ke střednici)"},
    {13, "Tloušťka stěny potrubí", "[mm]", "4.5", kGeometry, Quantity::s, "s", Scaling::MillimetresToMetres},
    {14, "Vnější pruměr potrubí", "[mm]", "159", kGeometry, Quantity::D, "D", Scaling::MillimetresToMetres},
}};

constexpr std::array<std::int16_t, 12> kULoopReadOrder{14, 13, 12, 5, 10, 9, 8, 0, 1, 2, 3, 4};
constexpr std::array<std::int16_t, 10> kLBendReadOrder{14, 13, 12, 11, 10, 0, 1, 2, 3, 4};

constexpr std::array<std::int16_t, 12> kULoopFileOrder{0, 1, 2, 3, 4, 8, 9, 10, 5, 12, 13, 14};
constexpr std::array<std::int16_t, 10> kLBendFileOrder{0, 1, 2, 3, 4, 10, 11, 12, 13, 14};

} // namespace

std::span<const InputField> Fields(Shape shape)
{
    if (shape == Shape::ULoop)
        return kULoopFields;
    return kLBendFields;
}

const InputField *FindField(Shape shape, int index)
{
    const auto fields = Fields(shape);
    const auto it = std::find_if(fields.begin(), fields.end(),
                                 [index](const InputField &f) { return f.index == index; });
    return it == fields.end() ? nullptr : &*it;
}

std::span<const std::int16_t> ReadOrder(Shape shape)
{
    if (shape == Shape::ULoop)
        return kULoopReadOrder;
    return kLBendReadOrder;
}

std::span<const std::int16_t> FileOrder(Shape shape)
{
    if (shape == Shape::ULoop)
        return kULoopFileOrder;
    return kLBendFileOrder;
}

std::string_view TrimmedCaption(const InputField &field)
{
    std::string_view caption = field.caption;
    while (!caption.empty() && caption.back() == ' ')
        caption.remove_suffix(1);
    return caption;
}

InputTexts DefaultTexts(Shape shape)
{
    InputTexts texts;
    texts.shape = shape;
    for (const InputField &field : Fields(shape))
        texts[field.index] = std::string(field.defaultText);
    return texts;
}

} // namespace dilatany
