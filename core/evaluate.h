// From the box texts of a calculation window to the outcome of its check: what
// the calculate button and the command-line checker both do.
#pragma once

#include "core/check_result.h"
#include "core/input_field.h"

#include <variant>
#include <vector>

namespace dilatany {

/// The inputs whose texts are not numbers, in the order the check reads them.
struct UnreadableInputs {
    std::vector<const InputField *> fields;
};

using Evaluation = std::variant<CheckResult, FpFault, UnreadableInputs>;

/// Converts every box text of the shape (in its read order) and runs the
/// shape's check. Any text that is not a number stops it before the check:
/// an empty box is not computed as 0.
Evaluation Evaluate(const InputTexts &texts);

} // namespace dilatany
