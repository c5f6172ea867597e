#include "core/lbend_check.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace dilatany {
namespace {

using testing::MatchesDigits;

LBendInputs Defaults()
{
    // D, s, R, L1, L2, α, E, f, t_w, t_m as the window's default texts give them.
    return {159, 4.5f, 200, 15, 5, 0.00012f, 1150, 27, 90, 10};
}

struct ResultCase {
    const char *name;
    void (*change)(LBendInputs &);
    ResultTexts texts;
    friend void PrintTo(const ResultCase &c, std::ostream *os) { *os << c.name; }
};

class LBendResults : public ::testing::TestWithParam<ResultCase> {};

TEST_P(LBendResults, shows_the_worked_results)
{
    LBendInputs in = Defaults();
    GetParam().change(in);
    const CheckOutcome outcome = LBendCheck(in);
    ASSERT_TRUE(std::holds_alternative<CheckResult>(outcome));
    EXPECT_EQ(FormatResult(std::get<CheckResult>(outcome)), GetParam().texts);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, LBendResults,
    ::testing::Values(
        ResultCase{"defaults", [](LBendInputs &) {}, {"20.00", "7.01", "65", "Vyhovuje"}},
        ResultCase{"legs_exchanged",
                   [](LBendInputs &in) {
                       in.L1 = 5;
                       in.L2 = 15;
                   },
                   {"20.00", "7.01", "65", "Vyhovuje"}},
        ResultCase{"radius_50_is_a_sharp_corner", [](LBendInputs &in) { in.R = 50; },
                   {"20.00", "2.68", "87", "Vyhovuje"}},
        ResultCase{"radius_0_is_a_sharp_corner", [](LBendInputs &in) { in.R = 0; },
                   {"20.00", "2.68", "87", "Vyhovuje"}},
        ResultCase{"negative_radius_is_a_sharp_corner", [](LBendInputs &in) { in.R = -10; },
                   {"20.00", "2.68", "87", "Vyhovuje"}},
        ResultCase{"radius_of_half_the_diameter_keeps_the_bend", [](LBendInputs &in) { in.R = 79.5f; },
                   {"20.00", "13.41", "33", "Vyhovuje"}},
        ResultCase{"short_second_leg_fails", [](LBendInputs &in) { in.L2 = 1; },
                   {"20.00", "107.45", "-437", "!!! Nevyhovuje !!!"}},
        ResultCase{"equal_temperatures", [](LBendInputs &in) { in.tw = in.tm = 10; },
                   {"20.00", "0.00", "100", "Vyhovuje"}},
        ResultCase{"zero_diameter_shows_no_minus_on_a_negative_zero", [](LBendInputs &in) { in.D = 0; },
                   {"20.00", "0.00", "100", "Vyhovuje"}},
        ResultCase{"cooling",
                   [](LBendInputs &in) {
                       in.tw = 10;
                       in.tm = 90;
                   },
                   {"20.00", "-0.09", "100", "Vyhovuje"}},
        ResultCase{"steel",
                   [](LBendInputs &in) {
                       in.alpha = 0.000012f;
                       in.E = 210000;
                       in.f = 235;
                   },
                   {"174.07", "128.01", "26", "Vyhovuje"}}),
    [](const auto &row) { return std::string(row.param.name); });

TEST(LBendCheck, default_inputs_give_the_worked_intermediates)
{
    LBendTrace t;
    const CheckOutcome outcome = LBendCheck(Defaults(), &t);
    ASSERT_TRUE(std::holds_alternative<CheckResult>(outcome));
    const CheckResult r = std::get<CheckResult>(outcome);
    EXPECT_TRUE(MatchesDigits(t.I, "6.52268e-6"));
    EXPECT_TRUE(MatchesDigits(t.lambda, "0.1508154"));
    EXPECT_TRUE(MatchesDigits(t.i, "3.176475"));
    EXPECT_TRUE(MatchesDigits(t.k, "7.353131"));
    EXPECT_TRUE(MatchesDigits(t.Ls, "22.31005"));
    EXPECT_TRUE(MatchesDigits(t.xc, "0.6126229"));
    EXPECT_TRUE(MatchesDigits(t.yc, "5.184553"));
    EXPECT_TRUE(MatchesDigits(t.Ix, "570.9359"));
    EXPECT_TRUE(MatchesDigits(t.Iy, "38.51443"));
    EXPECT_TRUE(MatchesDigits(t.Ixy, "-70.85654"));
    EXPECT_TRUE(MatchesDigits(t.d1, "0.14592"));
    EXPECT_TRUE(MatchesDigits(t.d2, "0.04992"));
    EXPECT_TRUE(MatchesDigits(t.F1, "35.26449"));
    EXPECT_TRUE(MatchesDigits(t.F2, "-3.720673"));
    EXPECT_TRUE(MatchesDigits(t.MO, "2.313809"));
    EXPECT_TRUE(MatchesDigits(t.M2, "181.0615"));
    EXPECT_EQ(t.M, t.M2);
    EXPECT_TRUE(MatchesDigits(r.allowable, "20"));
    EXPECT_TRUE(MatchesDigits(r.stress, "7.009914"));
    EXPECT_TRUE(MatchesDigits(r.reserve, "64.95043"));
}

TEST(LBendCheck, exchanged_legs_give_identical_bits)
{
    LBendInputs swapped = Defaults();
    swapped.L1 = 5;
    swapped.L2 = 15;
    const CheckResult a = std::get<CheckResult>(LBendCheck(Defaults()));
    const CheckResult b = std::get<CheckResult>(LBendCheck(swapped));
    EXPECT_EQ(a.stress, b.stress);
    EXPECT_EQ(a.reserve, b.reserve);
}

TEST(LBendCheck, sharp_corner_intermediates)
{
    LBendInputs in = Defaults();
    in.R = 50;
    LBendTrace t;
    const CheckResult r = std::get<CheckResult>(LBendCheck(in, &t));
    EXPECT_EQ(t.lambda, 1.0f);
    EXPECT_EQ(t.i, 1.0f);
    EXPECT_EQ(t.k, 1.52f);
    EXPECT_EQ(t.Ls, 20.0f);
    EXPECT_EQ(t.xc, 0.625f);
    EXPECT_EQ(t.yc, 5.625f);
    EXPECT_TRUE(MatchesDigits(t.Ix, "492.1875"));
    EXPECT_TRUE(MatchesDigits(t.Iy, "33.85417"));
    EXPECT_TRUE(MatchesDigits(t.Ixy, "-70.3125"));
    EXPECT_TRUE(MatchesDigits(t.F1, "43.20623"));
    EXPECT_TRUE(MatchesDigits(t.F2, "-5.440784"));
    EXPECT_TRUE(MatchesDigits(t.MO, "-3.600518"));
    EXPECT_TRUE(MatchesDigits(t.M2, "219.6317"));
    EXPECT_TRUE(MatchesDigits(r.stress, "2.676924"));
    EXPECT_TRUE(MatchesDigits(r.reserve, "86.61538"));
}

TEST(LBendCheck, radius_of_half_the_diameter_keeps_the_bend)
{
    LBendInputs in = Defaults();
    in.R = 79.5f;
    LBendTrace t;
    const CheckResult r = std::get<CheckResult>(LBendCheck(in, &t));
    EXPECT_TRUE(MatchesDigits(t.lambda, "0.0599491"));
    EXPECT_TRUE(MatchesDigits(t.i, "5.875625"));
    EXPECT_TRUE(MatchesDigits(t.k, "15.862"));
    EXPECT_TRUE(MatchesDigits(r.stress, "13.41137"));
    EXPECT_TRUE(MatchesDigits(r.reserve, "32.94317"));
}

TEST(LBendCheck, solid_section_raises_the_intensification_but_not_the_flexibility)
{
    // A wall of half the diameter gives λ = 10.062894, as on the U-loop:
    // i = 0.193 is raised to 1, k = 0.22194286 has no lower limit.
    LBendInputs in = Defaults();
    in.s = 79.5f;
    LBendTrace t;
    ASSERT_TRUE(std::holds_alternative<CheckResult>(LBendCheck(in, &t)));
    EXPECT_TRUE(MatchesDigits(t.lambda, "10.062894"));
    EXPECT_EQ(t.i, 1.0f);
    EXPECT_TRUE(MatchesDigits(t.k, "0.22194286"));
}

TEST(LBendCheck, signed_moments_are_compared_without_absolute_values)
{
    LBendInputs cooling = Defaults();
    cooling.tw = 10;
    cooling.tm = 90;
    LBendTrace t;
    const CheckResult r = std::get<CheckResult>(LBendCheck(cooling, &t));
    EXPECT_TRUE(MatchesDigits(t.M, "-2.313809"));
    EXPECT_EQ(t.M, t.MO);
    EXPECT_TRUE(MatchesDigits(r.stress, "-0.08958063"));
    EXPECT_TRUE(MatchesDigits(r.reserve, "100.4479"));

    LBendInputs shortLeg = Defaults();
    shortLeg.L2 = 1;
    const CheckResult s = std::get<CheckResult>(LBendCheck(shortLeg));
    EXPECT_TRUE(MatchesDigits(s.stress, "107.4456"));
    EXPECT_TRUE(MatchesDigits(s.reserve, "-437.2281"));

    LBendInputs steel = Defaults();
    steel.alpha = 0.000012f;
    steel.E = 210000;
    steel.f = 235;
    const CheckResult st = std::get<CheckResult>(LBendCheck(steel));
    EXPECT_TRUE(MatchesDigits(st.allowable, "174.0741"));
    EXPECT_TRUE(MatchesDigits(st.stress, "128.0071"));
    EXPECT_TRUE(MatchesDigits(st.reserve, "26.46399"));
}

TEST(LBendCheck, zero_diameter_gives_a_negative_zero_stress)
{
    LBendInputs in = Defaults();
    in.D = 0;
    const CheckResult r = std::get<CheckResult>(LBendCheck(in));
    EXPECT_EQ(r.stress, 0.0f);
    EXPECT_TRUE(std::signbit(r.stress));
    EXPECT_EQ(r.reserve, 100.0f);
}

struct FaultCase {
    const char *name;
    void (*change)(LBendInputs &);
    FpFault fault;
    const char *faultAt;  // the step that faults
    friend void PrintTo(const FaultCase &c, std::ostream *os) { *os << c.name; }
};

class LBendFaults : public ::testing::TestWithParam<FaultCase> {};

TEST_P(LBendFaults, reports_the_first_fault_with_its_kind_and_step)
{
    LBendInputs in = Defaults();
    GetParam().change(in);
    LBendTrace t;
    const CheckOutcome outcome = LBendCheck(in, &t);
    ASSERT_TRUE(std::holds_alternative<FpFault>(outcome)) << "the check gave a result";
    EXPECT_EQ(FaultName(std::get<FpFault>(outcome)), FaultName(GetParam().fault));
    EXPECT_EQ(t.faultAt, GetParam().faultAt);
    const auto keys = LBendStepKeys();
    EXPECT_NE(std::find(keys.begin(), keys.end(), t.faultAt), keys.end()) << "not a listed key: " << t.faultAt;
}

INSTANTIATE_TEST_SUITE_P(
    FailureHandling, LBendFaults,
    ::testing::Values(
        FaultCase{"straight_line_at_the_determinant",
                  [](LBendInputs &in) {
                      in.L2 = 0;
                      in.R = 0;
                  },
                  FpFault::DivisionByZero, "F1"},
        FaultCase{"no_legs_at_the_elastic_length",
                  [](LBendInputs &in) {
                      in.L1 = in.L2 = 0;
                      in.R = 50;
                  },
                  FpFault::DivisionByZero, "yc"},
        FaultCase{"wall_equal_to_the_diameter_with_a_bend", [](LBendInputs &in) { in.s = 159; },
                  FpFault::DivisionByZero, "lambda"},
        FaultCase{"no_wall_with_a_bend", [](LBendInputs &in) { in.s = 0; }, FpFault::DivisionByZero, "i"},
        FaultCase{"negative_wall_with_a_bend", [](LBendInputs &in) { in.s = -2; }, FpFault::InvalidOperation, "i"},
        FaultCase{"no_wall_and_a_sharp_corner",
                  [](LBendInputs &in) {
                      in.s = 0;
                      in.R = 0;
                  },
                  FpFault::InvalidOperation, "sigma"},
        FaultCase{"wall_equal_to_the_diameter_and_a_sharp_corner",
                  [](LBendInputs &in) {
                      in.s = 159;
                      in.R = 0;
                  },
                  FpFault::InvalidOperation, "sigma"},
        FaultCase{"zero_strength_at_the_reserve", [](LBendInputs &in) { in.f = 0; }, FpFault::DivisionByZero,
                  "reserve"},
        FaultCase{"modulus_beyond_single_precision", [](LBendInputs &in) { in.E = 1e33f; }, FpFault::Overflow, "E"},
        FaultCase{"every_box_zero", [](LBendInputs &in) { in = LBendInputs{}; }, FpFault::DivisionByZero, "yc"}),
    [](const auto &row) { return std::string(row.param.name); });

TEST(LBendCheck, a_result_has_no_fault_step)
{
    LBendTrace t;
    t.faultAt = "stale";
    ASSERT_TRUE(std::holds_alternative<CheckResult>(LBendCheck(Defaults(), &t)));
    EXPECT_TRUE(t.faultAt.empty());
}

TEST(LBendCheck, trace_holds_the_inputs_in_si_after_the_exchange_and_the_bend_test)
{
    LBendInputs in = Defaults();
    in.L1 = 5;
    in.L2 = 15;
    LBendTrace t;
    const CheckResult r = std::get<CheckResult>(LBendCheck(in, &t));
    const LBendUsedInputs &u = t.inputs;
    EXPECT_EQ(u.D, 0.159f);
    EXPECT_EQ(u.s, 0.0045f);
    EXPECT_EQ(u.R, 0.2f);
    EXPECT_EQ(u.L1, 15.0f) << "the longer leg is L1";
    EXPECT_EQ(u.L2, 5.0f);
    EXPECT_EQ(u.alpha, 0.00012f);
    EXPECT_EQ(u.E, 1.15e9f);
    EXPECT_EQ(u.f, 27.0f);
    EXPECT_EQ(u.tw, 90.0f);
    EXPECT_EQ(u.tm, 10.0f);
    EXPECT_EQ(t.allowable, r.allowable);
    EXPECT_EQ(t.stress, r.stress);
    EXPECT_EQ(t.reserve, r.reserve);

    struct Case {
        float typed;
        float used;
    };
    for (const Case c : {Case{50, 0}, Case{0, 0}, Case{-10, 0}, Case{79.5f, 0.0795f}, Case{80, 0.08f}}) {
        SCOPED_TRACE(c.typed);
        LBendInputs bend = Defaults();
        bend.R = c.typed;
        LBendTrace bt;
        ASSERT_TRUE(std::holds_alternative<CheckResult>(LBendCheck(bend, &bt)));
        EXPECT_EQ(bt.inputs.R, c.used);
        EXPECT_FALSE(std::signbit(bt.inputs.R));
    }
}

} // namespace
} // namespace dilatany
