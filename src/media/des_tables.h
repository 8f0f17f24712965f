// FIPS 46-3 tables, combined at compile time into the forms the fast code
// uses: S-boxes merged with the P permutation, and byte-indexed tables for
// the two permuted choices of the key schedule.
#pragma once

#include <array>
#include <cstdint>

namespace vx::des_detail {

// FIPS 46-3 numbering: bit 1 is the most significant bit.
// clang-format off
constexpr uint8_t kPC1[56] = {
    57, 49, 41, 33, 25, 17, 9,  1,  58, 50, 42, 34, 26, 18, 10, 2,  59, 51, 43,
    35, 27, 19, 11, 3,  60, 52, 44, 36, 63, 55, 47, 39, 31, 23, 15, 7,  62, 54,
    46, 38, 30, 22, 14, 6,  61, 53, 45, 37, 29, 21, 13, 5,  28, 20, 12, 4};
constexpr uint8_t kPC2[48] = {
    14, 17, 11, 24, 1,  5,  3,  28, 15, 6,  21, 10, 23, 19, 12, 4,
    26, 8,  16, 7,  27, 20, 13, 2,  41, 52, 31, 37, 47, 55, 30, 40,
    51, 45, 33, 48, 44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32};
constexpr uint8_t kP[32] = {16, 7, 20, 21, 29, 12, 28, 17, 1,  15, 23, 26, 5,  18, 31, 10,
                            2,  8, 24, 14, 32, 27, 3,  9,  19, 13, 30, 6,  22, 11, 4,  25};
constexpr uint8_t kS[8][64] = {
    {14, 4,  13, 1, 2,  15, 11, 8,  3,  10, 6,  12, 5,  9,  0, 7,
     0,  15, 7,  4, 14, 2,  13, 1,  10, 6,  12, 11, 9,  5,  3, 8,
     4,  1,  14, 8, 13, 6,  2,  11, 15, 12, 9,  7,  3,  10, 5, 0,
     15, 12, 8,  2, 4,  9,  1,  7,  5,  11, 3,  14, 10, 0,  6, 13},
    {15, 1,  8,  14, 6,  11, 3,  4,  9,  7, 2,  13, 12, 0, 5,  10,
     3,  13, 4,  7,  15, 2,  8,  14, 12, 0, 1,  10, 6,  9, 11, 5,
     0,  14, 7,  11, 10, 4,  13, 1,  5,  8, 12, 6,  9,  3, 2,  15,
     13, 8,  10, 1,  3,  15, 4,  2,  11, 6, 7,  12, 0,  5, 14, 9},
    {10, 0,  9,  14, 6, 3,  15, 5,  1,  13, 12, 7,  11, 4,  2,  8,
     13, 7,  0,  9,  3, 4,  6,  10, 2,  8,  5,  14, 12, 11, 15, 1,
     13, 6,  4,  9,  8, 15, 3,  0,  11, 1,  2,  12, 5,  10, 14, 7,
     1,  10, 13, 0,  6, 9,  8,  7,  4,  15, 14, 3,  11, 5,  2,  12},
    {7,  13, 14, 3, 0,  6,  9,  10, 1,  2, 8, 5,  11, 12, 4,  15,
     13, 8,  11, 5, 6,  15, 0,  3,  4,  7, 2, 12, 1,  10, 14, 9,
     10, 6,  9,  0, 12, 11, 7,  13, 15, 1, 3, 14, 5,  2,  8,  4,
     3,  15, 0,  6, 10, 1,  13, 8,  9,  4, 5, 11, 12, 7,  2,  14},
    {2,  12, 4,  1,  7,  10, 11, 6,  8,  5,  3,  15, 13, 0, 14, 9,
     14, 11, 2,  12, 4,  7,  13, 1,  5,  0,  15, 10, 3,  9, 8,  6,
     4,  2,  1,  11, 10, 13, 7,  8,  15, 9,  12, 5,  6,  3, 0,  14,
     11, 8,  12, 7,  1,  14, 2,  13, 6,  15, 0,  9,  10, 4, 5,  3},
    {12, 1,  10, 15, 9, 2,  6,  8,  0,  13, 3,  4,  14, 7,  5,  11,
     10, 15, 4,  2,  7, 12, 9,  5,  6,  1,  13, 14, 0,  11, 3,  8,
     9,  14, 15, 5,  2, 8,  12, 3,  7,  0,  4,  10, 1,  13, 11, 6,
     4,  3,  2,  12, 9, 5,  15, 10, 11, 14, 1,  7,  6,  0,  8,  13},
    {4,  11, 2,  14, 15, 0, 8,  13, 3,  12, 9, 7,  5,  10, 6, 1,
     13, 0,  11, 7,  4,  9, 1,  10, 14, 3,  5, 12, 2,  15, 8, 6,
     1,  4,  11, 13, 12, 3, 7,  14, 10, 15, 6, 8,  0,  5,  9, 2,
     6,  11, 13, 8,  1,  4, 10, 7,  9,  5,  0, 15, 14, 2,  3, 12},
    {13, 2,  8,  4, 6,  15, 11, 1,  10, 9,  3,  14, 5,  0,  12, 7,
     1,  15, 13, 8, 10, 3,  7,  4,  12, 5,  6,  11, 0,  14, 9,  2,
     7,  11, 4,  1, 9,  12, 14, 2,  0,  6,  10, 13, 15, 3,  5,  8,
     2,  1,  14, 7, 4,  10, 8,  13, 15, 12, 9,  0,  3,  5,  6,  11}};
// clang-format on

// Where the 6-bit subkey chunk i sits in the two 32-bit round-key words:
// chunks 0, 6, 4, 2 in word A and 1, 7, 5, 3 in word B, at bits 0, 8, 16, 24.
// The round function reads R rotated so that each chunk's six expanded bits
// line up with these places (E is a rotation plus overlap, no table needed).
constexpr int ChunkWord(int chunk) { return chunk & 1; }
constexpr int ChunkShift(int chunk) {
    constexpr int kShift[8] = {0, 0, 24, 24, 16, 16, 8, 8};
    return kShift[chunk];
}

// SP[i][v]: S-box i applied to the six bits v, its four output bits placed
// where they land after P.
constexpr std::array<std::array<uint32_t, 64>, 8> MakeSp() {
    std::array<std::array<uint32_t, 64>, 8> sp{};
    for (int i = 0; i < 8; ++i) {
        for (int v = 0; v < 64; ++v) {
            int row = ((v >> 4) & 2) | (v & 1);
            int col = (v >> 1) & 15;
            uint32_t s = static_cast<uint32_t>(kS[i][row * 16 + col]) << (28 - 4 * i);
            uint32_t out = 0;
            for (int j = 0; j < 32; ++j) {
                if (s & (1u << (32 - kP[j]))) out |= 1u << (31 - j);
            }
            sp[i][v] = out;
        }
    }
    return sp;
}

// PC1 by key byte: the 56 chosen bits as C (bits 55..28) and D (27..0).
constexpr std::array<std::array<uint64_t, 256>, 8> MakePc1() {
    std::array<std::array<uint64_t, 256>, 8> t{};
    for (int b = 0; b < 8; ++b) {
        for (int v = 0; v < 256; ++v) {
            uint64_t out = 0;
            for (int j = 0; j < 56; ++j) {
                int bit = kPC1[j] - 1;  // 0-based FIPS bit of the key
                if (bit / 8 == b && (v & (0x80 >> (bit % 8)))) out |= uint64_t{1} << (55 - j);
            }
            t[b][v] = out;
        }
    }
    return t;
}

// PC2 by byte of the 56-bit C||D value (byte 0 = bits 55..48): the round key
// as word A in the low half and word B in the high half.
constexpr std::array<std::array<uint64_t, 256>, 7> MakePc2() {
    std::array<std::array<uint64_t, 256>, 7> t{};
    for (int b = 0; b < 7; ++b) {
        for (int v = 0; v < 256; ++v) {
            uint64_t out = 0;
            for (int j = 0; j < 48; ++j) {
                int bit = kPC2[j] - 1;  // 0-based bit of C||D, 0 = most significant
                if (bit / 8 != b || !(v & (0x80 >> (bit % 8)))) continue;
                int chunk = j / 6, within = 5 - j % 6;
                out |= uint64_t{1} << (32 * ChunkWord(chunk) + ChunkShift(chunk) + within);
            }
            t[b][v] = out;
        }
    }
    return t;
}

inline constexpr auto kSP = MakeSp();
inline constexpr auto kPC1Bytes = MakePc1();
inline constexpr auto kPC2Bytes = MakePc2();

}  // namespace vx::des_detail
