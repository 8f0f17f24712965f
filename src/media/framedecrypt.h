// Single-frame decryption behind VX_FrameDecrypt.
#pragma once

#include <cstdint>

namespace vx {

// Copies length bytes of frame to out and decrypts the copy's bytes 24..279.
// 0 on success; -1 (out untouched) when the frame is shorter than 280 bytes
// or does not start like an H.264 or H.265 key frame.
int32_t DecryptVideoFrame(const uint8_t *frame, int32_t length, uint8_t *out, const uint8_t key[8]);

}  // namespace vx
