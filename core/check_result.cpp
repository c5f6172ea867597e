#include "core/check_result.h"

#include "core/number_text.h"

namespace dilatany {

std::string_view VerdictText(const CheckResult &result)
{
    return result.fails() ? kVerdictFail : kVerdictPass;
}

std::string_view FaultName(FpFault fault)
{
    switch (fault) {
    case FpFault::DivisionByZero:
        return "division-by-zero";
    case FpFault::Overflow:
        return "overflow";
    case FpFault::InvalidOperation:
        return "invalid-operation";
    }
    return "invalid-operation";
}

ResultTexts FormatResult(const CheckResult &result)
{
    return {NumberText(result.allowable, 2), NumberText(result.stress, 2), NumberText(result.reserve, 0),
            std::string(VerdictText(result))};
}

} // namespace dilatany
