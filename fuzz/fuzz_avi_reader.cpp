// The AVI reader over arbitrary bytes: no crash, no leak, and every frame it
// reports lies at a sane place.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "LibVestra.h"
#include "media/avi.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    VX_SetLibLog(VX_LOG_OFF);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    auto in = std::make_unique<std::istringstream>(
        std::string(reinterpret_cast<const char *>(data), size));
    vx::AviHandle r = vx::AVI_open_input_stream(std::move(in));
    if (!r) return 0;
    if (r->video_frames < 1 || static_cast<size_t>(r->video_frames) != r->frames.size())
        std::abort();
    if (r->encryptoffset >= size) std::abort();
    if (r->audio_streams > vx::kMaxAudioStreams) std::abort();
    vx::AVI_close_input_file(r);
    return 0;
}
