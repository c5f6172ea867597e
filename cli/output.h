// How the checker writes names and other texts from outside, so that one
// record stays one line and every name can be told apart, and what it does
// when standard output cannot be written.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

namespace dilatany::cli {

/// A text for one tab-separated field of the text output. UTF-8 characters
/// that print stand as they are; a backslash becomes "\\", a tab "\t", a line
/// feed "\n", a carriage return "\r", and every other byte that is not a
/// printable UTF-8 character (control characters, C1 controls, U+2028 and
/// U+2029, bytes that are not UTF-8) becomes "\xHH". The escape is reversible:
/// "a\nb.dat" and "a\\nb.dat" come out different.
std::string EscapeText(std::string_view text);

/// True when every byte of `text` belongs to a well-formed UTF-8 character.
bool IsUtf8(std::string_view text);

/// The "file" member of a JSON record, without braces: "file":"NAME", and
/// where the name is not UTF-8 also "fileBytes":"HEX", the name's bytes as
/// lowercase hexadecimal (JSON strings can only carry Unicode, so "file" then
/// shows U+FFFD in place of each stray byte).
std::string JsonFileMember(std::string_view name);

/// Exit status when standard output cannot be written.
inline constexpr int kOutputError = 3;

/// What to do once writing standard output failed with `errorNumber` (errno):
/// a closed pipe (EPIPE; the reader, e.g. `head`, has all it wants) ends
/// quietly, any other failure is reported on `err`. Returns kOutputError.
int OutputFailed(int errorNumber, std::ostream &err);

} // namespace dilatany::cli
