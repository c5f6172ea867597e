// Design answers built on the window's own evaluation: a grid of values for
// one input, the runs of values that pass, and the sweep of every outcome.
#pragma once

#include "core/evaluate.h"
#include "core/input_field.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace dilatany::design {

/// An exact decimal: mantissa · 10^(−scale).
struct Decimal {
    std::int64_t mantissa = 0;
    int scale = 0;
};

/// Reads a plain decimal: an optional minus sign, digits, optionally a period
/// and more digits ("12.5", "-10", "0.00012"). No exponent, no blanks. Nothing
/// for any other text or for more than 17 significant digits.
std::optional<Decimal> ParseDecimal(std::string_view text);

/// The shortest text of the value: "0.07", "1250", "12.5", "-0.5", "0".
std::string DecimalText(Decimal value);

/// The name of an input as the options and the JSON output write it:
/// "D", "s", "R", "L1", "L2", "L3", "Lf", "alpha", "E", "f", "tw", "tm".
std::string_view QuantityKey(Quantity quantity);

/// The input of the shape with that key, or nullptr.
const InputField *FindInput(Shape shape, std::string_view key);

/// Largest grid that is computed.
inline constexpr std::size_t kMaxGridValues = 1'000'000;

/// FROM, FROM + STEP, … up to TO inclusive, each value formed exactly in
/// decimal as FROM + n·STEP (never by adding binary floats).
class Grid {
public:
    Grid(Decimal from, Decimal to, Decimal step, std::size_t count);

    std::size_t size() const { return m_count; }
    Decimal At(std::size_t n) const;
    /// The shortest decimal text of value n, the text a box receives.
    std::string Text(std::size_t n) const { return DecimalText(At(n)); }

    Decimal from() const { return m_from; }
    Decimal to() const { return m_to; }
    Decimal step() const { return m_step; }

private:
    Decimal m_from, m_to, m_step;  // all three at one scale
    std::size_t m_count;
};

enum class GridError {
    NotADecimal,       // FROM, TO or STEP is not a plain decimal
    StepNotPositive,   // STEP is 0 or negative
    ToBelowFrom,       // TO is less than FROM
    TooManyValues,     // more than kMaxGridValues values
    TooManyDigits,     // the values do not fit 17 significant digits at one scale
};

/// The Czech text of a grid refusal.
std::string_view GridErrorText(GridError error);

using GridOrError = std::variant<Grid, GridError>;

GridOrError MakeGrid(std::string_view from, std::string_view to, std::string_view step);

/// Parses "FROM:TO:STEP".
GridOrError ParseGrid(std::string_view text);

/// The grid a designer would first try around a value v of an input: from 0
/// to 2·v (from 2·v to 0 when v is negative), in steps of 1, 2 or 5 times a
/// power of ten, the largest that still gives at least 300 steps. For v = 0
/// the field's default text stands in for v. v is the value the file's text
/// converts to, written as its shortest decimal. Nothing when the text is not
/// a number or its value has no plain decimal of 17 digits.
/// Example: L2 = 1500 mm gives 0:3000:10.
std::optional<Grid> DefaultGrid(const InputField &field, std::string_view text);

/// Whether an evaluation passes: a result, the verdict "Vyhovuje", and, when
/// a reserve is asked for, a stress reserve of at least that many percent.
bool Passes(const Evaluation &evaluation, std::optional<double> minimumReserve);

/// Evaluates the set once for each grid value, in grid order, the value's text
/// standing in the box `field` exactly as typed there, and hands each outcome
/// to `visit`.
void Sweep(const InputTexts &texts, const InputField &field, const Grid &grid,
           const std::function<void(std::size_t n, const std::string &text, const Evaluation &)> &visit);

/// A maximal run of passing grid values, by their positions in the grid.
struct PassingRun {
    std::size_t first;
    std::size_t last;
    friend bool operator==(const PassingRun &, const PassingRun &) = default;
};

/// The maximal runs of passing grid values. Every value is checked: nothing
/// assumes that the stress grows or falls with the input.
std::vector<PassingRun> PassingRuns(const InputTexts &texts, const InputField &field, const Grid &grid,
                             std::optional<double> minimumReserve);

/// The loads on the fixed points, from the trace's stored quantities. U-loop:
/// "F", the force along the pipe axis (N). L-bend: "F1" and "F2", the
/// components parallel to leg 1 and to leg 2 after the leg exchange (N), "F",
/// their resultant, computed in double from the two stored singles and
/// rounded to single once (N), and "M2", the moment at the fixed point of
/// leg 2 (N·m).
std::vector<TraceValue> FixedPointLoads(const CheckTrace &trace);

/// Whether a traced value describes the inputs: true unless the check
/// faulted at the step that forms it or at an earlier one. Keys that are no
/// step of their own (B, ymax, the L-bend's M, and inputs used as typed)
/// count with the step before them in `values`.
std::vector<bool> ValidBeforeFault(const std::vector<TraceValue> &values, Shape shape, std::string_view faultAt);

} // namespace dilatany::design
