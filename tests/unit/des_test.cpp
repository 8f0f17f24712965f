// DES decryption against published answers and OpenSSL as an oracle.
#define OPENSSL_SUPPRESS_DEPRECATED
#if defined(VX_TEST_HAVE_OPENSSL)
#include <openssl/des.h>
#endif

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <random>
#include <string>

#include "media/des.h"

namespace {

using Block = std::array<uint8_t, 8>;

Block hex(const char *h) {
    Block b{};
    for (int i = 0; i < 8; ++i)
        b[i] = static_cast<uint8_t>(std::stoi(std::string(h + 2 * i, 2), nullptr, 16));
    return b;
}

struct Answer {
    const char *key, *plain, *cipher;
};

// FIPS 81, classic vectors, SP 800-20 variable plaintext and variable key.
const Answer kAnswers[] = {
    {"0123456789ABCDEF", "4E6F772069732074", "3FA40E8A984D4815"},
    {"0123456789ABCDEF", "68652074696D6520", "6A271787AB8883F9"},
    {"0123456789ABCDEF", "666F7220616C6C20", "893D51EC4B563B53"},
    {"133457799BBCDFF1", "0123456789ABCDEF", "85E813540F0AB405"},
    {"0E329232EA6D0D73", "8787878787878787", "0000000000000000"},
    {"0101010101010101", "0000000000000000", "8CA64DE9C1B123A7"},
    // The first key with every parity bit flipped: parity bits are ignored.
    {"0022446688AACCEE", "4E6F772069732074", "3FA40E8A984D4815"},
    {"0101010101010101", "8000000000000000", "95F8A5E5DD31D900"},
    {"0101010101010101", "4000000000000000", "DD7F121CA5015619"},
    {"0101010101010101", "2000000000000000", "2E8653104F3834EA"},
    {"0101010101010101", "1000000000000000", "4BD388FF6CD81D4F"},
    {"0101010101010101", "0800000000000000", "20B9E767B2FB1456"},
    {"0101010101010101", "0400000000000000", "55579380D77138EF"},
    {"0101010101010101", "0200000000000000", "6CC5DEFAAF04512F"},
    {"0101010101010101", "0100000000000000", "0D9F279BA5D87260"},
    {"0101010101010101", "0000000000000080", "2FBC291A570DB5C4"},
    {"0101010101010101", "0000000000000040", "E07C30D7E4E26E12"},
    {"0101010101010101", "0000000000000020", "0953E2258E8E90A1"},
    {"0101010101010101", "0000000000000010", "5B711BC4CEEBF2EE"},
    {"0101010101010101", "0000000000000008", "CC083F1E6D9E85F6"},
    {"0101010101010101", "0000000000000004", "D2FD8867D50D2DFE"},
    {"0101010101010101", "0000000000000002", "06E7EA22CE92708F"},
    {"0101010101010101", "0000000000000001", "166B40B44ABA4BD6"},
    {"8001010101010101", "0000000000000000", "95A8D72813DAA94D"},
    {"4001010101010101", "0000000000000000", "0EEC1487DD8C26D5"},
    {"2001010101010101", "0000000000000000", "7AD16FFB79C45926"},
    {"1001010101010101", "0000000000000000", "D3746294CA6A6CF3"},
    {"0801010101010101", "0000000000000000", "809F5F873C1FD761"},
    {"0401010101010101", "0000000000000000", "C02FAFFEC989D1FC"},
    {"0201010101010101", "0000000000000000", "4615AA1D33E72F10"},
    {"0180010101010101", "0000000000000000", "2055123350C00858"},
    {"0101010101010180", "0000000000000000", "9CC62DF43B6EED74"},
    {"0101010101010102", "0000000000000000", "869EFD7F9F265A09"},
};

// Each cipher block twice in one run: ECB, so both decrypt alike (no chaining).
TEST(DesDecrypt, PublishedAnswersDecryptBack) {
    for (const Answer &a : kAnswers) {
        const Block key = hex(a.key), cipher = hex(a.cipher), plain = hex(a.plain);
        std::array<uint8_t, 16> data{};
        for (int at : {0, 8}) std::copy(cipher.begin(), cipher.end(), data.begin() + at);
        ASSERT_EQ(vx::des_decrypt(key.data(), data.data(), 2), 1);
        for (int at : {0, 8})
            EXPECT_TRUE(std::equal(plain.begin(), plain.end(), data.begin() + at))
                << "key " << a.key << " cipher " << a.cipher << " block " << at / 8;
    }
}

#if defined(VX_TEST_HAVE_OPENSSL)  // the oracle: Linux only
// Random keys (parity bits random too) and runs of blocks of every length a
// caller might pass, against OpenSSL encrypting the same blocks.
TEST(DesDecrypt, MatchesOpenSslOnRandomKeysAndBlocks) {
    std::mt19937_64 rng(20261206);
    for (int round = 0; round < 3000; ++round) {
        uint8_t key[8];
        for (auto &k : key) k = static_cast<uint8_t>(rng());
        const int blocks = 1 + static_cast<int>(rng() % 40);
        std::vector<uint8_t> plain(8 * blocks), data(8 * blocks);
        for (auto &p : plain) p = static_cast<uint8_t>(rng());

        DES_cblock k;
        std::memcpy(k, key, 8);
        DES_key_schedule ks;
        DES_set_key_unchecked(&k, &ks);
        for (int i = 0; i < blocks; ++i)
            DES_ecb_encrypt(reinterpret_cast<const_DES_cblock *>(&plain[8 * i]),
                            reinterpret_cast<DES_cblock *>(&data[8 * i]), &ks, DES_ENCRYPT);
        ASSERT_EQ(vx::des_decrypt(key, data.data(), blocks), 1);
        ASSERT_EQ(data, plain) << "round " << round;
    }
}
#endif

TEST(DesDecrypt, RefusesNullDataAndNonPositiveCountsWithoutTouching) {
    Block key = hex("0123456789ABCDEF"), data = hex("3FA40E8A984D4815"), before = data;
    EXPECT_EQ(vx::des_decrypt(key.data(), nullptr, 1), 0);
    EXPECT_EQ(vx::des_decrypt(key.data(), data.data(), 0), 0);
    EXPECT_EQ(vx::des_decrypt(key.data(), data.data(), -5), 0);
    EXPECT_EQ(data, before);
}

}  // namespace
