#include "media/des.h"

#include <cstddef>

#include "common/log.h"
#include "media/des_tables.h"

namespace vx {
namespace {

using des_detail::kPC1Bytes;
using des_detail::kPC2Bytes;
using des_detail::kSP;

constexpr uint8_t kShifts[16] = {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1};

struct RoundKey {
    uint32_t a, b;  // subkey chunks laid out as des_tables.h describes
};

inline uint32_t rotr(uint32_t x, unsigned n) { return (x >> n) | (x << (32 - n)); }
inline uint32_t rot28(uint32_t x, unsigned n) { return ((x << n) | (x >> (28 - n))) & 0x0FFFFFFFu; }

// Round keys in the order decryption applies them (K16 first).
void MakeSchedule(const uint8_t key[8], RoundKey ks[16]) {
    uint64_t cd = 0;
    for (int b = 0; b < 8; ++b) cd |= kPC1Bytes[b][key[b]];
    uint32_t c = static_cast<uint32_t>(cd >> 28);
    uint32_t d = static_cast<uint32_t>(cd & 0x0FFFFFFFu);
    for (int r = 0; r < 16; ++r) {
        c = rot28(c, kShifts[r]);
        d = rot28(d, kShifts[r]);
        uint64_t v = (uint64_t{c} << 28) | d;
        uint64_t k = 0;
        for (int b = 0; b < 7; ++b) k |= kPC2Bytes[b][(v >> (48 - 8 * b)) & 0xFF];
        ks[15 - r] = {static_cast<uint32_t>(k), static_cast<uint32_t>(k >> 32)};
    }
}

// Exchanges the bits of a selected by mask m (after shifting a right by n)
// with those of b: the building step of the initial permutation and its inverse.
inline void SwapMove(uint32_t &a, uint32_t &b, unsigned n, uint32_t m) {
    uint32_t t = ((a >> n) ^ b) & m;
    b ^= t;
    a ^= t << n;
}

inline uint32_t feistel(uint32_t r, const RoundKey &k) {
    uint32_t x = rotr(r, 27) ^ k.a;
    uint32_t y = rotr(r, 23) ^ k.b;
    return kSP[0][x & 0x3F] ^ kSP[6][(x >> 8) & 0x3F] ^ kSP[4][(x >> 16) & 0x3F] ^
           kSP[2][(x >> 24) & 0x3F] ^ kSP[1][y & 0x3F] ^ kSP[7][(y >> 8) & 0x3F] ^
           kSP[5][(y >> 16) & 0x3F] ^ kSP[3][(y >> 24) & 0x3F];
}

inline uint32_t LoadBe(const uint8_t *p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}
inline void StoreBe(uint8_t *p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v >> 24);
    p[1] = static_cast<uint8_t>(v >> 16);
    p[2] = static_cast<uint8_t>(v >> 8);
    p[3] = static_cast<uint8_t>(v);
}

// Decrypts N consecutive blocks in lockstep. A DES round is one long
// dependency chain; ECB blocks are independent, so running several side by
// side lets the processor overlap their table loads.
template <int N>
void DecryptGroup(uint8_t *blk, const RoundKey ks[16]) {
    uint32_t l[N], r[N];
    for (int j = 0; j < N; ++j) {
        l[j] = LoadBe(blk + std::ptrdiff_t(8) * j);
        r[j] = LoadBe(blk + std::ptrdiff_t(8) * j + 4);
        SwapMove(l[j], r[j], 4, 0x0F0F0F0Fu);
        SwapMove(l[j], r[j], 16, 0x0000FFFFu);
        SwapMove(r[j], l[j], 2, 0x33333333u);
        SwapMove(r[j], l[j], 8, 0x00FF00FFu);
        SwapMove(l[j], r[j], 1, 0x55555555u);
    }
    for (int i = 0; i < 16; i += 2) {
        for (int j = 0; j < N; ++j) l[j] ^= feistel(r[j], ks[i]);
        for (int j = 0; j < N; ++j) r[j] ^= feistel(l[j], ks[i + 1]);
    }
    for (int j = 0; j < N; ++j) {
        // The last round is not followed by a swap: output is R16 || L16.
        SwapMove(r[j], l[j], 1, 0x55555555u);
        SwapMove(l[j], r[j], 8, 0x00FF00FFu);
        SwapMove(l[j], r[j], 2, 0x33333333u);
        SwapMove(r[j], l[j], 16, 0x0000FFFFu);
        SwapMove(r[j], l[j], 4, 0x0F0F0F0Fu);
        StoreBe(blk + std::ptrdiff_t(8) * j, r[j]);
        StoreBe(blk + std::ptrdiff_t(8) * j + 4, l[j]);
    }
}

}  // namespace

void DesDecryptBlocks(const uint8_t key[8], uint8_t *data, int32_t block_count) {
    RoundKey ks[16];
    MakeSchedule(key, ks);
    constexpr int32_t kGroup = 8;
    int32_t i = 0;
    for (; i + kGroup <= block_count; i += kGroup)
        DecryptGroup<kGroup>(data + std::ptrdiff_t(8) * i, ks);
    for (; i < block_count; ++i) DecryptGroup<1>(data + std::ptrdiff_t(8) * i, ks);
}

int32_t des_decrypt(const uint8_t key[8], uint8_t *data, int32_t block_count) {
    LibLog("des_decrypt start\n");
    if (data == nullptr || block_count < 1) return 0;
    DesDecryptBlocks(key, data, block_count);
    return 1;
}

}  // namespace vx
