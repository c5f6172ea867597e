#include "core/number_text.h"
#include "core/uloop_check.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace dilatany {
namespace {

using testing::MatchesDigits;

ULoopInputs Defaults()
{
    // D, s, R, L1, L2, L3, Lf, α, E, f, t_w, t_m as the window's default texts give them.
    return {159, 4.5f, 200, 1000, 1500, 700, 60, 0.00012f, 1150, 27, 90, 10};
}

struct ResultCase {
    const char *name;
    void (*change)(ULoopInputs &);
    ResultTexts texts;
    friend void PrintTo(const ResultCase &c, std::ostream *os) { *os << c.name; }
};

class ULoopResults : public ::testing::TestWithParam<ResultCase> {};

TEST_P(ULoopResults, shows_the_worked_results)
{
    ULoopInputs in = Defaults();
    GetParam().change(in);
    const CheckOutcome outcome = ULoopCheck(in);
    ASSERT_TRUE(std::holds_alternative<CheckResult>(outcome));
    EXPECT_EQ(FormatResult(std::get<CheckResult>(outcome)), GetParam().texts);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, ULoopResults,
    ::testing::Values(
        ResultCase{"defaults", [](ULoopInputs &) {}, {"20.00", "5.33", "73", "Vyhovuje"}},
        ResultCase{"radius_50_is_a_sharp_corner", [](ULoopInputs &in) { in.R = 50; },
                   {"20.00", "8.46", "58", "Vyhovuje"}},
        ResultCase{"radius_79_is_a_sharp_corner", [](ULoopInputs &in) { in.R = 79; },
                   {"20.00", "8.46", "58", "Vyhovuje"}},
        ResultCase{"negative_radius_is_a_sharp_corner", [](ULoopInputs &in) { in.R = -30; },
                   {"20.00", "8.46", "58", "Vyhovuje"}},
        ResultCase{"radius_of_half_the_diameter_keeps_the_bend", [](ULoopInputs &in) { in.R = 79.5f; },
                   {"20.00", "12.36", "38", "Vyhovuje"}},
        ResultCase{"fixed_points_300_m_apart_fail", [](ULoopInputs &in) { in.Lf = 300; },
                   {"20.00", "26.63", "-33", "!!! Nevyhovuje !!!"}},
        ResultCase{"steel",
                   [](ULoopInputs &in) {
                       in.alpha = 0.000012f;
                       in.E = 210000;
                       in.f = 235;
                   },
                   {"174.07", "97.25", "44", "Vyhovuje"}},
        ResultCase{"cooling_gives_a_negative_stress",
                   [](ULoopInputs &in) {
                       in.tw = 10;
                       in.tm = 90;
                   },
                   {"20.00", "-5.33", "127", "Vyhovuje"}},
        ResultCase{"long_top_puts_the_largest_distance_at_the_run", [](ULoopInputs &in) { in.L3 = 3000; },
                   {"20.00", "3.60", "82", "Vyhovuje"}},
        ResultCase{"solid_section", [](ULoopInputs &in) { in.s = 79.5f; }, {"20.00", "6.42", "68", "Vyhovuje"}},
        ResultCase{"zero_modulus_gives_no_stress", [](ULoopInputs &in) { in.E = 0; },
                   {"20.00", "0.00", "100", "Vyhovuje"}},
        ResultCase{"zero_diameter_with_a_wall_gives_no_stress", [](ULoopInputs &in) { in.D = 0; },
                   {"20.00", "0.00", "100", "Vyhovuje"}}),
    [](const auto &row) { return std::string(row.param.name); });

TEST(ULoopCheck, default_inputs_give_the_worked_intermediates)
{
    ULoopTrace t;
    const CheckOutcome outcome = ULoopCheck(Defaults(), &t);
    ASSERT_TRUE(std::holds_alternative<CheckResult>(outcome));
    const CheckResult r = std::get<CheckResult>(outcome);
    EXPECT_TRUE(MatchesDigits(t.I, "6.52268e-6"));
    EXPECT_TRUE(MatchesDigits(t.lambda, "0.15081535"));
    EXPECT_TRUE(MatchesDigits(t.i, "3.1764753"));
    EXPECT_TRUE(MatchesDigits(t.k, "7.3531308"));
    EXPECT_TRUE(MatchesDigits(t.dL, "0.57599998"));
    EXPECT_TRUE(MatchesDigits(t.Ls, "14.940217"));
    EXPECT_TRUE(MatchesDigits(t.yc, "0.86733723"));
    EXPECT_TRUE(MatchesDigits(t.B, "21.197787"));
    EXPECT_TRUE(MatchesDigits(t.Ix, "32.436924"));
    EXPECT_TRUE(MatchesDigits(t.F, "133.20076"));
    EXPECT_TRUE(MatchesDigits(t.y2, "1.0326627"));
    EXPECT_EQ(t.ymax, t.y2);
    EXPECT_TRUE(MatchesDigits(t.M, "137.55147"));
    EXPECT_EQ(r.allowable, static_cast<float>(27 / 1.35));
    EXPECT_TRUE(MatchesDigits(r.stress, "5.3253942"));
    EXPECT_TRUE(MatchesDigits(r.reserve, "73.373032"));
}

TEST(ULoopCheck, sharp_corner_intermediates)
{
    ULoopInputs in = Defaults();
    in.R = 50;
    ULoopTrace t;
    const CheckOutcome outcome = ULoopCheck(in, &t);
    ASSERT_TRUE(std::holds_alternative<CheckResult>(outcome));
    const CheckResult r = std::get<CheckResult>(outcome);
    EXPECT_EQ(t.lambda, 1.0f);
    EXPECT_EQ(t.i, 1.0f);
    EXPECT_EQ(t.k, 1.52f);
    EXPECT_TRUE(MatchesDigits(t.Ls, "5.6999998"));
    EXPECT_TRUE(MatchesDigits(t.yc, "0.57894737"));
    EXPECT_TRUE(MatchesDigits(t.Ix, "5.7355261"));
    EXPECT_TRUE(MatchesDigits(t.F, "753.30896"));
    EXPECT_TRUE(MatchesDigits(t.y2, "0.92105263"));
    EXPECT_EQ(t.ymax, t.y2);
    EXPECT_TRUE(MatchesDigits(t.M, "693.83722"));
    EXPECT_TRUE(MatchesDigits(r.stress, "8.4566555"));
    EXPECT_TRUE(MatchesDigits(r.reserve, "57.716721"));
}

TEST(ULoopCheck, elastic_centre_beyond_the_top_distance_takes_the_moment)
{
    // A long top moves the elastic centre away from the pipe axis: y_c is
    // then the larger distance and the moment arm.
    ULoopInputs in = Defaults();
    in.L3 = 3000;
    ULoopTrace t;
    ASSERT_TRUE(std::holds_alternative<CheckResult>(ULoopCheck(in, &t)));
    EXPECT_TRUE(MatchesDigits(t.yc, "1.0051037"));
    EXPECT_TRUE(MatchesDigits(t.y2, "0.89489627"));
    EXPECT_EQ(t.ymax, t.yc);
    EXPECT_TRUE(MatchesDigits(t.M, "93.107643"));
}

TEST(ULoopCheck, far_fixed_points_fail_with_a_negative_reserve)
{
    ULoopInputs in = Defaults();
    in.Lf = 300;
    const CheckResult r = std::get<CheckResult>(ULoopCheck(in));
    EXPECT_TRUE(MatchesDigits(r.stress, "26.626972"));
    EXPECT_TRUE(MatchesDigits(r.reserve, "-33.134861"));
    EXPECT_TRUE(r.fails());
}

TEST(ULoopCheck, solid_section_raises_the_intensification_to_one)
{
    ULoopInputs in = Defaults();
    in.s = 79.5f;
    ULoopTrace t;
    ASSERT_TRUE(std::holds_alternative<CheckResult>(ULoopCheck(in, &t)));
    EXPECT_TRUE(MatchesDigits(t.lambda, "10.062894"));
    EXPECT_EQ(t.i, 1.0f);
    EXPECT_TRUE(MatchesDigits(t.k, "0.22194286"));
}

TEST(ULoopCheck, stress_equal_to_the_allowable_stress_passes)
{
    EXPECT_FALSE((CheckResult{20.0f, 20.0f, 0.0f}.fails()));
    EXPECT_TRUE((CheckResult{20.0f, std::nextafter(20.0f, 21.0f), 0.0f}.fails()));
    EXPECT_EQ(VerdictText(CheckResult{20.0f, 20.0f, 0.0f}), "Vyhovuje");
}

struct FaultCase {
    const char *name;
    void (*change)(ULoopInputs &);
    FpFault fault;
    const char *faultAt;  // the step that faults
    friend void PrintTo(const FaultCase &c, std::ostream *os) { *os << c.name; }
};

class ULoopFaults : public ::testing::TestWithParam<FaultCase> {};

TEST_P(ULoopFaults, reports_the_first_fault_with_its_kind_and_step)
{
    ULoopInputs in = Defaults();
    GetParam().change(in);
    ULoopTrace t;
    const CheckOutcome outcome = ULoopCheck(in, &t);
    ASSERT_TRUE(std::holds_alternative<FpFault>(outcome)) << "the check gave a result";
    EXPECT_EQ(FaultName(std::get<FpFault>(outcome)), FaultName(GetParam().fault));
    EXPECT_EQ(t.faultAt, GetParam().faultAt);
    const auto keys = ULoopStepKeys();
    EXPECT_NE(std::find(keys.begin(), keys.end(), t.faultAt), keys.end()) << "not a listed key: " << t.faultAt;
}

INSTANTIATE_TEST_SUITE_P(
    FailureHandling, ULoopFaults,
    ::testing::Values(
        FaultCase{"wall_equal_to_the_diameter", [](ULoopInputs &in) { in.s = 159; }, FpFault::DivisionByZero,
                  "lambda"},
        FaultCase{"wall_and_diameter_both_zero",
                  [](ULoopInputs &in) {
                      in.s = 0;
                      in.D = 0;
                  },
                  FpFault::InvalidOperation, "lambda"},
        FaultCase{"no_wall_with_a_bend", [](ULoopInputs &in) { in.s = 0; }, FpFault::DivisionByZero, "i"},
        FaultCase{"negative_wall_with_a_bend", [](ULoopInputs &in) { in.s = -1; }, FpFault::InvalidOperation, "i"},
        FaultCase{"no_wall_and_a_sharp_corner",
                  [](ULoopInputs &in) {
                      in.s = 0;
                      in.R = 50;
                  },
                  FpFault::InvalidOperation, "sigma"},
        FaultCase{"no_lengths_and_a_sharp_corner",
                  [](ULoopInputs &in) {
                      in.L1 = in.L2 = in.L3 = 0;
                      in.R = 50;
                  },
                  FpFault::DivisionByZero, "yc"},
        FaultCase{"only_the_run_and_a_sharp_corner",
                  [](ULoopInputs &in) {
                      in.L2 = in.L3 = 0;
                      in.R = 50;
                  },
                  FpFault::DivisionByZero, "F"},
        FaultCase{"zero_strength", [](ULoopInputs &in) { in.f = 0; }, FpFault::DivisionByZero, "reserve"},
        FaultCase{"modulus_beyond_single_precision", [](ULoopInputs &in) { in.E = 3.5e32f; }, FpFault::Overflow,
                  "E"},
        FaultCase{"every_box_zero", [](ULoopInputs &in) { in = ULoopInputs{}; }, FpFault::InvalidOperation,
                  "lambda"}),
    [](const auto &row) { return std::string(row.param.name); });

TEST(ULoopCheck, a_result_has_no_fault_step)
{
    ULoopTrace t;
    t.faultAt = "stale";
    ASSERT_TRUE(std::holds_alternative<CheckResult>(ULoopCheck(Defaults(), &t)));
    EXPECT_TRUE(t.faultAt.empty());
}

TEST(ULoopCheck, trace_holds_the_inputs_in_si_after_the_bend_test)
{
    ULoopTrace t;
    const CheckResult r = std::get<CheckResult>(ULoopCheck(Defaults(), &t));
    const ULoopUsedInputs &u = t.inputs;
    EXPECT_EQ(u.D, 0.159f);
    EXPECT_EQ(u.s, 0.0045f);
    EXPECT_EQ(u.R, 0.2f);
    EXPECT_EQ(u.L1, 1.0f);
    EXPECT_EQ(u.L2, 1.5f);
    EXPECT_EQ(u.L3, 0.7f);
    EXPECT_EQ(u.Lf, 60.0f);
    EXPECT_EQ(u.alpha, 0.00012f);
    EXPECT_EQ(u.E, 1.15e9f);
    EXPECT_EQ(u.f, 27.0f);
    EXPECT_EQ(u.tw, 90.0f);
    EXPECT_EQ(u.tm, 10.0f);
    EXPECT_EQ(t.allowable, r.allowable);
    EXPECT_EQ(t.stress, r.stress);
    EXPECT_EQ(t.reserve, r.reserve);

    // The bend test: below half the diameter the radius is used as 0, at
    // exactly half it stays.
    struct Case {
        float typed;
        float used;
    };
    for (const Case c : {Case{50, 0}, Case{79, 0}, Case{-30, 0}, Case{79.5f, 0.0795f}, Case{80, 0.08f}}) {
        SCOPED_TRACE(c.typed);
        ULoopInputs in = Defaults();
        in.R = c.typed;
        ULoopTrace bent;
        ASSERT_TRUE(std::holds_alternative<CheckResult>(ULoopCheck(in, &bent)));
        EXPECT_EQ(bent.inputs.R, c.used);
        EXPECT_FALSE(std::signbit(bent.inputs.R));
    }
}

} // namespace
} // namespace dilatany
