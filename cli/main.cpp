// dilatany-check: the stress checks of the program for input data files.
#include "cli/binary_streams.h"
#include "cli/checker.h"
#include "cli/output.h"

#include <cerrno>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char **argv)
{
    dilatany::cli::UseBinaryStandardStreams();
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int status = dilatany::cli::RunChecker(args, std::cin, std::cout, std::cerr);
    std::cout.flush();
    if (!std::cout)
        return dilatany::cli::OutputFailed(errno, std::cerr);
    return status;
}
