#include "media/framewindow.h"

#include <cstring>

#include "media/des.h"

namespace vx {

bool KeyFromText(const char *text, uint8_t key[8]) {
    if (text == nullptr) return false;
    std::size_t n = ::strnlen(text, kMaxKeyText + 1);
    if (n > kMaxKeyText) return false;
    std::memset(key, 0, 8);
    std::memcpy(key, text, n);
    return true;
}

void DecryptFrameWindow(const uint8_t key[8], uint8_t *frame) {
    // Never fails: the data pointer is valid and the block count positive.
    des_decrypt(key, frame + kCryptOffset, kCryptBlocks);
}

}  // namespace vx
