// Conversion between UTF-8 and Windows code page 1250, the same on every platform.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace dilatany::files {

/// Decodes code page 1250 bytes to UTF-8. A byte the code page leaves
/// undefined (0x81, 0x83, 0x88, 0x90, 0x98) becomes the C1 control of the same
/// code (0x81 gives U+0081), as Windows decodes it, so no byte is dropped.
/// Throws std::system_error when the system offers no CP1250 converter.
std::string DecodeCp1250(std::string_view bytes);

/// The outcome of EncodeCp1250: the bytes, or the offset in the UTF-8 text of
/// the first character the code page cannot hold.
struct Cp1250Encoding {
    std::string bytes;
    std::optional<std::size_t> unencodableAt;
};

/// Encodes UTF-8 text to code page 1250, the inverse of DecodeCp1250 (U+0081
/// gives 0x81 again). Stops at the first character the code page lacks, or at
/// a byte that is not valid UTF-8.
Cp1250Encoding EncodeCp1250(std::string_view text);

} // namespace dilatany::files
