// Runs the steps of a check: stores each named quantity in single precision
// and keeps the first floating-point fault.
#pragma once

#include "core/fp_checked.h"

#include <string_view>

namespace dilatany {

class CheckSteps {
public:
    /// Rounds the result of the step named `key` to single precision. After
    /// the first fault the remaining steps still run, on whatever values they
    /// get, but only that first fault and its step are reported. `key` must
    /// outlive the check (a string literal).
    float operator()(std::string_view key, fp::Value v)
    {
        const fp::Stored s = fp::store(v);
        if (s.fault && !m_fault) {
            m_fault = s.fault;
            m_faultAt = key;
        }
        return s.value;
    }

    std::optional<FpFault> fault() const { return m_fault; }
    /// The key of the step that faulted first; empty without a fault.
    std::string_view faultAt() const { return m_faultAt; }

private:
    std::optional<FpFault> m_fault;
    std::string_view m_faultAt;
};

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
