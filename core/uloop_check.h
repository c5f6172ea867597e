// The stress check of a U-shaped expansion loop (elastic-centre method).
#pragma once

#include "core/check_result.h"

#include <span>
#include <string_view>

namespace dilatany {

/// The twelve inputs as converted from the boxes, unscaled, in the units typed.
struct ULoopInputs {
    float D = 0;      // outer diameter, mm
    float s = 0;      // wall thickness, mm
    float R = 0;      // bend radius to the centre line, mm
    float L1 = 0;     // straight run beside the loop, mm
    float L2 = 0;     // leg of the loop, mm
    float L3 = 0;     // top of the loop, mm
    float Lf = 0;     // distance between the fixed points, m
    float alpha = 0;  // thermal expansion coefficient, 1/K
    float E = 0;      // modulus of elasticity, MPa
    float f = 0;      // strength, MPa
    float tw = 0;     // water temperature, °C
    float tm = 0;     // installation temperature, °C
};

/// The inputs as the check used them: scaled to SI and after the bend test.
struct ULoopUsedInputs {
    float D = 0;      // outer diameter, m
    float s = 0;      // wall thickness, m
    float R = 0;      // bend radius, m; 0 where the bend counts as a sharp corner
    float L1 = 0;     // m
    float L2 = 0;     // m
    float L3 = 0;     // m
    float Lf = 0;     // m
    float alpha = 0;  // 1/K
    float E = 0;      // Pa
    float f = 0;      // strength in MPa, as typed; the check divides it by 1.35
    float tw = 0;     // °C
    float tm = 0;     // °C
};

/// The named intermediates of a U-loop check, for tests and diagnostics, in SI
/// units (stresses in MPa, the reserve in %). After a fault, only the values
/// of the steps before `faultAt` describe the inputs: the faulting step and
/// the later ones hold whatever the remaining steps computed from the stored
/// values (a faulted step stores 0).
struct ULoopTrace {
    ULoopUsedInputs inputs;
    float I = 0, lambda = 0, i = 0, k = 0, dL = 0, Ls = 0, yc = 0;
    double B = 0;
    float Ix = 0, F = 0, y2 = 0, ymax = 0, M = 0;
    float allowable = 0;  // σ_a
    float stress = 0;     // σ
    float reserve = 0;
    /// The key of the first step that faulted (one of ULoopStepKeys()), empty
    /// when the check gave a result.
    std::string_view faultAt;
};

/// Checks a U-loop. Every named quantity is rounded to single precision at its
/// step; the arithmetic inside a step is done in double, in the written order.
CheckOutcome ULoopCheck(const ULoopInputs &in, ULoopTrace *trace = nullptr);

/// The keys a U-loop fault can be reported at, in the order of the steps:
/// the scalings "E", "D", "s", "R" (also the bend test), "L1", "L2", "L3",
/// "sigma_a", then "I", "lambda", "i", "k", "dL", "Ls", "yc" (the elastic
/// centre, its reciprocal of L_s included), "Ix" (with the line moment B),
/// "F", "y2", "M", "sigma", "reserve".
std::span<const std::string_view> ULoopStepKeys();

} // namespace dilatany
