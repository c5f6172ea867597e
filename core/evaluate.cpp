#include "core/evaluate.h"

#include "core/get_number.h"
#include "core/lbend_check.h"
#include "core/uloop_check.h"

namespace dilatany {
namespace {

float *Slot(ULoopInputs &in, Quantity q)
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

float *Slot(LBendInputs &in, Quantity q)
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

template <typename Inputs, typename Check>
Evaluation Run(const InputTexts &texts, Check check)
{
    Inputs inputs;
    UnreadableInputs unreadable;
    for (const std::int16_t index : ReadOrder(texts.shape)) {
        const InputField *field = FindField(texts.shape, index);
        const std::optional<float> value = ParseNumber(texts[index]);
        if (!value)
            unreadable.fields.push_back(field);
        else if (float *slot = Slot(inputs, field->quantity))
            *slot = *value;
    }
    if (!unreadable.fields.empty())
        return unreadable;
    const CheckOutcome outcome = check(inputs, nullptr);
    if (const auto *fault = std::get_if<FpFault>(&outcome))
        return *fault;
    return std::get<CheckResult>(outcome);
}

} // namespace

Evaluation Evaluate(const InputTexts &texts)
{
    if (texts.shape == Shape::ULoop)
        return Run<ULoopInputs>(texts, ULoopCheck);
    return Run<LBendInputs>(texts, LBendCheck);
}

} // namespace dilatany
