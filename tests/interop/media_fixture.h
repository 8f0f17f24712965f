// Shared by the recording interop tests: a temporary directory, ffmpeg-made
// recordings (made once per run), file helpers and the log capture.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "LibVestra.h"
#include "support/log_capture.h"
#include "tools/avi_crypt.h"

namespace media_test {

namespace fs = std::filesystem;
using testavi::Bytes;

inline Bytes read_file(const fs::path &p) {
    std::ifstream in(p, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void write_file(const fs::path &p, const Bytes &b) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(b.data()), std::streamsize(b.size()));
}

inline int run(const std::string &cmd) { return std::system((cmd + " >/dev/null 2>&1").c_str()); }

// A fresh directory, removed with everything in it.
class TempDir {
public:
    TempDir() {
        std::string tmpl = (fs::temp_directory_path() / "vx_media_XXXXXX").string();
        path_ = ::mkdtemp(tmpl.data());
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    fs::path operator/(const std::string &name) const { return path_ / name; }
    const fs::path &path() const { return path_; }

private:
    fs::path path_;
};

// Recordings made by ffmpeg: 2 s of test pattern, a key frame every 10.
struct Recordings {
    TempDir dir;
    fs::path h264 = dir / "h264.avi", hevc = dir / "hevc.avi", audio8 = dir / "audio8.avi",
             audio9 = dir / "audio9.avi";

    Recordings() {
        const std::string src = "ffmpeg -v error -y -f lavfi -i testsrc=size=160x120:rate=25 ";
        run(src + "-t 2 -c:v libx264 -g 10 -pix_fmt yuv420p " + h264.string());
        run(src +
            "-t 2 -c:v libx265 -tag:v HEVC -x265-params aud=1:log-level=none -g 10 "
            "-pix_fmt yuv420p " +
            hevc.string());
        const std::string audio =
            "-f lavfi -i anullsrc=r=8000:cl=mono -t 1 -map 0:v -c:v libx264 -g 10 -c:a pcm_u8 ";
        std::string maps8;
        for (int i = 0; i < 8; ++i) maps8 += "-map 1:a ";
        run(src + audio + maps8 + audio8.string());
        run(src + audio + maps8 + "-map 1:a " + audio9.string());
    }

    static const Recordings &get() {
        static Recordings r;
        return r;
    }
};

// ffprobe decodes every video frame without complaint.
inline bool ffprobe_reads(const fs::path &p, int frames) {
    std::string cmd =
        "ffprobe -v error -count_frames -select_streams v:0 -show_entries "
        "stream=nb_read_frames -of csv=p=0 " +
        p.string() + " 2>&1";
    std::FILE *f = ::popen(cmd.c_str(), "r");
    if (!f) return false;
    char buf[256] = {};
    std::string out;
    while (std::fgets(buf, sizeof buf, f)) out += buf;
    return ::pclose(f) == 0 && out == std::to_string(frames) + "\n";
}

// A recording written to in.avi in a folder of its own, decrypted to out.avi.
struct Decryption {
    TempDir dir;
    fs::path in = dir / "in.avi", out = dir / "out.avi";
    Bytes input;

    explicit Decryption(const Bytes &b) : input(b) { write_file(in, b); }
    int32_t decrypt(const char *key) { return VX_FileDecrypt(in.c_str(), out.c_str(), key); }
    bool input_intact() const { return read_file(in) == input; }
};

using testsupport::LogCapture;

}  // namespace media_test
