#include "cli/quantity_texts.h"

#include <charconv>
#include <span>
#include <cmath>
#include <cstdio>

namespace dilatany::cli {
namespace {

struct Entry {
    std::string_view key;
    QuantityText text;
};

constexpr Entry kCommon[] = {
    {"D", {"D", "vnější průměr potrubí", "m"}},
    {"s", {"s", "tloušťka stěny potrubí", "m"}},
    {"R", {"R", "poloměr ohybu ke střednici (0: ostrý roh)", "m"}},
    {"alpha", {"α", "součinitel teplotní roztažnosti", "1/K"}},
    {"E", {"E", "modul pružnosti", "Pa"}},
    {"f", {"f", "pevnost", "MPa"}},
    {"tw", {"t_w", "teplota vody", "°C"}},
    {"tm", {"t_m", "teplota montáže", "°C"}},
    {"I", {"I", "kvadratický moment průřezu potrubí", "m⁴"}},
    {"lambda", {"λ", "charakteristika poddajnosti oblouku", "–"}},
    {"i", {"i", "součinitel zvýšení napětí v oblouku", "–"}},
    {"k", {"k", "součinitel poddajnosti oblouku", "–"}},
    {"M", {"M", "největší ohybový moment", "N·m"}},
    {"sigma_a", {"σ_a", "dovolené napětí", "MPa"}},
    {"sigma", {"σ", "napětí na dilatanu", "MPa"}},
    {"reserve", {"rezerva", "rezerva napětí", "%"}},
};

constexpr Entry kULoop[] = {
    {"L1", {"L1", "přímý úsek vedle dilatanu", "m"}},
    {"L2", {"L2", "rameno dilatanu", "m"}},
    {"L3", {"L3", "vrchol dilatanu", "m"}},
    {"Lf", {"L_f", "vzdálenost pevných bodů", "m"}},
    {"dL", {"ΔL", "tepelné prodloužení mezi pevnými body", "m"}},
    {"Ls", {"L_s", "pružná délka dilatanu", "m"}},
    {"yc", {"y_c", "vzdálenost pružného středu od osy potrubí", "m"}},
    {"B", {"B", "moment čáry dilatanu k ose potrubí", "m³"}},
    {"Ix", {"I_x", "moment čáry dilatanu pro výpočet síly", "m³"}},
    {"F", {"F", "síla v ose potrubí, která vyrovná prodloužení", "N"}},
    {"y2", {"y_2", "vzdálenost osy vrcholu od pružného středu", "m"}},
    {"ymax", {"y_max", "větší z y_c a y_2", "m"}},
};

constexpr Entry kLBend[] = {
    {"L1", {"L1", "delší rameno (rameno 1)", "m"}},
    {"L2", {"L2", "kratší rameno (rameno 2)", "m"}},
    {"Ls", {"L_s", "pružná délka čáry", "m"}},
    {"xc", {"x_c", "pružný střed, vzdálenost podél ramene 2", "m"}},
    {"yc", {"y_c", "pružný střed, vzdálenost podél ramene 1", "m"}},
    {"Ix", {"I_x", "moment čáry k ose rovnoběžné s ramenem 2", "m³"}},
    {"Iy", {"I_y", "moment čáry k ose rovnoběžné s ramenem 1", "m³"}},
    {"Ixy", {"I_xy", "deviační moment čáry", "m³"}},
    {"d1", {"Δ1", "volné prodloužení k pevnému bodu ramene 1", "m"}},
    {"d2", {"Δ2", "volné prodloužení k pevnému bodu ramene 2", "m"}},
    {"F1", {"F1", "síla rovnoběžná s ramenem 1", "N"}},
    {"F2", {"F2", "síla rovnoběžná s ramenem 2", "N"}},
    {"F", {"F", "výslednice sil F1 a F2", "N"}},
    {"MO", {"M_O", "moment k rohu O", "N·m"}},
    {"M2", {"M_2", "moment v pevném bodě ramene 2", "N·m"}},
    {"M", {"M", "návrhový moment, větší z M_O a M_2", "N·m"}},
};

} // namespace

QuantityText TextOf(Shape shape, std::string_view key)
{
    for (const Entry &e : shape == Shape::ULoop ? std::span<const Entry>(kULoop) : std::span<const Entry>(kLBend))
        if (e.key == key)
            return e.text;
    for (const Entry &e : kCommon)
        if (e.key == key)
            return e.text;
    return {key, "", ""};
}

std::string SevenDigits(double value)
{
    if (value == 0)
        return "0";
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.7g", value);
    return buf;
}

std::string JsonValue(const TraceValue &value)
{
    if (!std::isfinite(value.value))
        return "null";
    char buf[40];
    const auto res = value.isDouble ? std::to_chars(buf, buf + sizeof buf, value.value)
                                    : std::to_chars(buf, buf + sizeof buf, static_cast<float>(value.value));
    return {buf, res.ptr};
}

} // namespace dilatany::cli
