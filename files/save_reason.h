// The words a failed save gives for the system's reason. Private to files/,
// declared apart so that the tests can reach it.
#pragma once

#include "files/platform.h"

#include <string>

namespace dilatany::files {

/// The reason of a failed save as the message shows it: Czech for the
/// reasons a user meets most, the system's own text for the rest.
std::string SaveFailureReason(const platform::SystemError &error);

} // namespace dilatany::files
