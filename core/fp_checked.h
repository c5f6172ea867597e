// Double-precision arithmetic that records the first floating-point fault
// (IEEE 754 division by zero, overflow, invalid operation) of an expression.
//
// The checks need the kind of the first fault, reliably at any optimisation
// level. Floating-point status flags are not reliable for that: the compiler
// may move, merge or fold the operations around a flag test. So each
// operation here looks at its operands and its result instead. Operands are
// evaluated left to right as written, and a value carries the first fault
// met in its own sub-expression, so an expression reports the fault that a
// left-to-right evaluation meets first.
#pragma once

#include "core/check_result.h"

#include <cmath>
#include <limits>
#include <optional>

namespace dilatany::fp {

class Value {
public:
    constexpr Value(double v) : m_v(v) {}  // NOLINT: implicit from plain numbers by design
    constexpr Value(double v, FpFault fault) : m_v(v), m_fault(Code(fault)) {}

    double value() const { return m_v; }
    bool faulted() const { return m_fault != 0; }
    /// The first fault of the expression; only meaningful when faulted().
    FpFault fault() const { return static_cast<FpFault>(m_fault - 1); }

    friend Value operator+(Value a, Value b) { return combine(a, b, a.m_v + b.m_v); }
    friend Value operator-(Value a, Value b) { return combine(a, b, a.m_v - b.m_v); }
    friend Value operator*(Value a, Value b) { return combine(a, b, a.m_v * b.m_v); }
    friend Value operator/(Value a, Value b)
    {
        if (a.m_fault | b.m_fault)
            return inherit(a, b, a.m_v / b.m_v);
        if (b.m_v == 0.0 && std::isfinite(a.m_v))
            return {a.m_v / b.m_v, a.m_v == 0.0 ? FpFault::InvalidOperation : FpFault::DivisionByZero};
        return combine(a, b, a.m_v / b.m_v);
    }

    template <typename Pow>
    friend Value checkedPower(Value base, Value exponent, Pow pow);

private:
    // The fault is kept as one byte, 0 for none, so a Value stays two words.
    static constexpr unsigned char Code(FpFault fault) { return static_cast<unsigned char>(static_cast<int>(fault) + 1); }
    constexpr Value(double v, unsigned char code) : m_v(v), m_fault(code) {}

    // A result of an operand that already faulted keeps the left operand's
    // fault, else the right one's.
    static Value inherit(Value a, Value b, double r) { return {r, a.m_fault ? a.m_fault : b.m_fault}; }

    // The fault of a result from clean operands: a NaN out of non-NaN operands
    // is an invalid operation (∞ − ∞, 0 · ∞), an infinity out of finite ones
    // an overflow. The common case, clean operands and a finite result, is
    // decided by one test inline; the rest goes to classify().
    static Value combine(Value a, Value b, double r)
    {
        if ((a.m_fault | b.m_fault) == 0 && std::isfinite(r)) [[likely]]
            return Value(r);
        return classify(a, b, r);
    }

#if defined(__GNUC__)
    [[gnu::noinline]]
#endif
    static Value classify(Value a, Value b, double r)
    {
        if (a.m_fault | b.m_fault)
            return inherit(a, b, r);
        if (std::isnan(r) && !std::isnan(a.m_v) && !std::isnan(b.m_v))
            return {r, FpFault::InvalidOperation};
        if (std::isinf(r) && std::isfinite(a.m_v) && std::isfinite(b.m_v))
            return {r, FpFault::Overflow};
        return Value(r);
    }

    double m_v;
    unsigned char m_fault = 0;
};

/// base raised to exponent in double precision by `pow`: a negative base
/// with a fractional exponent is an invalid operation, zero with a negative
/// exponent a division by zero; otherwise the result is classified as any
/// other operation's.
template <typename Pow>
Value checkedPower(Value base, Value exponent, Pow pow)
{
    if (base.m_fault | exponent.m_fault)
        return Value::inherit(base, exponent, 0.0);
    const double b = base.m_v;
    const double e = exponent.m_v;
    if (b < 0.0 && std::isfinite(e) && std::trunc(e) != e)
        return {std::numeric_limits<double>::quiet_NaN(), FpFault::InvalidOperation};
    if (b == 0.0 && e < 0.0)
        return {std::numeric_limits<double>::infinity(), FpFault::DivisionByZero};
    return Value::combine(base, exponent, pow(b, e));
}

/// base raised to exponent by the C library's pow.
inline Value power(Value base, Value exponent)
{
    return checkedPower(base, exponent, [](double b, double e) { return std::pow(b, e); });
}

/// A step's result stored as a single-precision quantity: the value rounded
/// to nearest, or the fault of the step. A finite double that rounds beyond
/// the single-precision range is an overflow.
struct Stored {
    float value = 0;
    std::optional<FpFault> fault;
};

inline Stored store(Value v)
{
    if (v.faulted())
        return {0, v.fault()};
    if (std::isnan(v.value()))
        return {0, FpFault::InvalidOperation};
    const float f = static_cast<float>(v.value());
    if (std::isinf(f))
        return {0, FpFault::Overflow};
    return {f, std::nullopt};
}

} // namespace dilatany::fp
