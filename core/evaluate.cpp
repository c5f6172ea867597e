#include "core/evaluate.h"

#include "core/get_number.h"

namespace dilatany {
namespace {

template <typename Inputs, typename Trace, typename Check>
Evaluation Run(const InputTexts &texts, Check check, CheckTrace *trace)
{
    Trace *out = trace ? &trace->emplace<Trace>() : nullptr;
    Inputs inputs;
    UnreadableInputs unreadable;
    for (const std::int16_t index : ReadOrder(texts.shape)) {
        const InputField *field = FindField(texts.shape, index);
        const std::optional<float> value = ParseNumber(texts[index]);
        if (!value)
            unreadable.fields.push_back(field);
        else if (float *slot = InputSlot(inputs, field->quantity))
            *slot = *value;
    }
    if (!unreadable.fields.empty())
        return unreadable;
    const CheckOutcome outcome = check(inputs, out);
    if (const auto *fault = std::get_if<FpFault>(&outcome))
        return *fault;
    return std::get<CheckResult>(outcome);
}

} // namespace

float *InputSlot(ULoopInputs &in, Quantity q)
{
    switch (q) {
    case Quantity::D: return &in.D;
    case Quantity::s: return &in.s;
    case Quantity::R: return &in.R;
    case Quantity::L1: return &in.L1;
    case Quantity::L2: return &in.L2;
    case Quantity::L3: return &in.L3;
    case Quantity::Lf: return &in.Lf;
    case Quantity::alpha: return &in.alpha;
    case Quantity::E: return &in.E;
    case Quantity::f: return &in.f;
    case Quantity::tw: return &in.tw;
    case Quantity::tm: return &in.tm;
    }
    return nullptr;
}

float *InputSlot(LBendInputs &in, Quantity q)
{
    switch (q) {
    case Quantity::D: return &in.D;
    case Quantity::s: return &in.s;
    case Quantity::R: return &in.R;
    case Quantity::L1: return &in.L1;
    case Quantity::L2: return &in.L2;
    case Quantity::alpha: return &in.alpha;
    case Quantity::E: return &in.E;
    case Quantity::f: return &in.f;
    case Quantity::tw: return &in.tw;
    case Quantity::tm: return &in.tm;
    case Quantity::L3:
    case Quantity::Lf:
        break;
    }
    return nullptr;
}

Evaluation Evaluate(const InputTexts &texts, CheckTrace *trace)
{
    if (texts.shape == Shape::ULoop)
        return Run<ULoopInputs, ULoopTrace>(texts, ULoopCheck, trace);
    return Run<LBendInputs, LBendTrace>(texts, LBendCheck, trace);
}

std::vector<TraceValue> TraceQuantities(const CheckTrace &trace)
{
    if (const auto *u = std::get_if<ULoopTrace>(&trace)) {
        return {{"I", u->I},   {"lambda", u->lambda}, {"i", u->i},   {"k", u->k},   {"dL", u->dL},
                {"Ls", u->Ls}, {"yc", u->yc},         {"B", u->B, true},            {"Ix", u->Ix},
                {"F", u->F},   {"y2", u->y2},         {"ymax", u->ymax},            {"M", u->M}};
    }
    const LBendTrace &l = std::get<LBendTrace>(trace);
    return {{"I", l.I},     {"lambda", l.lambda}, {"i", l.i},   {"k", l.k},   {"Ls", l.Ls},   {"xc", l.xc},
            {"yc", l.yc},   {"Ix", l.Ix},         {"Iy", l.Iy}, {"Ixy", l.Ixy}, {"d1", l.d1}, {"d2", l.d2},
            {"F1", l.F1},   {"F2", l.F2},         {"MO", l.MO}, {"M2", l.M2}, {"M", l.M}};
}

std::vector<TraceValue> TraceInputs(const CheckTrace &trace)
{
    if (const auto *u = std::get_if<ULoopTrace>(&trace)) {
        const ULoopUsedInputs &in = u->inputs;
        return {{"D", in.D},   {"s", in.s},         {"R", in.R}, {"L1", in.L1}, {"L2", in.L2}, {"L3", in.L3},
                {"Lf", in.Lf}, {"alpha", in.alpha}, {"E", in.E}, {"f", in.f},   {"tw", in.tw}, {"tm", in.tm}};
    }
    const LBendUsedInputs &in = std::get<LBendTrace>(trace).inputs;
    return {{"D", in.D},         {"s", in.s}, {"R", in.R}, {"L1", in.L1}, {"L2", in.L2},
            {"alpha", in.alpha}, {"E", in.E}, {"f", in.f}, {"tw", in.tw}, {"tm", in.tm}};
}

std::span<const std::string_view> FaultStepKeys(Shape shape)
{
    return shape == Shape::ULoop ? ULoopStepKeys() : LBendStepKeys();
}

} // namespace dilatany
