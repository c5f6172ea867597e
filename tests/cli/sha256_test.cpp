#include "cli/sha256.h"

#include <gtest/gtest.h>

#include <string>

namespace dilatany::cli {
namespace {

// The FIPS 180-4 examples (NIST CSRC "SHA256.pdf") and the lengths around a
// block boundary, where the padding takes a second block.
TEST(Sha256, gives_the_fips_180_4_test_vectors)
{
    struct Case {
        const char *name;
        std::string message;
        const char *digest;
    };
    const Case cases[] = {
        {"empty", "", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"448 bits, the padding in a second block", "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {"896 bits", "abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopqrsmnopqrstnopqrstu",
         "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
        {"one million a", std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Sha256Hex(c.message), c.digest);
    }
}

TEST(Sha256, gives_the_same_digest_in_pieces)
{
    const std::string message(200, 'x');
    for (std::size_t cut : {0u, 1u, 55u, 56u, 63u, 64u, 65u, 199u}) {
        SCOPED_TRACE(cut);
        Sha256 sha;
        sha.Update(std::string_view(message).substr(0, cut));
        sha.Update(std::string_view(message).substr(cut));
        const auto digest = sha.Finish();
        std::string hex;
        for (const auto b : digest) {
            char buf[3];
            std::snprintf(buf, sizeof buf, "%02x", b);
            hex += buf;
        }
        EXPECT_EQ(hex, Sha256Hex(message));
    }
}

} // namespace
} // namespace dilatany::cli
