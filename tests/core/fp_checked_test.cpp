#include "core/fp_checked.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <limits>

namespace dilatany::fp {
namespace {

struct Case {
    const char *name;
    Value value;
    bool faulted;
    FpFault fault;
};

TEST(CheckedArithmetic, classifies_faults_as_ieee754_does)
{
    const Value huge = 1e308;
    const double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {"0/0 is invalid", Value(0.0) / 0.0, true, FpFault::InvalidOperation},
        {"x/0 is a division by zero", Value(1.0) / 0.0, true, FpFault::DivisionByZero},
        {"x/-0 is a division by zero", Value(-3.0) / -0.0, true, FpFault::DivisionByZero},
        {"a finite product beyond double overflows", huge * 10.0, true, FpFault::Overflow},
        {"a negative base with a fractional exponent is invalid", power(-8.0, 1.0 / 3.0), true,
         FpFault::InvalidOperation},
        {"zero to a negative power is a division by zero", power(0.0, -2.0 / 3.0), true, FpFault::DivisionByZero},
        {"a negative base with a whole exponent is fine", power(-2.0, 2.0), false, FpFault::Overflow},
        {"zero to the zeroth power is one", power(0.0, 0.0), false, FpFault::Overflow},
        {"the first fault from the left wins", (Value(1.0) / 0.0) + (Value(0.0) / 0.0), true,
         FpFault::DivisionByZero},
        {"an overflow before the invalid operation it causes", huge * 10.0 - huge * 10.0, true, FpFault::Overflow},
        {"inf - inf of clean operands is invalid", Value(inf) - inf, true, FpFault::InvalidOperation},
        {"inf + -inf of clean operands is invalid", Value(inf) + -inf, true, FpFault::InvalidOperation},
        {"0 * inf of clean operands is invalid", Value(0.0) * inf, true, FpFault::InvalidOperation},
        {"inf * 0 of clean operands is invalid", Value(inf) * 0.0, true, FpFault::InvalidOperation},
        {"inf / inf of clean operands is invalid", Value(inf) / inf, true, FpFault::InvalidOperation},
        {"an infinite operand is no overflow", Value(inf) * 2.0, false, FpFault::Overflow},
        {"an infinity divided by zero is exact", Value(inf) / 0.0, false, FpFault::Overflow},
        {"a square beyond double overflows", power(huge, 2.0), true, FpFault::Overflow},
        {"a fourth power beyond double overflows", power(1e80, 4.0), true, FpFault::Overflow},
        {"a tiny power underflows without a fault", power(1e-200, 2.0), false, FpFault::Overflow},
        {"a fault passes through later operations", (Value(0.0) / 0.0) * 0.0 + 1.0, true, FpFault::InvalidOperation},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.value.faulted(), c.faulted);
        if (c.faulted && c.value.faulted()) {
            EXPECT_EQ(static_cast<int>(c.value.fault()), static_cast<int>(c.fault));
        }
    }
    EXPECT_EQ(power(-2.0, 2.0).value(), 4.0);
}

TEST(CheckedArithmetic, storing_beyond_single_precision_overflows)
{
    EXPECT_FALSE(store(Value(static_cast<double>(FLT_MAX))).fault.has_value());
    EXPECT_EQ(store(Value(static_cast<double>(FLT_MAX))).value, FLT_MAX);
    const Stored over = store(Value(3.5e38));
    ASSERT_TRUE(over.fault.has_value());
    EXPECT_EQ(*over.fault, FpFault::Overflow);
    // Underflow to zero is no fault.
    const Stored tiny = store(Value(1e-60));
    EXPECT_FALSE(tiny.fault.has_value());
    EXPECT_EQ(tiny.value, 0.0f);
    // Rounding to nearest: 0.1 becomes the float nearest to it.
    EXPECT_EQ(store(Value(0.1)).value, 0.1f);
}

} // namespace
} // namespace dilatany::fp
