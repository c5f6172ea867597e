#include "core/evaluate.h"
#include "core/messages.h"

#include <gtest/gtest.h>

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

TEST(FillMessage, fills_each_placeholder_once)
{
    EXPECT_EQ(FillMessage("Soubor „%1“ (%2 z %3)", {"a%2", "1", "2"}), "Soubor „a%2“ (1 z 2)");
}

} // namespace
} // namespace dilatany
