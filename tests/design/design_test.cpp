#include "core/design.h"

#include "core/evaluate.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dilatany::design {
namespace {

TEST(Decimal, reads_plain_decimals_and_writes_the_shortest_text)
{
    struct Case {
        const char *text;
        const char *shortest;
    };
    const Case cases[] = {
        {"0", "0"}, {"-0", "0"}, {"0.070", "0.07"}, {"1250", "1250"}, {"12.50", "12.5"},
        {"-0.5", "-0.5"}, {"0.00012", "0.00012"}, {"007", "7"}, {"99999999999999999", "99999999999999999"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<Decimal> d = ParseDecimal(c.text);
        ASSERT_TRUE(d);
        EXPECT_EQ(DecimalText(*d), c.shortest);
    }
    for (const char *bad : {"", "-", ".5", "5.", "1e3", "1,5", " 1", "+1", "1.2.3", "100000000000000000"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(ParseDecimal(bad));
    }
}

std::vector<std::string> Texts(const Grid &grid)
{
    std::vector<std::string> texts;
    for (std::size_t n = 0; n < grid.size(); ++n)
        texts.push_back(grid.Text(n));
    return texts;
}

TEST(Grid, values_are_exact_decimals_up_to_to_inclusive)
{
    // Adding 0.1 in binary gives 0.30000000000000004 as the fourth value.
    const Grid tenths = std::get<Grid>(ParseGrid("0:0.3:0.1"));
    EXPECT_EQ(Texts(tenths), (std::vector<std::string>{"0", "0.1", "0.2", "0.3"}));
    const Grid mixed = std::get<Grid>(ParseGrid("-1:1.05:0.25"));
    EXPECT_EQ(Texts(mixed), (std::vector<std::string>{"-1", "-0.75", "-0.5", "-0.25", "0", "0.25", "0.5", "0.75", "1"}));
    const Grid one = std::get<Grid>(ParseGrid("12.5:12.5:1"));
    EXPECT_EQ(Texts(one), (std::vector<std::string>{"12.5"}));
    EXPECT_EQ(std::get<Grid>(ParseGrid("0.00001:0.0001:0.00001")).Text(6), "0.00007");
}

TEST(Grid, refuses_bad_and_oversized_grids)
{
    struct Case {
        const char *text;
        GridError error;
    };
    const Case cases[] = {
        {"0:10", GridError::NotADecimal},           {"0:10:1:2", GridError::NotADecimal},
        {"a:10:1", GridError::NotADecimal},         {"0:1e3:1", GridError::NotADecimal},
        {"0:10:0", GridError::StepNotPositive},     {"0:10:-1", GridError::StepNotPositive},
        {"10:0:1", GridError::ToBelowFrom},         {"0:1000000:1", GridError::TooManyValues},
        {"0:99999999999999999:0.5", GridError::TooManyDigits},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        const GridOrError grid = ParseGrid(c.text);
        ASSERT_TRUE(std::holds_alternative<GridError>(grid));
        EXPECT_EQ(std::get<GridError>(grid), c.error);
    }
    EXPECT_EQ(std::get<Grid>(ParseGrid("0:999999:1")).size(), kMaxGridValues);
}

TEST(DefaultGrid, spans_twice_the_value_in_a_round_step)
{
    struct Case {
        Shape shape;
        const char *key;
        const char *text;
        const char *from, *to, *step;
    };
    const Case cases[] = {
        {Shape::ULoop, "L2", "1500", "0", "3000", "10"},
        {Shape::ULoop, "alpha", "0.00012", "0", "0.00024", "0.0000005"},
        {Shape::ULoop, "tm", "-10", "-20", "0", "0.05"},
        {Shape::ULoop, "L1", "1234", "0", "2468", "5"},
        {Shape::ULoop, "L2", "0", "0", "3000", "10"},   // 0 takes the default text's value
        {Shape::LBend, "L2", "5", "0", "10", "0.02"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.text);
        const std::optional<Grid> grid = DefaultGrid(*FindInput(c.shape, c.key), c.text);
        ASSERT_TRUE(grid);
        EXPECT_EQ(DecimalText(grid->from()), c.from);
        EXPECT_EQ(DecimalText(grid->to()), c.to);
        EXPECT_EQ(DecimalText(grid->step()), c.step);
        EXPECT_GE(grid->size(), 301u);
    }
    EXPECT_FALSE(DefaultGrid(*FindInput(Shape::ULoop, "L2"), "abc"));
}

TEST(FindInput, knows_the_inputs_of_each_shape_by_key)
{
    EXPECT_EQ(FindInput(Shape::ULoop, "Lf")->index, 8);
    EXPECT_EQ(FindInput(Shape::LBend, "L1")->index, 11);
    EXPECT_EQ(FindInput(Shape::ULoop, "alpha")->index, 0);
    EXPECT_EQ(FindInput(Shape::LBend, "L3"), nullptr);
    EXPECT_EQ(FindInput(Shape::ULoop, "α"), nullptr);
}

// The sweep converts only the changing text per value; every outcome must be
// the one Evaluate gives for the whole set with that text in the box.
TEST(Sweep, every_outcome_equals_evaluate_on_the_whole_set)
{
    struct Case {
        const char *name;
        Shape shape;
        const char *key;
        const char *grid;
        int otherIndex;           // -1: none changed
        const char *otherText;
    };
    const Case cases[] = {
        {"U-loop strength through 0 (a fault)", Shape::ULoop, "f", "-2:30:0.5", -1, ""},
        {"U-loop wall through the diameter", Shape::ULoop, "s", "0:200:2.5", -1, ""},
        {"U-loop R through the bend test", Shape::ULoop, "R", "-10:300:1", -1, ""},
        {"L-bend L2 over 0, with the legs exchanged", Shape::LBend, "L2", "0:30:0.25", -1, ""},
        {"L-bend D with an empty modulus", Shape::LBend, "D", "0:300:10", 1, ""},
        {"values beyond single precision", Shape::ULoop, "E", "0:1000000000000000:10000000000000", -1, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        InputTexts texts = DefaultTexts(c.shape);
        if (c.otherIndex >= 0)
            texts[c.otherIndex] = c.otherText;
        const InputField &field = *FindInput(c.shape, c.key);
        const Grid grid = std::get<Grid>(ParseGrid(c.grid));
        std::size_t seen = 0;
        Sweep(texts, field, grid, [&](std::size_t n, const std::string &text, const Evaluation &got) {
            ASSERT_EQ(n, seen++);
            InputTexts whole = texts;
            whole[field.index] = text;
            const Evaluation want = Evaluate(whole);
            ASSERT_EQ(got.index(), want.index()) << text;
            if (const auto *r = std::get_if<CheckResult>(&want)) {
                EXPECT_EQ(std::get<CheckResult>(got).allowable, r->allowable) << text;
                EXPECT_EQ(std::get<CheckResult>(got).stress, r->stress) << text;
                EXPECT_EQ(std::get<CheckResult>(got).reserve, r->reserve) << text;
            } else if (const auto *f = std::get_if<FpFault>(&want)) {
                EXPECT_EQ(std::get<FpFault>(got), *f) << text;
            } else {
                EXPECT_EQ(std::get<UnreadableInputs>(got).fields, std::get<UnreadableInputs>(want).fields) << text;
            }
        });
        EXPECT_EQ(seen, grid.size());
    }
}

TEST(PassingRuns, the_default_u_loop_leg_passes_from_270_mm)
{
    const InputTexts texts = DefaultTexts(Shape::ULoop);
    const InputField &L2 = *FindInput(Shape::ULoop, "L2");
    const Grid grid = std::get<Grid>(ParseGrid("0:3000:10"));
    const std::vector<PassingRun> runs = PassingRuns(texts, L2, grid, std::nullopt);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(grid.Text(runs[0].first), "270");
    EXPECT_EQ(grid.Text(runs[0].last), "3000");

    // The edge, checked with the window's own evaluation.
    InputTexts at = texts;
    at[L2.index] = "260";
    EXPECT_FALSE(Passes(Evaluate(at), std::nullopt));
    at[L2.index] = "270";
    EXPECT_TRUE(Passes(Evaluate(at), std::nullopt));
}

TEST(PassingRuns, a_reserve_narrows_the_runs_and_no_monotonicity_is_assumed)
{
    // The L-bend radius: below D/2 = 79.5 mm the bend counts as a sharp
    // corner, which is stiffer in stress terms than a tight bend, so the
    // passing values fall into two runs.
    const InputTexts texts = DefaultTexts(Shape::LBend);
    const InputField &R = *FindInput(Shape::LBend, "R");
    const Grid grid = std::get<Grid>(ParseGrid("0:400:1"));
    const std::vector<PassingRun> runs = PassingRuns(texts, R, grid, 40.0);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(grid.Text(runs[0].first) + ".." + grid.Text(runs[0].last), "0..79");
    EXPECT_EQ(grid.Text(runs[1].first) + ".." + grid.Text(runs[1].last), "94..400");
    EXPECT_EQ(PassingRuns(texts, R, grid, std::nullopt), (std::vector<PassingRun>{{0, 400}}));
    EXPECT_TRUE(PassingRuns(texts, R, grid, 101.0).empty());
}

TEST(Passes, needs_a_result_the_pass_verdict_and_the_reserve)
{
    EXPECT_TRUE(Passes(CheckResult{20, 20, 0}, std::nullopt));        // equal stress passes
    EXPECT_FALSE(Passes(CheckResult{20, 20.5f, -2.5f}, std::nullopt));
    EXPECT_TRUE(Passes(CheckResult{20, 10, 50}, 50.0));                 // at least P
    EXPECT_FALSE(Passes(CheckResult{20, 10.1f, 49.5f}, 50.0));
    EXPECT_FALSE(Passes(FpFault::DivisionByZero, std::nullopt));
    EXPECT_FALSE(Passes(UnreadableInputs{}, std::nullopt));
}

} // namespace
} // namespace dilatany::design
