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
#include "gib_recording.h"

namespace {

namespace fs = std::filesystem;
using benchavi::kKeyEvery;

bool WriteRecording(const std::string &path) { return benchavi::WriteGibRecording(path) > 0; }

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
