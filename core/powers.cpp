#include "core/powers.h"

#include <atomic>

// GCC ships quadmath.h among its own headers, which clang (the fuzz build)
// does not search; clang still links GCC's libquadmath. powq is declared
// there as this.
#if __has_include(<quadmath.h>)
#include <quadmath.h>
#else
extern "C" __float128 powq(__float128 x, __float128 y);
#endif

namespace dilatany {
namespace {

std::atomic<std::uint64_t> g_preciseCalls{0};

} // namespace

double PrecisePower(double base, double exponent)
{
    g_preciseCalls.fetch_add(1, std::memory_order_relaxed);
    // powq works with 113 significant bits; its result rounded to double is
    // the correctly rounded power unless the exact power lies within about
    // 2^-60 relative of a midpoint between two doubles.
    return static_cast<double>(powq(static_cast<__float128>(base), static_cast<__float128>(exponent)));
}

std::uint64_t PrecisePowerCalls() { return g_preciseCalls.load(std::memory_order_relaxed); }

} // namespace dilatany
