// The program's own Czech messages (UTF-8), shared by the windows and the checker.
#pragma once

#include "core/check_result.h"
#include "core/evaluate.h"

#include <string>
#include <initializer_list>
#include <string_view>

namespace dilatany {

/// "Tyto údaje nejsou čísla: %1", the captions joined by ", ".
std::string NotNumbersMessage(const UnreadableInputs &inputs);

/// "Výpočet nelze dokončit: dělení nulou." and its twins.
std::string FaultMessage(FpFault fault);

/// Replaces %1, %2, %3 in a template by the arguments, in one pass (an
/// argument that itself holds "%2" is not expanded again).
std::string FillMessage(std::string_view text, std::initializer_list<std::string_view> args);

} // namespace dilatany
