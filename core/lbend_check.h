// The stress check of an L-shaped compensator (elastic-centre method).
#pragma once

#include "core/check_result.h"

#include <span>
#include <string_view>

namespace dilatany {

/// The ten inputs as converted from the boxes, unscaled, in the units typed.
struct LBendInputs {
    float D = 0;      // outside diameter, mm
    float s = 0;      // wall thickness, mm
    float R = 0;      // bend radius to the centre line, mm
    float L1 = 0;     // length of leg 1, m
    float L2 = 0;     // length of leg 2, m
    float alpha = 0;  // thermal expansion coefficient, 1/K
    float E = 0;      // modulus of elasticity, MPa
    float f = 0;      // strength, MPa
    float tw = 0;     // water temperature, °C
    float tm = 0;     // installation temperature, °C
};

/// The inputs as the check used them: after the leg exchange and the bend
/// test, scaled to SI.
struct LBendUsedInputs {
    float D = 0;      // outside diameter, m
    float s = 0;      // wall thickness, m
    float R = 0;      // bend radius, m; 0 where the bend counts as a sharp corner
    float L1 = 0;     // the longer leg, m
    float L2 = 0;     // the shorter leg (or the equal one), m
    float alpha = 0;  // 1/K
    float E = 0;      // Pa
    float f = 0;      // strength in MPa, as typed; the check divides it by 1.35
    float tw = 0;     // °C
    float tm = 0;     // °C
};

/// The named intermediates of an L-bend check, for tests and diagnostics, in
/// SI units (stresses in MPa, the reserve in %). After a fault, only the
/// values of the steps before `faultAt` describe the inputs (see ULoopTrace).
struct LBendTrace {
    LBendUsedInputs inputs;
    float I = 0, lambda = 0, i = 0, k = 0, Ls = 0, xc = 0, yc = 0;
    float Ix = 0, Iy = 0, Ixy = 0, d1 = 0, d2 = 0, F1 = 0, F2 = 0, MO = 0, M2 = 0, M = 0;
    float allowable = 0;  // σ_a
    float stress = 0;     // σ
    float reserve = 0;
    /// The key of the first step that faulted (one of LBendStepKeys()), empty
    /// when the check gave a result.
    std::string_view faultAt;
};

/// Checks an L-bend. Rounding as in ULoopCheck; the reciprocal of the elastic
/// length is kept in double.
CheckOutcome LBendCheck(const LBendInputs &in, LBendTrace *trace = nullptr);

/// The keys an L-bend fault can be reported at, in the order of the steps:
/// the scalings "D", "s", "R", "E", then "I", "lambda", "i", "k", "Ls", "yc"
/// (the elastic centre, with the reciprocal of L_s), "xc", "Ix", "Iy", "Ixy",
/// "d1", "d2", "F1" (with the determinant), "F2", "MO", "M2", "sigma_a",
/// "sigma", "reserve".
std::span<const std::string_view> LBendStepKeys();

} // namespace dilatany
