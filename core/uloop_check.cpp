#include "core/uloop_check.h"

#include "core/check_internals.h"
#include "core/check_steps.h"
#include "core/powers.h"

namespace dilatany {
namespace {

constexpr std::string_view kStepKeys[] = {
    "E", "D", "s", "R", "L1", "L2", "L3", "sigma_a", "I", "lambda", "i",
    "k", "dL", "Ls", "yc", "Ix", "F", "y2", "M", "sigma", "reserve",
};

} // namespace

std::span<const std::string_view> ULoopStepKeys() { return kStepKeys; }

namespace {

template <bool kCheckEveryStep>
CheckOutcome Check(const ULoopInputs &in, ULoopTrace *trace)
{
    using fp::Value;
    constexpr float kTwoPi = 6.28318530717958647692f;  // 6.2831854820251465
    const double halfPi = static_cast<double>(kPi) / 2.0;
    const double kBendMoment1 = 10.28;
    const double kBendMoment2 = 9.42;
    const double twoThirds = 2.0 / 3.0;

    // Each step is a generic lambda over its number type V (see CheckSteps).
    CheckStepsOf<kCheckEveryStep> step;
    // 1. Scaling to metres, pascals and the allowable stress.
    const float E = step("E", [&](auto t) { using V = decltype(t); return V(in.E) * kPascalsPerMegapascal; });
    const float D = step("D", [&](auto t) { using V = decltype(t); return V(in.D) / kMillimetresPerMetre; });
    const float s = step("s", [&](auto t) { using V = decltype(t); return V(in.s) / kMillimetresPerMetre; });
    float R = step("R", [&](auto t) { using V = decltype(t); return V(in.R) / kMillimetresPerMetre; });
    const float L1 = step("L1", [&](auto t) { using V = decltype(t); return V(in.L1) / kMillimetresPerMetre; });
    const float L2 = step("L2", [&](auto t) { using V = decltype(t); return V(in.L2) / kMillimetresPerMetre; });
    const float L3 = step("L3", [&](auto t) { using V = decltype(t); return V(in.L3) / kMillimetresPerMetre; });
    const float allowable = step("sigma_a", [&](auto t) { using V = decltype(t); return V(in.f) / kSafetyFactor; });
    const float Lf = in.Lf, alpha = in.alpha, tw = in.tw, tm = in.tm;

    // 2. A radius below half the diameter counts as a sharp corner.
    if (step("R", [&](auto t) { using V = decltype(t); return V(D) / 2.0; }) > R)
        R = 0;

    // 3. Radii of the pipe section, kept in double.
    const auto ro = [&](auto t) { using V = decltype(t); return V(D) / 2.0; };
    const auto ri = [&](auto t) { return ro(t) - s; };
    const auto rm = [&](auto t) { using V = decltype(t); return ro(t) - V(s) / 2.0; };

    // 4. Second moment of area. r_o is half a single, so r_o⁴ by products is
    // correctly rounded; r_i is a double and r_i⁴ is settled against I.
    const float I = step("I", [&](auto t) {
        using V = decltype(t);
        const V ro4 = FourthOfSingle(ro(t));
        const V ri4 = SettledPower(ri(t), 4.0, FourthByProducts, [&](double p) {
            return static_cast<float>(static_cast<double>(kPi) * (PlainValue(ro4) - p) / 4.0);
        });
        return V(kPi) * (ro4 - ri4) / 4.0;
    });

    // 5., 6. Flexibility characteristic; always formed, 1 without a bend.
    float lambda = step("lambda", [&](auto t) { using V = decltype(t); return V(s) * R / Square(rm(t)); });
    if (!(R > 0))
        lambda = 1;

    // 7. Stress intensification factor, at least 1.
    float i = step("i", [&](auto t) {
        using V = decltype(t);
        return SettledPower(V(lambda), IntensificationExponent(), LibraryPow,
                            [](double p) { return static_cast<float>(p * kIntensificationCoefficient); })
               * kIntensificationCoefficient;
    });
    if (i < 1)
        i = 1;

    // 8. Flexibility factor, no lower limit.
    const float k = step("k", [&](auto t) {
        using V = decltype(t);
        return SettledPower(V(lambda), FlexibilityExponent(), LibraryPow,
                            [](double p) { return static_cast<float>(p * kFlexibilityCoefficient); })
               * kFlexibilityCoefficient;
    });

    // 9. Thermal elongation between the fixed points.
    const float dL = step("dL", [&](auto t) { using V = decltype(t); return (V(tw) - tm) * (V(alpha) * Lf); });

    // 10. Elastic length: the four quarter bends count k times their length.
    const float Ls = step("Ls", [&](auto t) {
        using V = decltype(t);
        return ((V(2.0) * L2 + V(2.0) * L1) + L3) + (V(k) * kTwoPi) * R;
    });

    // 11. Elastic centre, by the reciprocal of the elastic length.
    const float yc = step("yc", [&](auto t) {
        using V = decltype(t);
        const V A = (Square(V(R)) * kTwoPi) * k + ((((V(halfPi) * k) * L2 + L2) + L3) * (V(2.0) * R));
        return ((Square(V(L2)) + A) + V(L3) * L2) * (V(1.0) / Ls);
    });

    // 12. Line moment of the loop about the pipe axis, summed in this order.
    const auto lineMoment = [&](auto t) {
        using V = decltype(t);
        const V B1 = Square(V(R)) * (((V(k) * kBendMoment1) * L2 + V(2.0) * L2) + L3);
        const V B2 = (CubeOfSingle(V(R)) * kBendMoment2) * k + B1;
        const V B3 = Square(V(L2)) * (V(k) * kPi);
        const V B4 = ((V(2.0) * Square(V(L2)) + B3) + (V(4.0) * L2) * L3) * R + B2;
        const V B5 = CubeOfSingle(V(L2)) * twoThirds + B4;
        return Square(V(L2)) * L3 + B5;
    };

    // 13. Line moment used for the force.
    const float Ix = step("Ix", [&](auto t) { using V = decltype(t); return Square(V(yc)) * Ls + lineMoment(t); });

    // 14. The force that takes up the elongation.
    const float F = step("F", [&](auto t) { using V = decltype(t); return ((V(E) * I) * dL) / Ix; });

    // 15., 16. The larger distance from the elastic centre.
    const float y2 = step("y2", [&](auto t) { using V = decltype(t); return (V(2.0) * R + L2) - yc; });
    const float ymax = yc > y2 ? yc : y2;

    // 17. Largest bending moment.
    const float M = step("M", [&](auto t) { using V = decltype(t); return V(F) * ymax; });

    // 18. Stress at the outer fibre, intensified by the bends, in MPa.
    const float stress = step("sigma", [&](auto t) {
        using V = decltype(t);
        return ((V(D) * M) * i) / (V(2.0) * I) / kPascalsPerMegapascal;
    });

    // 19. Stress reserve in percent.
    const float reserve = step("reserve", [&](auto t) {
        using V = decltype(t);
        return V(kPercent) - (V(stress) * kPercent) / allowable;
    });

    if (trace) {
        *trace = {{D, s, R, L1, L2, L3, Lf, alpha, E, in.f, tw, tm},
                  I, lambda, i, k, dL, Ls, yc, lineMoment(0.0), Ix, F, y2, ymax, M,
                  allowable, stress, reserve, step.faultAt()};
    }
    if (step.fault())
        return *step.fault();
    return CheckResult{allowable, stress, reserve};
}

} // namespace

CheckOutcome ULoopCheck(const ULoopInputs &in, ULoopTrace *trace) { return Check<false>(in, trace); }

CheckOutcome ULoopCheckEveryStepChecked(const ULoopInputs &in, ULoopTrace *trace) { return Check<true>(in, trace); }

} // namespace dilatany
