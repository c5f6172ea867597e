// What dilatany-check needs of the operating system, one source per platform
// (system_posix.cpp, system_windows.cpp): byte-exact standard streams, the
// arguments as UTF-8, and file names from those arguments.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace dilatany::cli {

/// Makes standard input, output and error pass bytes unchanged, so that the
/// output is the same on every platform: lines end with LF alone, and an
/// input read from "-" is not cut at a Ctrl+Z byte or changed at a CR LF.
/// Call before anything is read or written.
void UseBinaryStandardStreams();

/// The program's arguments without the program name. On POSIX the bytes as
/// given; on Windows the wide command line converted to UTF-8, so that a
/// file name outside the ANSI code page ("žluť.dat" on a Western system)
/// arrives whole.
std::vector<std::string> CommandLineArguments(int argc, char **argv);

/// The path named by an argument as CommandLineArguments gives it: the bytes
/// unchanged on POSIX, UTF-8 converted to UTF-16 on Windows.
std::filesystem::path PathFromArgument(const std::string &argument);

} // namespace dilatany::cli
