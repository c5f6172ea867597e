// The powers of the checks: products that are exact or rounded once, and the
// settling of fast powers against the stored single of their step.
#include "core/powers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace dilatany {
namespace {

double Ulps(double x, int n)
{
    for (; n > 0; --n)
        x = std::nextafter(x, std::numeric_limits<double>::infinity());
    for (; n < 0; ++n)
        x = std::nextafter(x, -std::numeric_limits<double>::infinity());
    return x;
}

__extension__ typedef unsigned __int128 Wide;

TEST(Powers, products_of_singles_are_exact_or_rounded_once)
{
    // Integers of up to 24 bits: their powers up to the fourth fit in 128
    // bits exactly, and converting those to double rounds to nearest once.
    for (const std::uint32_t n : {16777215u, 16777213u, 9999991u, 12345679u, 3u}) {
        SCOPED_TRACE(n);
        const double x = static_cast<float>(n);
        const Wide w = n;
        EXPECT_EQ(Square(x), static_cast<double>(w * w));
        EXPECT_EQ(CubeOfSingle(x), static_cast<double>(w * w * w));
        EXPECT_EQ(FourthOfSingle(x), static_cast<double>(w * w * w * w));
        // Scaling by powers of two changes nothing but the exponent, down to
        // small singles.
        EXPECT_EQ(FourthOfSingle(std::ldexp(x, -126)), std::ldexp(static_cast<double>(w * w * w * w), 4 * -126));
        // Checked values give the same numbers.
        EXPECT_EQ(FourthOfSingle(fp::Value(x)).value(), FourthOfSingle(x));
        EXPECT_EQ(CubeOfSingle(fp::Value(x)).value(), CubeOfSingle(x));
    }
}

TEST(Powers, products_keep_the_fault_rules_of_pow)
{
    using fp::Value;
    EXPECT_TRUE(Square(Value(1e200)).faulted());
    EXPECT_EQ(Square(Value(1e200)).fault(), FpFault::Overflow);
    EXPECT_FALSE(Square(Value(std::numeric_limits<double>::infinity())).faulted());
    EXPECT_FALSE(FourthOfSingle(Value(3.4e38f)).faulted());
    const Value invalid = Value(0.0) / 0.0;
    EXPECT_EQ(CubeOfSingle(invalid).fault(), FpFault::InvalidOperation);
    EXPECT_EQ(Square(Value(-3.0)).value(), 9.0);
    EXPECT_EQ(CubeOfSingle(Value(-2.0)).value(), -8.0);
}

// A stored single that changes between two neighbouring doubles, to see
// which power the settling picks.
struct Boundary {
    double at;
    float operator()(double p) const { return p < at ? 0.0f : 1.0f; }
};

TEST(Powers, settling_keeps_a_fast_power_far_from_a_rounding_boundary)
{
    const double exact = std::pow(2.0, -2.0 / 3.0);
    const std::uint64_t before = PrecisePowerCalls();
    const double off = Ulps(exact, 3);
    const double p = SettledPower(2.0, -2.0 / 3.0, [&](double, double) { return off; }, Boundary{1.0});
    EXPECT_EQ(p, off);
    EXPECT_EQ(PrecisePowerCalls(), before);
}

TEST(Powers, settling_computes_precisely_near_a_rounding_boundary)
{
    // A fast power 3 ulps above the correctly rounded one, with the step's
    // single changing between them: the precise power decides.
    const double base = 3.0;
    const double exponent = -5.0 / 6.0;
    const double precise = PrecisePower(base, exponent);
    const double off = Ulps(precise, 3);
    const std::uint64_t before = PrecisePowerCalls();
    const fp::Value p = SettledPower(fp::Value(base), exponent, [&](double, double) { return off; }, Boundary{Ulps(precise, 1)});
    EXPECT_EQ(p.value(), precise);
    EXPECT_EQ(PrecisePowerCalls(), before + 1);
    // The margin reaches 8 ulps to either side: a change of the single within
    // it goes to the precise power, one beyond it does not.
    const double q = SettledPower(base, exponent, [&](double, double) { return off; }, Boundary{Ulps(off, -7)});
    EXPECT_EQ(q, precise);
    const double r = SettledPower(base, exponent, [&](double, double) { return off; }, Boundary{Ulps(off, 9)});
    EXPECT_EQ(r, off);
}

TEST(Powers, settling_keeps_the_fault_kinds)
{
    const auto stored = [](double p) { return static_cast<float>(p * 0.9); };
    EXPECT_EQ(SettledPower(fp::Value(0.0), -2.0 / 3.0, LibraryPow, stored).fault(), FpFault::DivisionByZero);
    EXPECT_EQ(SettledPower(fp::Value(-1.0), -2.0 / 3.0, LibraryPow, stored).fault(), FpFault::InvalidOperation);
    EXPECT_EQ(SettledPower(fp::Value(1.0) / 0.0, -2.0 / 3.0, LibraryPow, stored).fault(), FpFault::DivisionByZero);
    EXPECT_FALSE(SettledPower(fp::Value(-2.0), 4.0, FourthByProducts, stored).faulted());
    EXPECT_EQ(SettledPower(-2.0, 4.0, FourthByProducts, stored), 16.0);
    EXPECT_EQ(SettledPower(0.0, 4.0, FourthByProducts, stored), 0.0);
}

} // namespace
} // namespace dilatany
