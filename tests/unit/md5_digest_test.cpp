// The library's MD5 against RFC 1321's suite and OpenSSL as an oracle (the
// password digest rules are checked on the wire, by the login test).
#include <gtest/gtest.h>
#if defined(VX_TEST_HAVE_OPENSSL)
#include <openssl/evp.h>
#endif

#include <random>
#include <string>

#include "util/md5.h"

namespace {

#if defined(VX_TEST_HAVE_OPENSSL)  // the oracle: Linux only
std::string openssl_md5_upper(const std::string &data) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int len = 0;
    EVP_Digest(data.data(), data.size(), digest, &len, EVP_md5(), nullptr);
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned i = 0; i < len; ++i) {
        out += kHex[digest[i] >> 4];
        out += kHex[digest[i] & 15];
    }
    return out;
}
#endif

TEST(Md5, Rfc1321Suite) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "D41D8CD98F00B204E9800998ECF8427E"},
        {"a", "0CC175B9C0F1B6A831C399E269772661"},
        {"abc", "900150983CD24FB0D6963F7D28E17F72"},
        {"message digest", "F96B697D7CB7938D525A2F31AAF161D0"},
        {"abcdefghijklmnopqrstuvwxyz", "C3FCD3D76192E4007DFB496CCA67E13B"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "D174AB98D277D9F5A5611C2C9F419D9F"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57EDF4A22BE3C955AC49DA2E2107B67A"},
    };
    for (const auto &[input, digest] : cases)
        EXPECT_EQ(vx::Md5HexUpper(input.data(), input.size()), digest) << input;
}

#if defined(VX_TEST_HAVE_OPENSSL)
TEST(Md5, MatchesOpenSslAcrossBlockBoundaries) {
    std::mt19937 rng(7);
    for (std::size_t len = 0; len < 300; ++len) {
        std::string data(len, '\0');
        for (char &c : data) c = char(rng());
        ASSERT_EQ(vx::Md5HexUpper(data.data(), data.size()), openssl_md5_upper(data)) << len;
    }
}
#endif

}  // namespace
