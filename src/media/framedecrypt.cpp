// One encrypted key frame held in memory, decrypted into the caller's buffer.
#include <cstring>

#include "LibVestra.h"
#include "common/guard.h"
#include "common/log.h"
#include "media/framedecrypt.h"
#include "media/framewindow.h"

namespace vx {
namespace {

// Frames start with an Annex B start code and an H.264 sequence parameter
// set or an H.265 access unit delimiter.
constexpr uint8_t kH264Start[5] = {0x00, 0x00, 0x00, 0x01, 0x67};
constexpr uint8_t kH265Start[5] = {0x00, 0x00, 0x00, 0x01, 0x46};

}  // namespace

int32_t DecryptVideoFrame(const uint8_t *frame, int32_t length, uint8_t *out,
                          const uint8_t key[8]) {
    LibLog("DecryptVideoFrame start\n");
    if (length < kFrameWindow || frame == nullptr || out == nullptr) return -1;
    if (std::memcmp(frame, kH264Start, 5) != 0 && std::memcmp(frame, kH265Start, 5) != 0) return -1;
    std::memmove(out, frame, static_cast<std::size_t>(length));  // out may be frame itself
    DecryptFrameWindow(key, out);
    return 0;
}

}  // namespace vx

extern "C" VX_API int32_t VX_FrameDecrypt(const uint8_t *frame, int32_t length, uint8_t *out,
                                          const char *keyText) {
    return vx::Guarded<int32_t>(0, [&]() -> int32_t {
        uint8_t key[8];
        if (!vx::KeyFromText(keyText, key)) return 0;
        return vx::DecryptVideoFrame(frame, length, out, key) == 0 ? 1 : 0;
    });
}
