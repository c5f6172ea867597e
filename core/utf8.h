// Decoding one UTF-8 character, for the places that must look at texts
// character by character (file refusals, JSON output).
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace dilatany {

/// The code point that starts at text[0] and its length in bytes, or nothing
/// where text[0] does not start a well-formed UTF-8 sequence (overlong forms,
/// surrogates and values beyond U+10FFFF included). `text` must not be empty.
std::optional<char32_t> DecodeUtf8(std::string_view text, std::size_t &length);

} // namespace dilatany
