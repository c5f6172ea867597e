// The stress check of an L-shaped compensator (elastic-centre method).
#pragma once

#include "core/check_result.h"

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

/// The named intermediates of an L-bend check, for tests and diagnostics.
struct LBendTrace {
    float I = 0, lambda = 0, i = 0, k = 0, Ls = 0, xc = 0, yc = 0;
    float Ix = 0, Iy = 0, Ixy = 0, d1 = 0, d2 = 0, F1 = 0, F2 = 0, MO = 0, M2 = 0, M = 0;
};

/// Checks an L-bend. Rounding as in ULoopCheck; the reciprocal of the elastic
/// length is kept in double.
CheckOutcome LBendCheck(const LBendInputs &in, LBendTrace *trace = nullptr);

} // namespace dilatany
