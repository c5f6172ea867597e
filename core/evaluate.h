// From the box texts of a calculation window to the outcome of its check: what
// the calculate button and the command-line checker both do.
#pragma once

#include "core/check_result.h"
#include "core/input_field.h"
#include "core/lbend_check.h"
#include "core/uloop_check.h"

#include <span>
#include <string_view>
#include <variant>
#include <vector>

namespace dilatany {

/// The inputs whose texts are not numbers, in the order the check reads them.
struct UnreadableInputs {
    std::vector<const InputField *> fields;
};

using Evaluation = std::variant<CheckResult, FpFault, UnreadableInputs>;

/// Where the check's inputs keep the quantity; nothing for a quantity the
/// shape does not have (the L-bend has no L3 and no L_f).
float *InputSlot(ULoopInputs &in, Quantity q);
float *InputSlot(LBendInputs &in, Quantity q);

/// The trace of the shape's check: its inputs as used, its quantities and the
/// step that faulted.
using CheckTrace = std::variant<ULoopTrace, LBendTrace>;

/// Converts every box text of the shape (in its read order) and runs the
/// shape's check. Any text that is not a number stops it before the check:
/// an empty box is not computed as 0. With `trace`, it receives the trace of
/// this very check; where a text is unreadable and no check ran, the shape's
/// empty trace.
Evaluation Evaluate(const InputTexts &texts, CheckTrace *trace = nullptr);

/// One named value of a trace. `isDouble` marks a quantity the check keeps in
/// double precision (the U-loop's B); every other one is a single.
struct TraceValue {
    std::string_view key;
    double value;
    bool isDouble = false;
};

/// The quantities of a trace in the order of their steps, keyed as the trace
/// names them: U-loop I, lambda, i, k, dL, Ls, yc, B, Ix, F, y2, ymax, M;
/// L-bend I, lambda, i, k, Ls, xc, yc, Ix, Iy, Ixy, d1, d2, F1, F2, MO, M2, M.
std::vector<TraceValue> TraceQuantities(const CheckTrace &trace);

/// The inputs as the check used them (SI, after the bend test and, on the
/// L-bend, the leg exchange): U-loop D, s, R, L1, L2, L3, Lf, alpha, E, f,
/// tw, tm; L-bend D, s, R, L1, L2, alpha, E, f, tw, tm. f stays in MPa.
std::vector<TraceValue> TraceInputs(const CheckTrace &trace);

/// Every key a fault of the shape's check can be reported at (the trace's
/// faultAt), in step order.
std::span<const std::string_view> FaultStepKeys(Shape shape);

} // namespace dilatany
