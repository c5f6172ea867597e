// Powers in the checks that give the correctly rounded double-precision
// result whatever the C library's pow does.
#pragma once

#include "core/fp_checked.h"

#include <bit>
#include <cmath>
#include <concepts>
#include <cstdint>

namespace dilatany {

// Integer powers by products. A single has 24 significant bits, so the
// square of a single is exact in double (48 ≤ 53 bits); the cube (48 + 24
// bits) and the fourth power (48 + 48 bits) then come out of one rounded
// product of exact operands, which is the correctly rounded power. The same
// holds for half a single (r_o = D/2), which is exact in double. The square
// of any double is one rounded product as well. The singles of the checks
// are finite and at most 3.4·10^38, so a fourth power stays below 1.4·10^154
// and at least the smallest subnormal single to the fourth, 3.9·10^-180: the
// results are normal doubles or exact zeros, never an overflow or a
// subnormal. An infinite or faulted operand behaves as in pow: the products
// classify their faults by the same rules (an infinity out of finite
// operands is an overflow), and a faulted operand passes its fault on.

/// The number types a step is evaluated in: plain double, or checked values
/// that carry their first fault.
template <typename V>
concept StepNumber = std::same_as<V, double> || std::same_as<V, fp::Value>;

inline double PlainValue(double x) { return x; }
inline double PlainValue(fp::Value x) { return x.value(); }

/// x², correctly rounded for any double x.
template <StepNumber V>
V Square(V x)
{
    return x * x;
}

/// x³ of a value held in single precision, correctly rounded.
template <StepNumber V>
V CubeOfSingle(V x)
{
    return (x * x) * x;
}

/// x⁴ of a value held in single precision (or half of one), correctly rounded.
template <StepNumber V>
V FourthOfSingle(V x)
{
    const V square = x * x;
    return square * square;
}

/// base^exponent through libquadmath, rounded to double: the correctly
/// rounded power in all but a vanishing fraction of cases. Slow (about 2 µs).
/// Counts its calls.
double PrecisePower(double base, double exponent);

/// How often PrecisePower ran in this process.
std::uint64_t PrecisePowerCalls();

/// The fast powers for SettledPower: the C library's pow, and x⁴ of a double
/// as (x²)², within 4 units in the last place of the correctly rounded value.
inline double LibraryPow(double base, double exponent) { return std::pow(base, exponent); }
inline double FourthByProducts(double base, double /*exponent 4*/)
{
    const double square = base * base;
    return square * square;
}

namespace powers_detail {

// The double `n` representable values above (n > 0) or below p (p ≥ 0,
// finite): the bit patterns of non-negative doubles are ordered like the
// values, and a step below zero continues among the negative ones.
inline double UlpsAway(double p, std::int64_t n)
{
    const std::int64_t bits = std::bit_cast<std::int64_t>(p) + n;
    return bits >= 0 ? std::bit_cast<double>(bits) : -std::bit_cast<double>(-bits);
}

// How many representable values a fast power may lie off the correctly
// rounded one and still be settled without the precise path. A faithful pow
// is off by at most 1, a product chain (x²)² of a double by at most 4;
// the margin leaves room for a less accurate platform pow. The precise path
// stays rare: it ran in none of 2·10^7 checks of realistic pipes, about once
// in 2·10^6 for walls of 0.3 to 2 % of the diameter (r_o⁴ − r_i⁴ cancels),
// and often only for sections far outside practice (walls of 10^-7 D).
inline constexpr std::int64_t kMargin = 8;

} // namespace powers_detail

/// A power for a step whose stored single `stored(p)` is monotone in the
/// power p (each operation of the step is monotone in its operands, and so
/// is the rounding to single). The fast value `fast` may be any value within
/// a few units in the last place of the correctly rounded power. When the
/// stored single is the same at both ends of that interval, it is also the
/// single of the correctly rounded power and `fast` is used; otherwise the
/// power is computed precisely. With checked values, faults are classified
/// as fp::power does; a plain double gives the same value wherever it is
/// finite.
template <StepNumber V, typename Fast, typename Stored>
V SettledPower(V base, double exponent, Fast fast, Stored stored)
{
    const V p = [&]() -> V {
        if constexpr (std::same_as<V, double>)
            return fast(base, exponent);
        else
            return fp::checkedPower(base, exponent, fast);
    }();
    const double v = PlainValue(p);
    if constexpr (std::same_as<V, fp::Value>) {
        if (p.faulted())
            return p;
    }
    if (std::isfinite(v)) {
        using powers_detail::UlpsAway;
        using powers_detail::kMargin;
        const double magnitude = std::fabs(v);
        const double sign = v < 0.0 ? -1.0 : 1.0;
        const float low = stored(sign * UlpsAway(magnitude, -kMargin));
        const float high = stored(sign * UlpsAway(magnitude, kMargin));
        if (std::bit_cast<std::uint32_t>(low) == std::bit_cast<std::uint32_t>(high))
            return p;
    } else if constexpr (std::same_as<V, double>) {
        return p;  // a fault: the step is evaluated again with checked values
    }
    if constexpr (std::same_as<V, double>)
        return PrecisePower(base, exponent);
    else
        return fp::checkedPower(base, exponent, PrecisePower);
}

} // namespace dilatany
