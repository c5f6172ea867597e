// Fuzzes the conversion of a box text to a number: it never crashes, and a
// text it accepts gives a finite value.
#include "core/get_number.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const std::optional<float> value = dilatany::ParseNumber(text);
    if (value && !std::isfinite(*value)) {
        std::fprintf(stderr, "fuzz_get_number: non-finite value %g\n", static_cast<double>(*value));
        std::abort();
    }
    // GetNumber is ParseNumber with 0 for what does not read.
    const float number = dilatany::GetNumber(text);
    if (!std::isfinite(number) || (value ? number != *value : number != 0.0f)) {
        std::fprintf(stderr, "fuzz_get_number: GetNumber disagrees with ParseNumber\n");
        std::abort();
    }
    return 0;
}
