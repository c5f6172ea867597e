#include "cli/system.h"

namespace dilatany::cli {

// POSIX streams never translate bytes.
void UseBinaryStandardStreams() {}

std::vector<std::string> CommandLineArguments(int argc, char **argv)
{
    return {argv + (argc > 0 ? 1 : 0), argv + argc};
}

// A file name is bytes; no encoding is assumed, so a name that is not UTF-8
// still opens.
std::filesystem::path PathFromArgument(const std::string &argument)
{
    return std::filesystem::path(argument);
}

} // namespace dilatany::cli
