#include "cli/binary_streams.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>

namespace dilatany::cli {

// In text mode the C runtime writes LF as CR LF and takes a Ctrl+Z byte on
// input for the end of the file.
void UseBinaryStandardStreams()
{
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

} // namespace dilatany::cli
