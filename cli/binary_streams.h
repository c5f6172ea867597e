// The standard streams of dilatany-check as plain bytes, one source per
// platform (binary_streams_posix.cpp, binary_streams_windows.cpp).
#pragma once

namespace dilatany::cli {

/// Makes standard input, output and error pass bytes unchanged, so that the
/// output is the same on every platform: lines end with LF alone, and an
/// input read from "-" is not cut at a Ctrl+Z byte or changed at a CR LF.
/// Call before anything is read or written.
void UseBinaryStandardStreams();

} // namespace dilatany::cli
