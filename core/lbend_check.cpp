#include "core/lbend_check.h"

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

CheckOutcome LBendCheck(const LBendInputs &in, LBendTrace *trace)
{
    using fp::Value;
    const double halfPi = static_cast<double>(kPi) / 2.0;
    // First moment, second moment and product of a quarter circle of unit
    // radius about the tangents at its ends, rounded as the method gives them.
    const double kFirstMoment = 0.57;
    const double kSecondMoment = 0.355;
    const double kProduct = 0.07;

    CheckSteps step;

    // 1. The longer leg becomes L1.
    float L1 = in.L1, L2 = in.L2;
    if (L2 > L1)
        std::swap(L1, L2);

    // 2. Bend test in millimetres: a radius below half the diameter is a sharp corner.
    float R = in.R;
    if (static_cast<double>(in.D) / 2.0 > R)
        R = 0;

    // 3. Scaling to metres and pascals.
    const float D = step("D", Value(in.D) / kMillimetresPerMetre);
    const float s = step("s", Value(in.s) / kMillimetresPerMetre);
    R = step("R", Value(R) / kMillimetresPerMetre);
    const float E = step("E", Value(in.E) * kPascalsPerMegapascal);
    const float alpha = in.alpha, tw = in.tw, tm = in.tm;

    // 4. Second moment of area of the pipe section.
    const Value ro = Value(D) / 2.0;
    const Value ri = Value(D) / 2.0 - s;
    // r_o is half a single, so r_o⁴ by products is correctly rounded; r_i is
    // a double and r_i⁴ is settled against I.
    const Value ro4 = FourthOfSingle(ro);
    const Value ri4 = SettledPower(ri, 4.0, FourthByProducts, [&](double p) {
        return static_cast<float>(static_cast<double>(kPi) * (ro4.value() - p) / 4.0);
    });
    const float I = step("I", Value(kPi) * (ro4 - ri4) / 4.0);

    // 5. Flexibility characteristic; no division without a bend.
    float lambda = 1;
    if (R > 0) {
        const Value rm = Value(D) / 2.0 - Value(s) / 2.0;
        lambda = step("lambda", Value(s) * R / Square(rm));
    }

    // 6. Stress intensification factor, at least 1.
    const Value lambdaI = SettledPower(lambda, IntensificationExponent(), LibraryPow, [](double p) {
        return static_cast<float>(kIntensificationCoefficient * p);
    });
    float i = step("i", Value(kIntensificationCoefficient) * lambdaI);
    if (i < 1)
        i = 1;

    // 7. Flexibility factor, no lower limit.
    const Value lambdaK = SettledPower(lambda, FlexibilityExponent(), LibraryPow, [](double p) {
        return static_cast<float>(kFlexibilityCoefficient * p);
    });
    const float k = step("k", Value(kFlexibilityCoefficient) * lambdaK);

    // 8. Elastic length: the bend counts k times its length.
    const float Ls = step("Ls", (Value(halfPi) * R) * k + (Value(L2) + L1));

    // 9. Elastic centre; the reciprocal of the elastic length stays in double.
    const Value q = Value(1.0) / Ls;
    const Value bendFirst = (Value(kFirstMoment) * k) * Square(R);
    const float yc = step("yc", ((Square(L1) / 2.0 + bendFirst) + Value(R) * L1) * q);
    const float xc = step("xc", ((Square(L2) / 2.0 + bendFirst) + Value(R) * L2) * q);

    // 10. Second moments of the line about the elastic centre, from the bend outwards.
    const Value bendSecond = (Value(kSecondMoment) * k) * CubeOfSingle(R);
    const float Ix = step("Ix", (((bendSecond + Square(R) * L1) + Square(L1) * R) + CubeOfSingle(L1) / 3.0)
                          - Square(yc) * Ls);
    const float Iy = step("Iy", (((bendSecond + Square(R) * L2) + Square(L2) * R) + CubeOfSingle(L2) / 3.0)
                          - Square(xc) * Ls);
    const float Ixy = step("Ixy", (Value(kProduct) * k) * CubeOfSingle(R) - (Value(yc) * Ls) * xc);

    // 11. Free expansion from the corner to each fixed point.
    const float d1 = step("d1", ((Value(R) + L1) * alpha) * (Value(tw) - tm));
    const float d2 = step("d2", ((Value(R) + L2) * alpha) * (Value(tw) - tm));

    // 12. Forces at the elastic centre by Cramer's rule.
    const Value det = Value(Iy) * Ix - Square(Ixy);
    const Value EI = Value(E) * I;
    const float F1 = step("F1", ((Value(Ix) * d1 + Value(Ixy) * d2) * EI) / det);
    const float F2 = step("F2", ((Value(Iy) * d2 + Value(Ixy) * d1) * EI) / det);

    // 13. The larger signed moment: about the corner or about the end of leg 2.
    const float MO = step("MO", Value(xc) * F1 + Value(yc) * F2);
    const float M2 = step("M2", ((Value(R) + L2) - xc) * F1 - Value(yc) * F2);
    const float M = MO > M2 ? MO : M2;

    // 14. Allowable stress.
    const float allowable = step("sigma_a", Value(in.f) / kSafetyFactor);

    // 15. Stress at the outer fibre, intensified by the bend, in MPa.
    const float stress = step("sigma", ((Value(D) * M) * i) / (Value(2.0) * I) / kPascalsPerMegapascal);

    // 16. Stress reserve in percent.
    const float reserve = step("reserve", Value(kPercent) - (Value(stress) * kPercent) / allowable);

    if (trace) {
        *trace = {{D, s, R, L1, L2, alpha, E, in.f, tw, tm},
                  I, lambda, i, k, Ls, xc, yc, Ix, Iy, Ixy, d1, d2, F1, F2, MO, M2, M,
                  allowable, stress, reserve, step.faultAt()};
    }
    if (step.fault())
        return *step.fault();
    return CheckResult{allowable, stress, reserve};
}

} // namespace dilatany
