// The 1 GiB synthetic recording both decryption benchmarks time: one video
// stream, a movi of equal frames (each a little different), a key frame every
// 10 frames, a relative idx1.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "unit/avi_builder.h"

namespace benchavi {

constexpr uint32_t kFrameSize = 40000;
constexpr int kKeyEvery = 10;
constexpr uint64_t kTarget = uint64_t{1} << 30;

// Writes the recording to path; the number of frames, or -1 if it could not
// be written.
inline int WriteGibRecording(const std::string &path) {
    using testavi::put;
    using testavi::put32;
    const int frames = int((kTarget - 4096) / (kFrameSize + 8 + 16));
    const uint32_t movi_size = 4 + uint32_t(frames) * (kFrameSize + 8);
    std::vector<uint8_t> h = testavi::encrypted_head(0, movi_size);
    std::FILE *f = std::fopen(path.c_str(), "wb");
    if (!f) return -1;
    std::fwrite(h.data(), 1, h.size(), f);
    std::vector<uint8_t> chunk;
    put(chunk, "00dc");
    put32(chunk, kFrameSize);
    chunk.resize(8 + kFrameSize);
    uint32_t x = 12345;
    for (size_t i = 8; i < chunk.size(); ++i)
        chunk[i] = uint8_t((x = x * 1103515245 + 12345) >> 16);
    std::vector<uint8_t> idx;
    put(idx, "idx1");
    put32(idx, uint32_t(16 * frames));
    for (int i = 0; i < frames; ++i) {
        chunk[8] = uint8_t(i);  // frames differ
        std::fwrite(chunk.data(), 1, chunk.size(), f);
        put(idx, "00dc");
        put32(idx, i % kKeyEvery == 0 ? 0x10 : 0);
        put32(idx, uint32_t(4 + size_t(i) * (kFrameSize + 8)));
        put32(idx, kFrameSize);
    }
    std::fwrite(idx.data(), 1, idx.size(), f);
    const long end = std::ftell(f);
    std::fseek(f, 4, SEEK_SET);
    std::vector<uint8_t> riff;
    put32(riff, uint32_t(end - 8));
    std::fwrite(riff.data(), 1, 4, f);
    return std::fclose(f) == 0 ? frames : -1;
}

}  // namespace benchavi
