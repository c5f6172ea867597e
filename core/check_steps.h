// Runs the steps of a check: stores each named quantity in single precision
// and keeps the first floating-point fault.
#pragma once

#include "core/fp_checked.h"

namespace dilatany {

class CheckSteps {
public:
    /// Rounds a step's result to single precision. After the first fault the
    /// remaining steps still run, on whatever values they get, but only that
    /// first fault is reported.
    float operator()(fp::Value v)
    {
        const fp::Stored s = fp::store(v);
        if (s.fault && !m_fault)
            m_fault = s.fault;
        return s.value;
    }

    std::optional<FpFault> fault() const { return m_fault; }

private:
    std::optional<FpFault> m_fault;
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
