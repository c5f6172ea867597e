#include "cli/binary_streams.h"

namespace dilatany::cli {

// POSIX streams never translate bytes.
void UseBinaryStandardStreams() {}

} // namespace dilatany::cli
