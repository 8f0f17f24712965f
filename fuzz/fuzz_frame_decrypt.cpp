// VX_FrameDecrypt over arbitrary frames and key texts. The first byte picks
// the key text's length (0..9), the next bytes are its characters, the rest
// is the frame. A refusal must leave the output alone; a success may change
// only bytes 24..279.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "LibVestra.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    VX_SetLibLog(VX_LOG_OFF);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 1) return 0;
    size_t key_len = data[0] % 10;
    if (size < 1 + key_len) return 0;
    std::string key(reinterpret_cast<const char *>(data + 1), key_len);
    key = key.c_str();  // a text ends at its first NUL
    const uint8_t *frame = data + 1 + key_len;
    const size_t len = size - 1 - key_len;

    std::vector<uint8_t> out(len, 0xA5);
    const int32_t ok = VX_FrameDecrypt(frame, static_cast<int32_t>(len), out.data(), key.c_str());
    if (ok == 0) {
        for (uint8_t b : out)
            if (b != 0xA5) std::abort();
        return 0;
    }
    if (ok != 1 || len < 280 || key.size() > 8) std::abort();
    if (std::memcmp(out.data(), frame, 24) != 0 ||
        std::memcmp(out.data() + 280, frame + 280, len - 280) != 0)
        std::abort();
    return 0;
}
