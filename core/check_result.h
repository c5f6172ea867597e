// The outcome of a stress check: its result record, or the floating-point fault
// that abandoned it.
#pragma once

#include <string>
#include <string_view>
#include <variant>

namespace dilatany {

/// The results of a check, all single precision.
struct CheckResult {
    float allowable = 0;  // σ_a, MPa
    float stress = 0;     // σ, MPa
    float reserve = 0;    // 100 − 100·σ/σ_a, %
    /// Fail exactly when the stress is greater than the allowable stress.
    bool fails() const { return stress > allowable; }
};

inline constexpr std::string_view kVerdictPass = "Vyhovuje";
inline constexpr std::string_view kVerdictFail = "!!! Nevyhovuje !!!";

std::string_view VerdictText(const CheckResult &result);

/// The kinds of floating-point fault a check reports (IEEE 754 names).
enum class FpFault { DivisionByZero, Overflow, InvalidOperation };

/// Machine-readable name of a fault: "division-by-zero", "overflow", "invalid-operation".
std::string_view FaultName(FpFault fault);

/// A check gives either a result or the first fault it met.
using CheckOutcome = std::variant<CheckResult, FpFault>;

/// The four texts of the result labels: allowable stress, stress, reserve, verdict.
struct ResultTexts {
    std::string allowable;
    std::string stress;
    std::string reserve;
    std::string verdict;
    friend bool operator==(const ResultTexts &, const ResultTexts &) = default;
};

ResultTexts FormatResult(const CheckResult &result);

} // namespace dilatany
