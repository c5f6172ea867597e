// Runs the steps of a check: stores each named quantity in single precision
// and keeps the first floating-point fault.
#pragma once

#include "core/fp_checked.h"

#include <cmath>
#include <optional>
#include <string_view>

namespace dilatany {

/// Runs the steps of one check. A step is a callable evaluated in a number
/// type V, plain double or fp::Value, given as the type of its argument:
///
///     const float I = step("I", [&](auto t) { using V = decltype(t); return V(kPi) * ...; });
///
/// A step is first evaluated in plain double. A floating-point fault in it
/// leaves an infinity or a NaN that reaches the step's result: NaN passes
/// through every operation, and an infinity could only vanish as a divisor
/// or as a power's base, while the steps divide only by finite values
/// (constants, stored singles, r_m², the determinant) and raise only stored
/// singles and r_i to powers. So a finite result is a result without a
/// fault, the same double the checked values give; only a result that is
/// not finite is evaluated again in fp::Value, which names the kind of the
/// first fault exactly as before. A new step must keep to this: no division
/// by an intermediate that can overflow.
///
/// With `kCheckEveryStep` every step is evaluated in fp::Value (for tests
/// that compare the two).
template <bool kCheckEveryStep = false>
class CheckStepsOf {
public:
    /// Rounds the result of the step named `key` to single precision. After
    /// the first fault the remaining steps still run, on whatever values they
    /// get, but only that first fault and its step are reported. `key` must
    /// outlive the check (a string literal).
    template <typename Step>
    float operator()(std::string_view key, Step step)
    {
        if constexpr (!kCheckEveryStep) {
            const double r = step(0.0);
            if (std::isfinite(r)) [[likely]] {
                const float f = static_cast<float>(r);
                if (!std::isinf(f)) [[likely]]
                    return f;
            }
        }
        return stored(key, step(fp::Value(0.0)));
    }

    std::optional<FpFault> fault() const { return m_fault; }
    /// The key of the step that faulted first; empty without a fault.
    std::string_view faultAt() const { return m_faultAt; }

private:
    float stored(std::string_view key, fp::Value v)
    {
        const fp::Stored s = fp::store(v);
        if (s.fault && !m_fault) {
            m_fault = s.fault;
            m_faultAt = key;
        }
        return s.value;
    }

    std::optional<FpFault> m_fault;
    std::string_view m_faultAt;
};

using CheckSteps = CheckStepsOf<>;

// Constants shared by both checks, each in the precision in which it enters
// the arithmetic.
inline constexpr float kPi = 3.14159265358979323846f;  // 3.1415927410125732
inline constexpr float kMillimetresPerMetre = 1000.0f;
inline constexpr double kPascalsPerMegapascal = 1000000.0;
inline constexpr double kSafetyFactor = 1.35;
inline constexpr double kIntensificationCoefficient = 0.9;
inline constexpr double kFlexibilityCoefficient = 1.52;
inline constexpr float kPercent = 100.0f;

inline double IntensificationExponent() { return -2.0 / 3.0; }
inline double FlexibilityExponent() { return -5.0 / 6.0; }

} // namespace dilatany
