// Crash dumps: a child host faults; the dump is beside its executable, named
// by the local time, and the child still dies by its signal.
#include <gtest/gtest.h>
#include <dirent.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int signal = 0;  // the signal that ended the child, 0 if it exited
    int exit_code = -1;
    std::vector<std::string> dumps;  // file names beside the executable
    std::string first_dump;
    std::time_t before = 0, after = 0;
};

// The library names a dump from CLOCK_REALTIME; time() reads a coarser clock
// that lags it by up to a tick, so near a second's end a window read with it
// would close before the second the dump was named for.
std::time_t RealtimeSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return now.tv_sec;
}

// Copies the child into a folder of its own, so parallel cases and earlier
// runs leave no dumps in its way, and runs it.
Outcome RunChild(const std::string &mode) {
    Outcome out;
    fs::path dir =
        fs::temp_directory_path() / ("vx-crash-" + mode + "-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::path exe = dir / "crash_child";
    fs::copy_file(CRASH_CHILD, exe);
    std::string m = mode, lib = LIBVESTRA_PATH;
    std::vector<char *> argv{const_cast<char *>(exe.c_str()), m.data(), lib.data(), nullptr};
    out.before = RealtimeSeconds();
    pid_t pid = 0;
    if (::posix_spawn(&pid, exe.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return out;
    int status = 0;
    ::waitpid(pid, &status, 0);
    out.after = RealtimeSeconds();
    if (WIFSIGNALED(status)) out.signal = WTERMSIG(status);
    if (WIFEXITED(status)) out.exit_code = WEXITSTATUS(status);
    for (const auto &e : fs::directory_iterator(dir)) {
        std::string name = e.path().filename().string();
        if (name != "crash_child" && name.rfind("LibVestra", 0) != 0) out.dumps.push_back(name);
    }
    if (!out.dumps.empty()) {
        std::ifstream in(dir / out.dumps[0]);
        std::stringstream ss;
        ss << in.rdbuf();
        out.first_dump = ss.str();
    }
    fs::remove_all(dir);
    return out;
}

// The names a crash between the two moments could have, in this process's
// local time or, given an offset east of UTC in seconds, in that zone's.
bool NamedForLocalTime(const std::string &name, std::time_t from, std::time_t to,
                       const long *utc_offset = nullptr) {
    for (std::time_t t = from; t <= to; ++t) {
        std::tm tm{};
        if (utc_offset != nullptr) {
            std::time_t shifted = t + *utc_offset;
            ::gmtime_r(&shifted, &tm);
        } else {
            ::localtime_r(&t, &tm);
        }
        char want[64];
        std::strftime(want, sizeof want, "TarnbyCrash-%Y%m%d %H%M%S.dmp", &tm);
        if (name == want) return true;
    }
    return false;
}

bool UnderSanitizer() {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    return true;
#else
    return false;
#endif
}

// Faults: no dump, a wrong name or folder, several dumps, the process
// surviving or dying by another signal; the handler displaced by a later
// sigaction/signal call, also when the library came in through dlopen.
TEST(CrashDump, OneDumpBesideTheExecutableAndTheSameDeath) {
    struct Case {
        const char *mode;
        int signal;
    } cases[] = {
        {"monitor", SIGSEGV}, {"own-handler", SIGSEGV}, {"dlopen", SIGSEGV}, {"abort", SIGABRT}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.mode);
#if defined(__SANITIZE_THREAD__)
        // ThreadSanitizer's runtime intercepts sigaction and signal itself and
        // dispatches every signal from its own table, above the C library the
        // pin guards: there the host's later handler wins by design.
        if (std::string(c.mode) == "own-handler" || std::string(c.mode) == "dlopen") {
            std::printf("[ SKIPPED  ] %s: the thread sanitizer dispatches signals itself\n",
                        c.mode);
            continue;
        }
#endif
        Outcome o = RunChild(c.mode);
        EXPECT_EQ(c.signal, o.signal) << "exit code " << o.exit_code;
        ASSERT_EQ(1u, o.dumps.size());
        EXPECT_TRUE(NamedForLocalTime(o.dumps[0], o.before, o.after)) << o.dumps[0];
        EXPECT_NE(std::string::npos, o.first_dump.find("signal: " + std::to_string(c.signal)));
        EXPECT_NE(std::string::npos, o.first_dump.find("backtrace:"));
        EXPECT_NE(std::string::npos, o.first_dump.find("memory map:"));
        if (c.signal == SIGSEGV) {
            EXPECT_NE(std::string::npos, o.first_dump.find("fault address: 0x0000000000000010"));
        }
    }
}

// Faults: a dump named by the zone offset of the monitor's start after the
// zone changed, because no log line (first row) or refresh (second) took
// the new offset for the handler.
TEST(CrashDump, NamedInTheZoneTheLastLogLineOrRefreshSaw) {
    const long kUtcPlus9 = 9 * 3600;
    for (const char *mode : {"zone-log", "zone-refresh"}) {
        SCOPED_TRACE(mode);
        Outcome o = RunChild(mode);
        EXPECT_EQ(SIGSEGV, o.signal) << "exit code " << o.exit_code;
        ASSERT_EQ(1u, o.dumps.size());
        EXPECT_TRUE(NamedForLocalTime(o.dumps[0], o.before, o.after, &kUtcPlus9)) << o.dumps[0];
    }
}

// Fault: a handler installed by loading the library or without a start.
TEST(CrashDump, NoDumpWithoutAMonitorStart) {
    Outcome o = RunChild("no-monitor");
    if (!UnderSanitizer()) {
        EXPECT_EQ(SIGSEGV, o.signal);
    }
    EXPECT_TRUE(o.dumps.empty());
}

}  // namespace
