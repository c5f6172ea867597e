// Entry points for tests: the checks with every step evaluated in checked
// values, to compare with the plain-double evaluation the checks use.
#pragma once

#include "core/lbend_check.h"
#include "core/uloop_check.h"

namespace dilatany {

CheckOutcome ULoopCheckEveryStepChecked(const ULoopInputs &in, ULoopTrace *trace);
CheckOutcome LBendCheckEveryStepChecked(const LBendInputs &in, LBendTrace *trace);

} // namespace dilatany
