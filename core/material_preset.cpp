#include "core/material_preset.h"

#include <charconv>

namespace dilatany {

std::string MaterialPreset::alphaText() const
{
    // The shortest plain decimal that reads back as this double, e.g. "0.000012".
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, alpha, std::chars_format::fixed);
    return {buf, res.ptr};
}

std::string MaterialPreset::modulusText() const { return std::to_string(modulus); }

std::string MaterialPreset::strengthText() const { return std::to_string(strength); }

} // namespace dilatany
