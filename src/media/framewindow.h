// What file and frame decryption share: the key text and the one per-frame
// step. Bytes 24 to 279 of a key frame's data (32 DES blocks) are encrypted;
// everything else is plain.
#pragma once

#include <cstdint>

namespace vx {

constexpr int kFrameWindow = 280;  // frame bytes a decryption touches
constexpr int kCryptOffset = 24;   // first encrypted byte
constexpr int kCryptBlocks = 32;   // 256 bytes
constexpr int kMaxKeyText = 8;

// The DES key of a key text: its bytes, zero-extended to 8. False (key
// untouched) for a null text or one longer than 8 characters.
bool KeyFromText(const char *text, uint8_t key[8]);

// Decrypts the encrypted stretch of a frame's first kFrameWindow bytes.
void DecryptFrameWindow(const uint8_t key[8], uint8_t *frame);

}  // namespace vx
