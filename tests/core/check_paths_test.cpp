// The checks evaluate each step in plain double and only a step that does not
// give a finite result again in checked values. Over random inputs, from
// everyday ones to zeros, negatives and the extremes of single precision,
// that must report exactly what checking every step reports: the same
// outcome, fault kind, faulting step and every traced value, bit for bit.
#include "core/check_internals.h"
#include "core/evaluate.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace dilatany {
namespace {

float RandomInput(std::mt19937_64 &rng, float typical)
{
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    switch (rng() % 8) {
    case 0: return 0.0f;
    case 1: return typical;
    case 2: return typical * static_cast<float>(0.5 + unit(rng));
    case 3: return -typical * static_cast<float>(unit(rng));
    case 4: return (rng() % 2 ? 1.0f : -1.0f) * static_cast<float>(std::exp(unit(rng) * std::log(3.4e38)));
    case 5: return static_cast<float>(std::exp(-unit(rng) * 103.0));  // down to about 1e-45
    case 6: return rng() % 2 ? FLT_MAX : std::numeric_limits<float>::denorm_min();
    default: return static_cast<float>(std::round(unit(rng) * 4.0)) * typical;
    }
}

bool SameBits(const CheckTrace &a, const CheckTrace &b)
{
    const auto bits = [](const CheckTrace &t) {
        std::vector<std::uint64_t> v;
        for (const TraceValue &q : TraceQuantities(t))
            v.push_back(std::bit_cast<std::uint64_t>(q.value));
        for (const TraceValue &q : TraceInputs(t))
            v.push_back(std::bit_cast<std::uint64_t>(q.value));
        std::visit(
            [&](const auto &x) {
                for (const float f : {x.allowable, x.stress, x.reserve})
                    v.push_back(std::bit_cast<std::uint32_t>(f));
            },
            t);
        return v;
    };
    const auto key = [](const CheckTrace &t) { return std::visit([](const auto &x) { return x.faultAt; }, t); };
    return bits(a) == bits(b) && key(a) == key(b);
}

template <typename Outcome>
std::string Describe(const Outcome &o)
{
    if (const auto *f = std::get_if<FpFault>(&o))
        return std::string(FaultName(*f));
    const CheckResult &r = std::get<CheckResult>(o);
    return std::to_string(r.allowable) + " " + std::to_string(r.stress) + " " + std::to_string(r.reserve);
}

bool SameOutcome(const CheckOutcome &a, const CheckOutcome &b)
{
    if (a.index() != b.index())
        return false;
    if (const auto *f = std::get_if<FpFault>(&a))
        return *f == std::get<FpFault>(b);
    const CheckResult &x = std::get<CheckResult>(a), &y = std::get<CheckResult>(b);
    return std::bit_cast<std::uint32_t>(x.allowable) == std::bit_cast<std::uint32_t>(y.allowable)
           && std::bit_cast<std::uint32_t>(x.stress) == std::bit_cast<std::uint32_t>(y.stress)
           && std::bit_cast<std::uint32_t>(x.reserve) == std::bit_cast<std::uint32_t>(y.reserve);
}

TEST(CheckPaths, plain_evaluation_reports_what_checking_every_step_reports)
{
    std::mt19937_64 rng(7);
    int faults = 0;
    for (int n = 0; n < 200000; ++n) {
        ULoopInputs u{RandomInput(rng, 159),  RandomInput(rng, 4.5f), RandomInput(rng, 200),
                      RandomInput(rng, 1000), RandomInput(rng, 1500), RandomInput(rng, 700),
                      RandomInput(rng, 60),   RandomInput(rng, 0.00012f), RandomInput(rng, 1150),
                      RandomInput(rng, 27),   RandomInput(rng, 90),   RandomInput(rng, 10)};
        ULoopTrace fast, checked;
        const CheckOutcome a = ULoopCheck(u, &fast);
        const CheckOutcome b = ULoopCheckEveryStepChecked(u, &checked);
        ASSERT_TRUE(SameOutcome(a, b)) << "U-loop case " << n << ": " << Describe(a) << " vs " << Describe(b);
        ASSERT_TRUE(SameBits(CheckTrace(fast), CheckTrace(checked))) << "U-loop case " << n << " at " << fast.faultAt << " / " << checked.faultAt;
        faults += std::holds_alternative<FpFault>(a);

        LBendInputs l{RandomInput(rng, 159), RandomInput(rng, 4.5f),     RandomInput(rng, 200),
                      RandomInput(rng, 15),  RandomInput(rng, 5),        RandomInput(rng, 0.00012f),
                      RandomInput(rng, 1150), RandomInput(rng, 27),      RandomInput(rng, 90),
                      RandomInput(rng, 10)};
        LBendTrace lf, lc;
        const CheckOutcome c = LBendCheck(l, &lf);
        const CheckOutcome d = LBendCheckEveryStepChecked(l, &lc);
        ASSERT_TRUE(SameOutcome(c, d)) << "L-bend case " << n << ": " << Describe(c) << " vs " << Describe(d);
        ASSERT_TRUE(SameBits(CheckTrace(lf), CheckTrace(lc))) << "L-bend case " << n << " at " << lf.faultAt << " / " << lc.faultAt;
        faults += std::holds_alternative<FpFault>(c);
    }
    // Both paths are exercised: many cases fault, many compute.
    EXPECT_GT(faults, 40000);
    EXPECT_LT(faults, 360000);
}

} // namespace
} // namespace dilatany
