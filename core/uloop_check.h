// The stress check of a U-shaped expansion loop (elastic-centre method).
#pragma once

#include "core/check_result.h"

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

/// The named intermediates of a U-loop check, for tests and diagnostics.
/// Fields after the step that faulted keep their zero.
struct ULoopTrace {
    float I = 0, lambda = 0, i = 0, k = 0, dL = 0, Ls = 0, yc = 0;
    double B = 0;
    float Ix = 0, F = 0, y2 = 0, ymax = 0, M = 0;
};

/// Checks a U-loop. Every named quantity is rounded to single precision at its
/// step; the arithmetic inside a step is done in double, in the written order.
CheckOutcome ULoopCheck(const ULoopInputs &in, ULoopTrace *trace = nullptr);

} // namespace dilatany
