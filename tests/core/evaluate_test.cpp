#include "core/evaluate.h"
#include "core/messages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>
#include <vector>

namespace dilatany {
namespace {

TEST(Evaluate, default_texts_give_the_default_results)
{
    const Evaluation u = Evaluate(DefaultTexts(Shape::ULoop));
    ASSERT_TRUE(std::holds_alternative<CheckResult>(u));
    EXPECT_EQ(FormatResult(std::get<CheckResult>(u)), (ResultTexts{"20.00", "5.33", "73", "Vyhovuje"}));

    const Evaluation l = Evaluate(DefaultTexts(Shape::LBend));
    ASSERT_TRUE(std::holds_alternative<CheckResult>(l));
    EXPECT_EQ(FormatResult(std::get<CheckResult>(l)), (ResultTexts{"20.00", "7.01", "65", "Vyhovuje"}));
}

TEST(Evaluate, boxes_go_to_their_quantities)
{
    // The L-bend's box 10 is L2 and box 11 is L1; a short L2 fails.
    InputTexts texts = DefaultTexts(Shape::LBend);
    texts[10] = "1";
    EXPECT_EQ(FormatResult(std::get<CheckResult>(Evaluate(texts))).stress, "107.45");
    // The U-loop's box 8 is the distance between the fixed points, in metres.
    InputTexts u = DefaultTexts(Shape::ULoop);
    u[8] = "300";
    EXPECT_EQ(FormatResult(std::get<CheckResult>(Evaluate(u))).reserve, "-33");
    // Box 12 is the bend radius in millimetres.
    u = DefaultTexts(Shape::ULoop);
    u[12] = "50";
    EXPECT_EQ(FormatResult(std::get<CheckResult>(Evaluate(u))).stress, "8.46");
}

TEST(Evaluate, an_empty_box_is_not_computed_as_zero)
{
    InputTexts texts = DefaultTexts(Shape::ULoop);
    texts[1] = "";  // an empty modulus would give zero stress and "Vyhovuje"
    const Evaluation e = Evaluate(texts);
    ASSERT_TRUE(std::holds_alternative<UnreadableInputs>(e));
    EXPECT_EQ(NotNumbersMessage(std::get<UnreadableInputs>(e)), "Tyto údaje nejsou čísla: Modul pružnosti");
}

TEST(Evaluate, names_every_unreadable_input_in_reading_order)
{
    InputTexts texts = DefaultTexts(Shape::LBend);
    texts[0] = "1.2.3";
    texts[14] = "abc";
    texts[11] = " ";
    const Evaluation e = Evaluate(texts);
    ASSERT_TRUE(std::holds_alternative<UnreadableInputs>(e));
    EXPECT_EQ(NotNumbersMessage(std::get<UnreadableInputs>(e)),
              "Tyto údaje nejsou čísla: Vnější pruměr potrubí, Délka L1, Součinitel teplotní roztažnosti");
}

TEST(Evaluate, reports_a_fault_by_its_kind)
{
    InputTexts texts = DefaultTexts(Shape::LBend);
    texts[2] = "0";
    const Evaluation e = Evaluate(texts);
    ASSERT_TRUE(std::holds_alternative<FpFault>(e));
    EXPECT_EQ(FaultMessage(std::get<FpFault>(e)), "Výpočet nelze dokončit: dělení nulou.");
    EXPECT_EQ(FaultMessage(FpFault::Overflow), "Výpočet nelze dokončit: přetečení.");
    EXPECT_EQ(FaultMessage(FpFault::InvalidOperation), "Výpočet nelze dokončit: neplatná operace.");
}

TEST(Evaluate, reads_comma_and_exponent_texts_like_the_presets)
{
    InputTexts texts = DefaultTexts(Shape::ULoop);
    texts[0] = "1,2E-05";
    texts[1] = "210000";
    texts[2] = "235";
    EXPECT_EQ(FormatResult(std::get<CheckResult>(Evaluate(texts))), (ResultTexts{"174.07", "97.25", "44", "Vyhovuje"}));
}

TEST(Evaluate, gives_the_trace_of_the_same_check)
{
    InputTexts texts = DefaultTexts(Shape::LBend);
    texts[10] = "15";  // L2 longer than L1: the check exchanges them
    texts[11] = "5";
    texts[12] = "50";  // below half the diameter: a sharp corner
    CheckTrace trace;
    const Evaluation e = Evaluate(texts, &trace);
    ASSERT_TRUE(std::holds_alternative<CheckResult>(e));
    ASSERT_TRUE(std::holds_alternative<LBendTrace>(trace));
    const LBendTrace &t = std::get<LBendTrace>(trace);
    EXPECT_EQ(t.inputs.L1, 15.0f);
    EXPECT_EQ(t.inputs.R, 0.0f);
    EXPECT_EQ(t.stress, std::get<CheckResult>(e).stress);
    EXPECT_EQ(t.k, 1.52f);

    std::vector<std::string_view> keys;
    for (const TraceValue &v : TraceQuantities(trace))
        keys.push_back(v.key);
    EXPECT_EQ(keys, (std::vector<std::string_view>{"I", "lambda", "i", "k", "Ls", "xc", "yc", "Ix", "Iy", "Ixy",
                                                   "d1", "d2", "F1", "F2", "MO", "M2", "M"}));
    const std::vector<TraceValue> inputs = TraceInputs(trace);
    ASSERT_EQ(inputs.size(), 10u);
    EXPECT_EQ(inputs[3].key, "L1");
    EXPECT_EQ(inputs[3].value, 15.0);
}

TEST(Evaluate, trace_names_the_step_that_faulted)
{
    InputTexts texts = DefaultTexts(Shape::ULoop);
    texts[13] = "0";  // no wall with a bend: λ = 0 in the power of step i
    CheckTrace trace;
    ASSERT_TRUE(std::holds_alternative<FpFault>(Evaluate(texts, &trace)));
    EXPECT_EQ(std::get<ULoopTrace>(trace).faultAt, "i");

    std::vector<std::string_view> keys;
    bool bIsDouble = false;
    for (const TraceValue &v : TraceQuantities(trace)) {
        keys.push_back(v.key);
        bIsDouble |= v.key == "B" && v.isDouble;
    }
    EXPECT_EQ(keys, (std::vector<std::string_view>{"I", "lambda", "i", "k", "dL", "Ls", "yc", "B", "Ix", "F", "y2",
                                                   "ymax", "M"}));
    EXPECT_TRUE(bIsDouble);
    EXPECT_EQ(TraceInputs(trace).size(), 12u);
}

TEST(Evaluate, unreadable_texts_leave_the_shapes_empty_trace)
{
    InputTexts texts = DefaultTexts(Shape::LBend);
    texts[1] = "x";
    CheckTrace trace = ULoopTrace{};
    ASSERT_TRUE(std::holds_alternative<UnreadableInputs>(Evaluate(texts, &trace)));
    ASSERT_TRUE(std::holds_alternative<LBendTrace>(trace));
    EXPECT_TRUE(std::get<LBendTrace>(trace).faultAt.empty());
    EXPECT_EQ(std::get<LBendTrace>(trace).inputs.D, 0.0f);
}

TEST(FaultStepKeys, lists_each_step_once_in_step_order)
{
    for (const Shape shape : {Shape::ULoop, Shape::LBend}) {
        const auto keys = FaultStepKeys(shape);
        std::vector<std::string_view> sorted(keys.begin(), keys.end());
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
        EXPECT_EQ(keys.back(), "reserve");
    }
    EXPECT_EQ(FaultStepKeys(Shape::ULoop).front(), "E");
    EXPECT_EQ(FaultStepKeys(Shape::LBend).front(), "D");
}

TEST(FillMessage, fills_each_placeholder_once)
{
    EXPECT_EQ(FillMessage("Soubor „%1“ (%2 z %3)", {"a%2", "1", "2"}), "Soubor „a%2“ (1 z 2)");
}

} // namespace
} // namespace dilatany
