#include "core/design.h"

#include "core/evaluate.h"
#include "core/get_number.h"
#include "core/lbend_check.h"
#include "core/uloop_check.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace dilatany::design {
namespace {

// Mantissas stay below 10^17, so sums and differences of two never overflow
// an int64 and a grid position times the step stays within the span.
constexpr std::int64_t kMantissaLimit = 100'000'000'000'000'000;

std::optional<std::int64_t> Rescale(Decimal value, int scale)
{
    std::int64_t m = value.mantissa;
    for (int s = value.scale; s < scale; ++s) {
        if (m >= kMantissaLimit / 10 || m <= -kMantissaLimit / 10)
            return std::nullopt;
        m *= 10;
    }
    return m;
}

// Evaluate for a set in which only one box changes from run to run. The
// other texts are converted once, by the same ParseNumber, so every outcome
// is the one Evaluate gives for the whole set (the tests compare the two on
// every grid value); only the conversions of the unchanged texts are saved.
class OneBoxChanges {
public:
    OneBoxChanges(const InputTexts &texts, const InputField &changing) : m_shape(texts.shape), m_changing(changing)
    {
        for (const std::int16_t index : ReadOrder(m_shape))
            m_values.push_back({FindField(m_shape, index), ParseNumber(texts[index])});
    }

    Evaluation operator()(std::string_view text)
    {
        UnreadableInputs unreadable;
        for (Value &v : m_values) {
            if (v.field == &m_changing)
                v.number = ParseNumber(text);
            if (!v.number)
                unreadable.fields.push_back(v.field);
        }
        if (!unreadable.fields.empty())
            return unreadable;
        const CheckOutcome outcome = m_shape == Shape::ULoop ? ULoopCheck(Inputs<ULoopInputs>(), nullptr)
                                                             : LBendCheck(Inputs<LBendInputs>(), nullptr);
        if (const auto *fault = std::get_if<FpFault>(&outcome))
            return *fault;
        return std::get<CheckResult>(outcome);
    }

private:
    struct Value {
        const InputField *field;
        std::optional<float> number;
    };

    template <typename CheckInputs>
    CheckInputs Inputs() const
    {
        CheckInputs in;
        for (const Value &v : m_values)
            if (float *slot = InputSlot(in, v.field->quantity))
                *slot = *v.number;
        return in;
    }

    Shape m_shape;
    const InputField &m_changing;
    std::vector<Value> m_values;
};

} // namespace

std::optional<Decimal> ParseDecimal(std::string_view text)
{
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view{} : text.substr(point + 1);
    if (whole.empty() || (point != std::string_view::npos && fraction.empty()))
        return std::nullopt;
    Decimal value;
    for (const std::string_view part : {whole, fraction}) {
        for (const char c : part) {
            if (c < '0' || c > '9')
                return std::nullopt;
            if (value.mantissa >= kMantissaLimit / 10)
                return std::nullopt;
            value.mantissa = value.mantissa * 10 + (c - '0');
        }
    }
    value.scale = static_cast<int>(fraction.size());
    if (negative)
        value.mantissa = -value.mantissa;
    return value;
}

std::string DecimalText(Decimal value)
{
    std::int64_t m = value.mantissa;
    int scale = value.scale;
    while (scale > 0 && m % 10 == 0) {
        m /= 10;
        --scale;
    }
    const bool negative = m < 0;
    std::string digits = std::to_string(negative ? -m : m);
    if (scale > 0) {
        const auto places = static_cast<std::size_t>(scale);
        if (digits.size() <= places)
            digits.insert(0, places - digits.size() + 1, '0');
        digits.insert(digits.size() - places, 1, '.');
    }
    return negative ? "-" + digits : digits;
}

std::string_view QuantityKey(Quantity quantity)
{
    switch (quantity) {
    case Quantity::D: return "D";
    case Quantity::s: return "s";
    case Quantity::R: return "R";
    case Quantity::L1: return "L1";
    case Quantity::L2: return "L2";
    case Quantity::L3: return "L3";
    case Quantity::Lf: return "Lf";
    case Quantity::alpha: return "alpha";
    case Quantity::E: return "E";
    case Quantity::f: return "f";
    case Quantity::tw: return "tw";
    case Quantity::tm: return "tm";
    }
    return {};
}

const InputField *FindInput(Shape shape, std::string_view key)
{
    for (const InputField &field : Fields(shape))
        if (QuantityKey(field.quantity) == key)
            return &field;
    return nullptr;
}

Grid::Grid(Decimal from, Decimal to, Decimal step, std::size_t count)
    : m_from(from), m_to(to), m_step(step), m_count(count)
{
}

Decimal Grid::At(std::size_t n) const
{
    return {m_from.mantissa + static_cast<std::int64_t>(n) * m_step.mantissa, m_from.scale};
}

std::string_view GridErrorText(GridError error)
{
    switch (error) {
    case GridError::NotADecimal:
        return "OD, DO a KROK musí být desetinná čísla s tečkou, bez exponentu (např. 0:3000:10)";
    case GridError::StepNotPositive: return "KROK musí být větší než 0";
    case GridError::ToBelowFrom: return "DO nesmí být menší než OD";
    case GridError::TooManyValues: return "mřížka má více než 1 000 000 hodnot";
    case GridError::TooManyDigits: return "hodnoty mřížky mají více než 17 platných číslic";
    }
    return {};
}

GridOrError MakeGrid(std::string_view fromText, std::string_view toText, std::string_view stepText)
{
    const std::optional<Decimal> from = ParseDecimal(fromText), to = ParseDecimal(toText),
                                 step = ParseDecimal(stepText);
    if (!from || !to || !step)
        return GridError::NotADecimal;
    const int scale = std::max({from->scale, to->scale, step->scale});
    const std::optional<std::int64_t> f = Rescale(*from, scale), t = Rescale(*to, scale), s = Rescale(*step, scale);
    if (!f || !t || !s)
        return GridError::TooManyDigits;
    if (*s <= 0)
        return GridError::StepNotPositive;
    if (*t < *f)
        return GridError::ToBelowFrom;
    const std::int64_t steps = (*t - *f) / *s;
    if (steps >= static_cast<std::int64_t>(kMaxGridValues))
        return GridError::TooManyValues;
    return Grid({*f, scale}, {*t, scale}, {*s, scale}, static_cast<std::size_t>(steps) + 1);
}

GridOrError ParseGrid(std::string_view text)
{
    const std::size_t first = text.find(':');
    const std::size_t second = first == std::string_view::npos ? first : text.find(':', first + 1);
    if (second == std::string_view::npos || text.find(':', second + 1) != std::string_view::npos)
        return GridError::NotADecimal;
    return MakeGrid(text.substr(0, first), text.substr(first + 1, second - first - 1), text.substr(second + 1));
}

std::optional<Grid> DefaultGrid(const InputField &field, std::string_view text)
{
    std::optional<float> value = ParseNumber(text);
    if (!value)
        return std::nullopt;
    if (*value == 0)
        value = ParseNumber(field.defaultText);
    if (!value || *value == 0)
        return std::nullopt;
    char buf[64];
    const auto written = std::to_chars(buf, buf + sizeof buf, *value, std::chars_format::fixed);
    if (written.ec != std::errc())
        return std::nullopt;
    const std::optional<Decimal> v = ParseDecimal(std::string_view(buf, static_cast<std::size_t>(written.ptr - buf)));
    if (!v || v->mantissa >= kMantissaLimit / 2 || v->mantissa <= -kMantissaLimit / 2)
        return std::nullopt;
    const std::int64_t span = 2 * (v->mantissa < 0 ? -v->mantissa : v->mantissa);  // at v->scale

    // The step c·10^e with c in {5, 2, 1}, the largest with 300·c·10^e ≤ span.
    // With t = e + scale the test is 300·c·10^t ≤ span in units of 10^−scale.
    for (int t = 17; t >= -20; --t) {
        for (const std::int64_t c : {5, 2, 1}) {
            bool fits;
            if (t >= 0) {
                long double lhs = 300.0L * static_cast<long double>(c);
                for (int k = 0; k < t; ++k)
                    lhs *= 10;
                fits = lhs <= static_cast<long double>(span);
            } else {
                long double rhs = static_cast<long double>(span);
                for (int k = 0; k < -t; ++k)
                    rhs *= 10;
                fits = 300.0L * static_cast<long double>(c) <= rhs;
            }
            if (!fits)
                continue;
            const int e = t - v->scale;
            Decimal step{c, 0};
            if (e >= 0) {
                for (int k = 0; k < e; ++k)
                    step.mantissa *= 10;
            } else {
                step.scale = -e;
            }
            const Decimal twice{2 * v->mantissa, v->scale};
            const Decimal zero{0, 0};
            const std::string from = DecimalText(v->mantissa < 0 ? twice : zero);
            const std::string to = DecimalText(v->mantissa < 0 ? zero : twice);
            const GridOrError grid = MakeGrid(from, to, DecimalText(step));
            if (const Grid *g = std::get_if<Grid>(&grid))
                return *g;
            return std::nullopt;
        }
    }
    return std::nullopt;
}

bool Passes(const Evaluation &evaluation, std::optional<double> minimumReserve)
{
    const auto *result = std::get_if<CheckResult>(&evaluation);
    if (!result || result->fails())
        return false;
    return !minimumReserve || static_cast<double>(result->reserve) >= *minimumReserve;
}

void Sweep(const InputTexts &texts, const InputField &field, const Grid &grid,
           const std::function<void(std::size_t n, const std::string &text, const Evaluation &)> &visit)
{
    OneBoxChanges evaluate(texts, field);
    for (std::size_t n = 0; n < grid.size(); ++n) {
        const std::string text = grid.Text(n);
        visit(n, text, evaluate(text));
    }
}

std::vector<PassingRun> PassingRuns(const InputTexts &texts, const InputField &field, const Grid &grid,
                             std::optional<double> minimumReserve)
{
    std::vector<PassingRun> runs;
    bool inRun = false;
    Sweep(texts, field, grid, [&](std::size_t n, const std::string &, const Evaluation &evaluation) {
        if (!Passes(evaluation, minimumReserve)) {
            inRun = false;
            return;
        }
        if (inRun)
            runs.back().last = n;
        else
            runs.push_back({n, n});
        inRun = true;
    });
    return runs;
}

std::vector<TraceValue> FixedPointLoads(const CheckTrace &trace)
{
    if (const auto *u = std::get_if<ULoopTrace>(&trace))
        return {{"F", u->F}};
    const LBendTrace &l = std::get<LBendTrace>(trace);
    const double f1 = l.F1, f2 = l.F2;
    const float resultant = static_cast<float>(std::sqrt(f1 * f1 + f2 * f2));
    return {{"F1", l.F1}, {"F2", l.F2}, {"F", resultant}, {"M2", l.M2}};
}

std::vector<bool> ValidBeforeFault(const std::vector<TraceValue> &values, Shape shape, std::string_view faultAt)
{
    std::vector<bool> valid(values.size(), true);
    if (faultAt.empty())
        return valid;
    const auto keys = FaultStepKeys(shape);
    auto position = [&](std::string_view key) -> std::ptrdiff_t {
        const auto it = std::find(keys.begin(), keys.end(), key);
        return it == keys.end() ? -1 : it - keys.begin();
    };
    const std::ptrdiff_t fault = position(faultAt);
    std::ptrdiff_t previous = -1;
    for (std::size_t n = 0; n < values.size(); ++n) {
        std::ptrdiff_t at = position(values[n].key);
        if (at < 0)
            at = previous;
        valid[n] = at < fault;
        previous = at;
    }
    return valid;
}

} // namespace dilatany::design
