#include "core/uloop_check.h"

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

CheckOutcome ULoopCheck(const ULoopInputs &in, ULoopTrace *trace)
{
    using fp::Value;
    constexpr float kTwoPi = 6.28318530717958647692f;  // 6.2831854820251465
    const double halfPi = static_cast<double>(kPi) / 2.0;
    const double kBendMoment1 = 10.28;
    const double kBendMoment2 = 9.42;
    const double twoThirds = 2.0 / 3.0;

    CheckSteps step;
    // 1. Scaling to metres, pascals and the allowable stress.
    const float E = step("E", Value(in.E) * kPascalsPerMegapascal);
    const float D = step("D", Value(in.D) / kMillimetresPerMetre);
    const float s = step("s", Value(in.s) / kMillimetresPerMetre);
    float R = step("R", Value(in.R) / kMillimetresPerMetre);
    const float L1 = step("L1", Value(in.L1) / kMillimetresPerMetre);
    const float L2 = step("L2", Value(in.L2) / kMillimetresPerMetre);
    const float L3 = step("L3", Value(in.L3) / kMillimetresPerMetre);
    const float allowable = step("sigma_a", Value(in.f) / kSafetyFactor);
    const float Lf = in.Lf, alpha = in.alpha, tw = in.tw, tm = in.tm;

    // 2. A radius below half the diameter counts as a sharp corner.
    if (step("R", Value(D) / 2.0) > R)
        R = 0;

    // 3. Radii of the pipe section, kept in double.
    const Value ro = Value(D) / 2.0;
    const Value ri = ro - s;
    const Value rm = ro - Value(s) / 2.0;

    // 4. Second moment of area. r_o is half a single, so r_o⁴ by products is
    // correctly rounded; r_i is a double and r_i⁴ is settled against I.
    const Value ro4 = FourthOfSingle(ro);
    const Value ri4 = SettledPower(ri, 4.0, FourthByProducts, [&](double p) {
        return static_cast<float>(static_cast<double>(kPi) * (ro4.value() - p) / 4.0);
    });
    const float I = step("I", Value(kPi) * (ro4 - ri4) / 4.0);

    // 5., 6. Flexibility characteristic; always formed, 1 without a bend.
    float lambda = step("lambda", Value(s) * R / Square(rm));
    if (!(R > 0))
        lambda = 1;

    // 7. Stress intensification factor, at least 1.
    const Value lambdaI = SettledPower(lambda, IntensificationExponent(), LibraryPow, [](double p) {
        return static_cast<float>(p * kIntensificationCoefficient);
    });
    float i = step("i", lambdaI * kIntensificationCoefficient);
    if (i < 1)
        i = 1;

    // 8. Flexibility factor, no lower limit.
    const Value lambdaK = SettledPower(lambda, FlexibilityExponent(), LibraryPow, [](double p) {
        return static_cast<float>(p * kFlexibilityCoefficient);
    });
    const float k = step("k", lambdaK * kFlexibilityCoefficient);

    // 9. Thermal elongation between the fixed points.
    const float dL = step("dL", (Value(tw) - tm) * (Value(alpha) * Lf));

    // 10. Elastic length: the four quarter bends count k times their length.
    const float Ls = step("Ls", ((Value(2.0) * L2 + Value(2.0) * L1) + L3) + (Value(k) * kTwoPi) * R);

    // 11. Elastic centre, by the reciprocal of the elastic length.
    const Value A = (Square(R) * kTwoPi) * k
                    + ((((Value(halfPi) * k) * L2 + L2) + L3) * (Value(2.0) * R));
    const float yc = step("yc", ((Square(L2) + A) + Value(L3) * L2) * (Value(1.0) / Ls));

    // 12. Line moment of the loop about the pipe axis, summed in this order.
    const Value B1 = Square(R) * (((Value(k) * kBendMoment1) * L2 + Value(2.0) * L2) + L3);
    const Value B2 = (CubeOfSingle(R) * kBendMoment2) * k + B1;
    const Value B3 = Square(L2) * (Value(k) * kPi);
    const Value B4 = ((Value(2.0) * Square(L2) + B3) + (Value(4.0) * L2) * L3) * R + B2;
    const Value B5 = CubeOfSingle(L2) * twoThirds + B4;
    const Value B = Square(L2) * L3 + B5;

    // 13. Line moment used for the force.
    const float Ix = step("Ix", Square(yc) * Ls + B);

    // 14. The force that takes up the elongation.
    const float F = step("F", ((Value(E) * I) * dL) / Ix);

    // 15., 16. The larger distance from the elastic centre.
    const float y2 = step("y2", (Value(2.0) * R + L2) - yc);
    const float ymax = yc > y2 ? yc : y2;

    // 17. Largest bending moment.
    const float M = step("M", Value(F) * ymax);

    // 18. Stress at the outer fibre, intensified by the bends, in MPa.
    const float stress = step("sigma", ((Value(D) * M) * i) / (Value(2.0) * I) / kPascalsPerMegapascal);

    // 19. Stress reserve in percent.
    const float reserve = step("reserve", Value(kPercent) - (Value(stress) * kPercent) / allowable);

    if (trace) {
        *trace = {{D, s, R, L1, L2, L3, Lf, alpha, E, in.f, tw, tm},
                  I, lambda, i, k, dL, Ls, yc, B.value(), Ix, F, y2, ymax, M,
                  allowable, stress, reserve, step.faultAt()};
    }
    if (step.fault())
        return *step.fault();
    return CheckResult{allowable, stress, reserve};
}

} // namespace dilatany
