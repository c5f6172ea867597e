// SHA-256 (FIPS 180-4), for the calculation report's fingerprint of its input
// file: no library for it is available to both the Linux and the static
// Windows build.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace dilatany::cli {

class Sha256 {
public:
    Sha256();
    void Update(std::string_view bytes);
    /// The digest; the object is spent afterwards.
    std::array<std::uint8_t, 32> Finish();

private:
    void Block(const std::uint8_t *block);

    std::array<std::uint32_t, 8> m_state;
    std::array<std::uint8_t, 64> m_buffer{};
    std::size_t m_buffered = 0;
    std::uint64_t m_length = 0;  // bytes
};

/// The digest of `bytes` as 64 lowercase hexadecimal digits.
std::string Sha256Hex(std::string_view bytes);

} // namespace dilatany::cli
