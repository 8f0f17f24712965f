// VX_FileDecrypt of a 1 GiB synthetic recording (a key frame every 10
// frames, log off) against a plain copy of the same file with
// copy_file_range, the fastest copy Linux offers and the floor for any
// decryption that must not touch its input.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "LibVestra.h"
#include "ratio_reporter.h"
#include "gib_recording.h"

namespace {

namespace fs = std::filesystem;

using benchavi::kKeyEvery;

// The recording: one video stream, movi of equal frames, relative idx1.
class Recording {
public:
    Recording() {
        std::string tmpl = (fs::temp_directory_path() / "vx_bench_XXXXXX").string();
        dir_ = ::mkdtemp(tmpl.data());
        in_ = dir_ / "in.avi";
        out_ = dir_ / "out.avi";
        write();
    }
    ~Recording() {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    const fs::path &in() const { return in_; }
    const fs::path &out() const { return out_; }
    int frames() const { return frames_; }

private:
    void write() { frames_ = benchavi::WriteGibRecording(in_.string()); }

    fs::path dir_, in_, out_;
    int frames_ = 0;
};

const Recording &recording() {
    static Recording r;
    return r;
}

bool plain_copy(const char *from, const char *to) {
    int in = ::open(from, O_RDONLY);
    int out = ::open(to, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    struct stat st {};
    bool ok = in >= 0 && out >= 0 && ::fstat(in, &st) == 0;
    for (off_t left = st.st_size; ok && left > 0;) {
        ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, size_t(left), 0);
        ok = n > 0;
        left -= n;
    }
    if (in >= 0) ::close(in);
    if (out >= 0) ::close(out);
    return ok;
}

void remove_output(benchmark::State &state) {
    state.PauseTiming();
    ::unlink(recording().out().c_str());
    state.ResumeTiming();
}

void BM_PlainCopy(benchmark::State &state) {
    const Recording &r = recording();
    for (auto _ : state) {
        if (!plain_copy(r.in().c_str(), r.out().c_str())) state.SkipWithError("copy failed");
        remove_output(state);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(fs::file_size(r.in())));
}

void BM_FileDecrypt(benchmark::State &state) {
    const Recording &r = recording();
    VX_SetLibLog(VX_LOG_OFF);
    for (auto _ : state) {
        if (VX_FileDecrypt(r.in().c_str(), r.out().c_str(), "benchkey") != 1)
            state.SkipWithError("decrypt failed");
        remove_output(state);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(fs::file_size(r.in())));
    state.counters["key_frames"] = double((r.frames() + kKeyEvery - 1) / kKeyEvery);
}

}  // namespace

// Repetitions of each; add --benchmark_enable_random_interleaving=true to
// interleave them so both see the same page-cache and writeback weather.
BENCHMARK(BM_PlainCopy)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2)
    ->Repetitions(5);
BENCHMARK(BM_FileDecrypt)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2)
    ->Repetitions(5);

RATIO_BENCHMARK_MAIN({"BM_FileDecrypt", "BM_PlainCopy"})
