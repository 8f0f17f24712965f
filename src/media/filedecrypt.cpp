// An encrypted recording copied to the output path and decrypted there in
// place, key frame by key frame. The input is only ever read.
#include "media/filedecrypt.h"

#include <cstdio>
#include <cstring>

#include "LibVestra.h"
#include "common/guard.h"
#include "common/log.h"
#include "media/avi.h"
#include "media/framewindow.h"
#include "media/openfile.h"
#include "platform/platform.h"

namespace vx {
namespace {

// Copies the input over the output. A copy that fails (unreadable input,
// output naming the input itself, unwritable output) stops the decryption:
// going on would work on a stale file or on the input. Both paths go to the
// platform as the caller gave them, as every other file operation here.
bool CopyInput(const char *in_path, const char *out_path) {
    if (!platform::CopyFileReplace(in_path, out_path)) {
        LibLog("CopyFile:%s Failed\n", out_path);
        return false;
    }
    return true;
}

// Decrypts every frame with nonzero index flags. Returns the count, or 0
// when none was decrypted or a frame window could not be read or written.
int32_t DecryptFrames(UpdateFile &out, const avi_reader &r, const uint8_t key[8]) {
    int32_t count = 0;
    uint8_t window[kFrameWindow];
    for (int32_t i = 0; i < r.video_frames; ++i) {
        const frame_entry &f = r.frames[static_cast<std::size_t>(i)];
        if (f.key == 0) continue;
        std::memset(window, 0, sizeof window);
        std::size_t got = out.ReadAt(f.pos, window, sizeof window);
        if (got < sizeof window) {
            LibLog("frame %d: read %d of %d bytes\n", i, static_cast<int>(got), kFrameWindow);
            return 0;
        }
        DecryptFrameWindow(key, window);
        if (!out.WriteAt(f.pos, window, sizeof window)) {
            LibLog("frame %d: write of %d bytes failed\n", i, kFrameWindow);
            return 0;
        }
        const auto *s = reinterpret_cast<const int8_t *>(window);
        LibLog("[%d/%d: %d] %02x %02x %02x %02x %02x \n ", i, r.video_frames, count, s[0], s[1],
               s[2], s[3], s[4]);
        ++count;
        LibLog("[%d/%d: %d]  key=%u,pos=%llu,len=%u\n ", i, r.video_frames, count, f.key,
               static_cast<unsigned long long>(f.pos), f.len);
    }
    return count;
}

}  // namespace

int32_t DecryptVideoFileEx(const char *in_path, const char *out_path, const uint8_t key[8]) {
    LibLog("DecryptVideoFileEx start\n");
    AviHandle r = AVI_open_input_file(in_path);
    if (!r) {
        LibLog("AVI_open_input_file Error\n");
        return -1;
    }
    r->CloseFile();
    if (r->video_frames == 0) {
        LibLog("video_frames=0 Error\n");
        return -1;
    }
    if (!CopyInput(in_path, out_path)) return -1;
    if (r->encrypt == 0 || r->encryptoffset == 0) {
        LibLog("infile no encrypt\n");
        return 0;
    }
    auto out = UpdateFile::OpenFile(out_path);
    if (!out) return -1;

    const uint8_t zero = 0;
    int32_t count = 0;
    if (out->WriteAt(r->encryptoffset, &zero, 1)) {
        count = DecryptFrames(*out, *r, key);
    } else {
        LibLog("marker write failed\n");
    }
    AVI_close_input_file(r);
    out->close();
    if (count == 0) {
        count = -1;
        platform::RemoveFile(out_path);
    }
    LibLog("decryptcount=%d\n", count);
    return count;
}

}  // namespace vx

extern "C" VX_API int32_t VX_FileDecrypt(const char *inPath, const char *outPath,
                                         const char *keyText) {
    return vx::Guarded<int32_t>(0, [&]() -> int32_t {
        vx::LibLog("VX_FileDecrypt start\n");
        uint8_t key[8];
        if (!vx::KeyFromText(keyText, key)) return 0;
        return vx::DecryptVideoFileEx(inPath, outPath, key) >= 1 ? 1 : 0;
    });
}
