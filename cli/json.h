// The little JSON the checker writes: strings and single-precision numbers.
#pragma once

#include <string>
#include <string_view>

namespace dilatany::cli {

/// A JSON string literal. Bytes that are not UTF-8 (a file name may hold
/// any) become U+FFFD, so the output is always valid JSON.
std::string JsonString(std::string_view text);

/// The shortest decimal that reads back as this float.
std::string JsonNumber(float value);

} // namespace dilatany::cli
