// VX_FileDecrypt of a 1 GiB synthetic recording (a key frame every 10
// frames, log off) against the platform's plain file copy alone (CopyFileW on
// Windows, the copy_file_range copy on Linux), alternating, in one run: the
// ratio of the best times is the figure. A plain program, so it runs where
// Google Benchmark is not built (under wine).
//   filedecrypt_ratio [repetitions] [directory]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "LibVestra.h"
#include "platform/platform.h"
#include "unit/avi_builder.h"

namespace {

namespace fs = std::filesystem;
using testavi::put;
using testavi::put32;

constexpr uint32_t kFrameSize = 40000;
constexpr int kKeyEvery = 10;
constexpr uint64_t kTarget = uint64_t{1} << 30;

bool WriteRecording(const std::string &path) {
    const int frames = int((kTarget - 4096) / (kFrameSize + 8 + 16));
    const uint32_t movi_size = 4 + uint32_t(frames) * (kFrameSize + 8);
    std::vector<uint8_t> h = testavi::encrypted_head(0, movi_size);
    std::FILE *f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
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
        chunk[8] = uint8_t(i);
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
    return std::fclose(f) == 0;
}

template <class F>
double Seconds(F &&f) {
    auto t0 = std::chrono::steady_clock::now();
    bool ok = f();
    auto t1 = std::chrono::steady_clock::now();
    if (!ok) {
        std::fprintf(stderr, "run failed\n");
        std::exit(1);
    }
    return std::chrono::duration<double>(t1 - t0).count();
}

}  // namespace

int main(int argc, char **argv) {
    const int reps = argc > 1 ? std::atoi(argv[1]) : 5;
    const fs::path dir = argc > 2 ? fs::path(argv[2]) : fs::temp_directory_path() / "vx_ratio";
    fs::create_directories(dir);
    const std::string in = (dir / "in.avi").string(), out = (dir / "out.avi").string();
    if (!WriteRecording(in)) return 1;
    VX_SetLibLog(VX_LOG_OFF);
    double best_copy = 1e30, best_dec = 1e30, sum_copy = 0, sum_dec = 0;
    for (int i = 0; i < reps; ++i) {
        double c = Seconds([&] { return vx::platform::CopyFileReplace(in.c_str(), out.c_str()); });
        vx::platform::RemoveFile(out.c_str());
        double d =
            Seconds([&] { return VX_FileDecrypt(in.c_str(), out.c_str(), "benchkey") == 1; });
        vx::platform::RemoveFile(out.c_str());
        std::printf("rep %d: copy %.3f s, VX_FileDecrypt %.3f s\n", i + 1, c, d);
        best_copy = std::min(best_copy, c);
        best_dec = std::min(best_dec, d);
        sum_copy += c;
        sum_dec += d;
    }
    vx::platform::RemoveFile(in.c_str());
    std::printf(
        "ratio VX_FileDecrypt / plain copy = %.3f (best of %d), %.3f (mean); 1 GiB, best copy %.3f "
        "s\n",
        best_dec / best_copy, reps, sum_dec / sum_copy, best_copy);
    return 0;
}
