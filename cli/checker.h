// dilatany-check: checks input data files as the calculation windows do and
// prints one line per file.
#pragma once

#include <iosfwd>
#include <span>
#include <string>

namespace dilatany::cli {

/// Exit statuses: every file passed; some file failed or faulted; a usage
/// error, a refused file or an input that is not a number. Standard output
/// that cannot be written ends with kOutputError (cli/output.h).
inline constexpr int kAllPassed = 0;
inline constexpr int kSomeFailed = 1;
inline constexpr int kError = 2;

/// Runs the checker on its arguments (without the program name). "-" as a
/// file reads standard input from `in`. Stops with kOutputError as soon as
/// `out` fails.
int RunChecker(std::span<const std::string> args, std::istream &in, std::ostream &out, std::ostream &err);

/// The usage text printed by --help and after a usage error.
std::string UsageText();

} // namespace dilatany::cli
