// The same bits on every platform: a fixed, generated set of inputs run
// through both checks must fold into the digest recorded here, on Linux and
// in the Windows build under Wine alike. The digest was taken from the Linux
// build, whose powers the MPFR property test holds to the correctly rounded
// ones; a C library with another pow, or a compiler that contracts or
// reorders the arithmetic, changes it.
#include "core/lbend_check.h"
#include "core/powers.h"
#include "core/uloop_check.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <variant>

namespace dilatany {
namespace {

// splitmix64: the same numbers from every standard library (the <random>
// distributions are not specified bit for bit).
class Numbers {
public:
    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // A value lo + k·unit for a whole k in [0, count): one product and one
    // sum of exact operands in float, the same everywhere.
    float grid(float lo, float unit, std::uint32_t count)
    {
        return lo + static_cast<float>(next() % count) * unit;
    }
    // Any finite single, of any magnitude and sign, now and then.
    float anyFinite()
    {
        for (;;) {
            const float f = std::bit_cast<float>(static_cast<std::uint32_t>(next()));
            if (f - f == 0.0f)
                return f;
        }
    }
    float maybeExtreme(float realistic) { return next() % 16 == 0 ? anyFinite() : realistic; }

private:
    std::uint64_t m_state = 20261211;
};

// FNV-1a over 32-bit words.
class Digest {
public:
    void add(std::uint32_t word)
    {
        for (int byte = 0; byte < 4; ++byte) {
            m_hash ^= (word >> (8 * byte)) & 0xFF;
            m_hash *= 0x100000001B3ull;
        }
    }
    void add(float f) { add(std::bit_cast<std::uint32_t>(f)); }
    void add(const CheckOutcome &outcome)
    {
        if (const auto *fault = std::get_if<FpFault>(&outcome)) {
            add(0xFA000000u | static_cast<std::uint32_t>(*fault));
            return;
        }
        const CheckResult &r = std::get<CheckResult>(outcome);
        add(r.allowable);
        add(r.stress);
        add(r.reserve);
    }
    std::uint64_t value() const { return m_hash; }

private:
    std::uint64_t m_hash = 0xCBF29CE484222325ull;
};

constexpr int kCases = 100000;

TEST(SameBits, uloop_checks_of_a_generated_set_fold_into_the_recorded_digest)
{
    Numbers n;
    Digest digest;
    for (int c = 0; c < kCases; ++c) {
        ULoopInputs in;
        in.D = n.maybeExtreme(n.grid(10.0f, 0.5f, 2000));
        in.s = n.maybeExtreme(n.grid(0.5f, 0.1f, 300));
        in.R = n.maybeExtreme(n.grid(0.0f, 1.0f, 3000));
        in.L1 = n.maybeExtreme(n.grid(0.0f, 10.0f, 2000));
        in.L2 = n.maybeExtreme(n.grid(0.0f, 10.0f, 2000));
        in.L3 = n.maybeExtreme(n.grid(0.0f, 10.0f, 2000));
        in.Lf = n.maybeExtreme(n.grid(1.0f, 0.5f, 1000));
        in.alpha = n.maybeExtreme(n.grid(0.000001f, 0.000001f, 200));
        in.E = n.maybeExtreme(n.grid(500.0f, 100.0f, 2500));
        in.f = n.maybeExtreme(n.grid(10.0f, 1.0f, 500));
        in.tw = n.maybeExtreme(n.grid(-20.0f, 0.5f, 340));
        in.tm = n.maybeExtreme(n.grid(-20.0f, 0.5f, 120));
        ULoopTrace trace;
        digest.add(ULoopCheck(in, &trace));
        if (trace.faultAt.empty()) {
            for (const float q : {trace.I, trace.lambda, trace.i, trace.k, trace.Ix, trace.M})
                digest.add(q);
        }
    }
    EXPECT_EQ(digest.value(), 0x1f90740f58513c7full) << "precise powers taken: " << PrecisePowerCalls();
}

TEST(SameBits, lbend_checks_of_a_generated_set_fold_into_the_recorded_digest)
{
    Numbers n;
    Digest digest;
    for (int c = 0; c < kCases; ++c) {
        LBendInputs in;
        in.D = n.maybeExtreme(n.grid(10.0f, 0.5f, 2000));
        in.s = n.maybeExtreme(n.grid(0.5f, 0.1f, 300));
        in.R = n.maybeExtreme(n.grid(0.0f, 1.0f, 3000));
        in.L1 = n.maybeExtreme(n.grid(0.0f, 0.1f, 500));
        in.L2 = n.maybeExtreme(n.grid(0.0f, 0.1f, 500));
        in.alpha = n.maybeExtreme(n.grid(0.000001f, 0.000001f, 200));
        in.E = n.maybeExtreme(n.grid(500.0f, 100.0f, 2500));
        in.f = n.maybeExtreme(n.grid(10.0f, 1.0f, 500));
        in.tw = n.maybeExtreme(n.grid(-20.0f, 0.5f, 340));
        in.tm = n.maybeExtreme(n.grid(-20.0f, 0.5f, 120));
        LBendTrace trace;
        digest.add(LBendCheck(in, &trace));
        if (trace.faultAt.empty()) {
            for (const float q : {trace.I, trace.lambda, trace.i, trace.k, trace.F1, trace.F2, trace.M})
                digest.add(q);
        }
    }
    EXPECT_EQ(digest.value(), 0xfc4e26e844aa7ae1ull) << "precise powers taken: " << PrecisePowerCalls();
}

} // namespace
} // namespace dilatany
