#include "core/lbend_check.h"

#include "core/check_internals.h"
#include "core/check_steps.h"
#include "core/powers.h"

#include <utility>

namespace dilatany {
namespace {

constexpr std::string_view kStepKeys[] = {
    "D", "s", "R", "E", "I", "lambda", "i", "k", "Ls", "yc", "xc", "Ix",
    "Iy", "Ixy", "d1", "d2", "F1", "F2", "MO", "M2", "sigma_a", "sigma", "reserve",
};

} // namespace

std::span<const std::string_view> LBendStepKeys() { return kStepKeys; }

namespace {

template <bool kCheckEveryStep>
CheckOutcome Check(const LBendInputs &in, LBendTrace *trace)
{
    const double halfPi = static_cast<double>(kPi) / 2.0;
    // First moment, second moment and product of a quarter circle of unit
    // radius about the tangents at its ends, rounded as the method gives them.
    const double kFirstMoment = 0.57;
    const double kSecondMoment = 0.355;
    const double kProduct = 0.07;

    // Each step is a generic lambda over its number type V (see CheckSteps).
    CheckStepsOf<kCheckEveryStep> step;

    // 1. The longer leg becomes L1.
    float L1 = in.L1, L2 = in.L2;
    if (L2 > L1)
        std::swap(L1, L2);

    // 2. Bend test in millimetres: a radius below half the diameter is a sharp corner.
    float R = in.R;
    if (static_cast<double>(in.D) / 2.0 > R)
        R = 0;

    // 3. Scaling to metres and pascals.
    const float D = step("D", [&](auto t) { using V = decltype(t); return V(in.D) / kMillimetresPerMetre; });
    const float s = step("s", [&](auto t) { using V = decltype(t); return V(in.s) / kMillimetresPerMetre; });
    R = step("R", [&](auto t) { using V = decltype(t); return V(R) / kMillimetresPerMetre; });
    const float E = step("E", [&](auto t) { using V = decltype(t); return V(in.E) * kPascalsPerMegapascal; });
    const float alpha = in.alpha, tw = in.tw, tm = in.tm;

    // 4. Second moment of area of the pipe section. r_o is half a single, so
    // r_o⁴ by products is correctly rounded; r_i is a double and r_i⁴ is
    // settled against I.
    const float I = step("I", [&](auto t) {
        using V = decltype(t);
        const V ro = V(D) / 2.0;
        const V ri = V(D) / 2.0 - s;
        const V ro4 = FourthOfSingle(ro);
        const V ri4 = SettledPower(ri, 4.0, FourthByProducts, [&](double p) {
            return static_cast<float>(static_cast<double>(kPi) * (PlainValue(ro4) - p) / 4.0);
        });
        return V(kPi) * (ro4 - ri4) / 4.0;
    });

    // 5. Flexibility characteristic; no division without a bend.
    float lambda = 1;
    if (R > 0) {
        lambda = step("lambda", [&](auto t) {
            using V = decltype(t);
            const V rm = V(D) / 2.0 - V(s) / 2.0;
            return V(s) * R / Square(rm);
        });
    }

    // 6. Stress intensification factor, at least 1.
    float i = step("i", [&](auto t) {
        using V = decltype(t);
        return V(kIntensificationCoefficient)
               * SettledPower(V(lambda), IntensificationExponent(), LibraryPow,
                              [](double p) { return static_cast<float>(kIntensificationCoefficient * p); });
    });
    if (i < 1)
        i = 1;

    // 7. Flexibility factor, no lower limit.
    const float k = step("k", [&](auto t) {
        using V = decltype(t);
        return V(kFlexibilityCoefficient)
               * SettledPower(V(lambda), FlexibilityExponent(), LibraryPow,
                              [](double p) { return static_cast<float>(kFlexibilityCoefficient * p); });
    });

    // 8. Elastic length: the bend counts k times its length.
    const float Ls = step("Ls", [&](auto t) { using V = decltype(t); return (V(halfPi) * R) * k + (V(L2) + L1); });

    // 9. Elastic centre; the reciprocal of the elastic length stays in double.
    const auto q = [&](auto t) { using V = decltype(t); return V(1.0) / Ls; };
    const auto bendFirst = [&](auto t) { using V = decltype(t); return (V(kFirstMoment) * k) * Square(V(R)); };
    const float yc = step("yc", [&](auto t) {
        using V = decltype(t);
        return ((Square(V(L1)) / 2.0 + bendFirst(t)) + V(R) * L1) * q(t);
    });
    const float xc = step("xc", [&](auto t) {
        using V = decltype(t);
        return ((Square(V(L2)) / 2.0 + bendFirst(t)) + V(R) * L2) * q(t);
    });

    // 10. Second moments of the line about the elastic centre, from the bend outwards.
    const auto bendSecond = [&](auto t) { using V = decltype(t); return (V(kSecondMoment) * k) * CubeOfSingle(V(R)); };
    const float Ix = step("Ix", [&](auto t) {
        using V = decltype(t);
        return (((bendSecond(t) + Square(V(R)) * L1) + Square(V(L1)) * R) + CubeOfSingle(V(L1)) / 3.0)
               - Square(V(yc)) * Ls;
    });
    const float Iy = step("Iy", [&](auto t) {
        using V = decltype(t);
        return (((bendSecond(t) + Square(V(R)) * L2) + Square(V(L2)) * R) + CubeOfSingle(V(L2)) / 3.0)
               - Square(V(xc)) * Ls;
    });
    const float Ixy = step("Ixy", [&](auto t) {
        using V = decltype(t);
        return (V(kProduct) * k) * CubeOfSingle(V(R)) - (V(yc) * Ls) * xc;
    });

    // 11. Free expansion from the corner to each fixed point.
    const float d1 = step("d1", [&](auto t) { using V = decltype(t); return ((V(R) + L1) * alpha) * (V(tw) - tm); });
    const float d2 = step("d2", [&](auto t) { using V = decltype(t); return ((V(R) + L2) * alpha) * (V(tw) - tm); });

    // 12. Forces at the elastic centre by Cramer's rule.
    const auto det = [&](auto t) { using V = decltype(t); return V(Iy) * Ix - Square(V(Ixy)); };
    const auto EI = [&](auto t) { using V = decltype(t); return V(E) * I; };
    const float F1 = step("F1", [&](auto t) {
        using V = decltype(t);
        return ((V(Ix) * d1 + V(Ixy) * d2) * EI(t)) / det(t);
    });
    const float F2 = step("F2", [&](auto t) {
        using V = decltype(t);
        return ((V(Iy) * d2 + V(Ixy) * d1) * EI(t)) / det(t);
    });

    // 13. The larger signed moment: about the corner or about the end of leg 2.
    const float MO = step("MO", [&](auto t) { using V = decltype(t); return V(xc) * F1 + V(yc) * F2; });
    const float M2 = step("M2", [&](auto t) { using V = decltype(t); return ((V(R) + L2) - xc) * F1 - V(yc) * F2; });
    const float M = MO > M2 ? MO : M2;

    // 14. Allowable stress.
    const float allowable = step("sigma_a", [&](auto t) { using V = decltype(t); return V(in.f) / kSafetyFactor; });

    // 15. Stress at the outer fibre, intensified by the bend, in MPa.
    const float stress = step("sigma", [&](auto t) {
        using V = decltype(t);
        return ((V(D) * M) * i) / (V(2.0) * I) / kPascalsPerMegapascal;
    });

    // 16. Stress reserve in percent.
    const float reserve = step("reserve", [&](auto t) {
        using V = decltype(t);
        return V(kPercent) - (V(stress) * kPercent) / allowable;
    });

    if (trace) {
        *trace = {{D, s, R, L1, L2, alpha, E, in.f, tw, tm},
                  I, lambda, i, k, Ls, xc, yc, Ix, Iy, Ixy, d1, d2, F1, F2, MO, M2, M,
                  allowable, stress, reserve, step.faultAt()};
    }
    if (step.fault())
        return *step.fault();
    return CheckResult{allowable, stress, reserve};
}

} // namespace

CheckOutcome LBendCheck(const LBendInputs &in, LBendTrace *trace) { return Check<false>(in, trace); }

CheckOutcome LBendCheckEveryStepChecked(const LBendInputs &in, LBendTrace *trace) { return Check<true>(in, trace); }

} // namespace dilatany
