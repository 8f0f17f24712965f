// Crash dumps: a child host faults; the dump is beside its executable, named
// by the local time, and the child still dies by its signal.
#include <gtest/gtest.h>
#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
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
    unsigned first_dump_mode = 0;           // its permission bits, not following a link
    std::string planted;                    // what target.txt (dump-link) holds at the end
    std::vector<std::string> chosen_dumps;  // in the log folder the child chose
    std::string output;                     // the child's standard error
    std::time_t before = 0, after = 0;
};

// The child's environment: ours, and under a sanitizer without its fault
// handlers, whose report would otherwise be the earlier action every fault
// is handed to (and end the process before any dump).
std::vector<std::string> ChildEnvironment() {
#if defined(__SANITIZE_ADDRESS__)
    const std::string options = "ASAN_OPTIONS";
#elif defined(__SANITIZE_THREAD__)
    const std::string options = "TSAN_OPTIONS";
#else
    const std::string options;
#endif
    std::vector<std::string> env;
    for (char **e = environ; *e != nullptr; ++e)
        if (options.empty() || std::string(*e).rfind(options + "=", 0) != 0) env.emplace_back(*e);
    if (!options.empty()) {
        const char *own = std::getenv(options.c_str());
        env.push_back(
            options + "=" + (own != nullptr ? own : "") +
            ":handle_segv=0:handle_sigbus=0:handle_sigfpe=0:handle_sigill=0:handle_abort=0");
    }
    return env;
}

// The library names a dump from CLOCK_REALTIME; time() reads a coarser clock
// that lags it by up to a tick, so near a second's end a window read with it
// would close before the second the dump was named for.
std::time_t RealtimeSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return now.tv_sec;
}

std::string ReadAll(const fs::path &path) {
    std::ifstream in(path);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// Copies the child into a folder of its own, so parallel cases and earlier
// runs leave no dumps in its way, and runs it.
Outcome RunChild(const std::string &mode, const std::string &log_subdir = "") {
    Outcome out;
    fs::path dir =
        fs::temp_directory_path() / ("vx-crash-" + mode + "-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::path exe = dir / "crash_child";
    fs::copy_file(CRASH_CHILD, exe);
    std::string m = mode, lib = LIBVESTRA_PATH;
    std::vector<char *> argv{const_cast<char *>(exe.c_str()), m.data(), lib.data(), nullptr};
    std::vector<std::string> env_text = ChildEnvironment();
    if (!log_subdir.empty()) {
        fs::create_directories(dir / log_subdir);
        env_text.push_back("VX_CRASH_LOG_DIR=" + (dir / log_subdir).string());
    }
    std::vector<char *> env;
    for (auto &e : env_text) env.push_back(e.data());
    env.push_back(nullptr);
    fs::path err = dir / "stderr.txt";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    out.before = RealtimeSeconds();
    pid_t pid = 0;
    int spawned = ::posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return out;
    int status = 0;
    ::waitpid(pid, &status, 0);
    out.after = RealtimeSeconds();
    if (WIFSIGNALED(status)) out.signal = WTERMSIG(status);
    if (WIFEXITED(status)) out.exit_code = WEXITSTATUS(status);
    for (const auto &e : fs::directory_iterator(dir)) {
        std::string name = e.path().filename().string();
        if (name == "target.txt") continue;
        if (name != "crash_child" && name != "stderr.txt" && name != log_subdir &&
            name.rfind("LibVestra", 0) != 0)
            out.dumps.push_back(name);
    }
    if (!log_subdir.empty())
        for (const auto &e : fs::directory_iterator(dir / log_subdir))
            out.chosen_dumps.push_back(e.path().filename().string());
    out.output = ReadAll(err);
    out.planted = ReadAll(dir / "target.txt");
    if (!out.dumps.empty()) {
        struct stat st {};
        if (::lstat((dir / out.dumps[0]).c_str(), &st) == 0) out.first_dump_mode = st.st_mode;
        out.first_dump = ReadAll(dir / out.dumps[0]);
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
        EXPECT_EQ(S_IFREG | 0640u, o.first_dump_mode);  // fault: readable by others
        if (c.signal == SIGSEGV) {
            EXPECT_NE(std::string::npos, o.first_dump.find("fault address: 0x0000000000000010"));
        }
    }
}

// Faults: a dump named by the zone offset of the monitor's start after the
// zone changed, because no log line, no refresh, or (with the log off and no
// refresh thread) no look at the clock took the new offset for the handler.
TEST(CrashDump, NamedInTheZoneInForceAtTheCrash) {
    struct Case {
        const char *mode;
        long utc_offset;  // east of UTC, in seconds
    } cases[] = {{.mode = "zone-log", .utc_offset = 9 * 3600},
                 {.mode = "zone-refresh", .utc_offset = 9 * 3600},
                 {.mode = "zone-dst", .utc_offset = 3600}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.mode);
        Outcome o = RunChild(c.mode);
        EXPECT_EQ(SIGSEGV, o.signal) << "exit code " << o.exit_code;
        ASSERT_EQ(1u, o.dumps.size());
        EXPECT_TRUE(NamedForLocalTime(o.dumps[0], o.before, o.after, &c.utc_offset)) << o.dumps[0];
    }
}

// Fault: the dump written through a link planted under its name (the link's
// target changes), or no word of it on standard error.
TEST(CrashDump, PlantedLinkIsNotWrittenThrough) {
    Outcome o = RunChild("dump-link");
    EXPECT_EQ(SIGSEGV, o.signal) << "exit code " << o.exit_code;
    EXPECT_EQ("untouched\n", o.planted);
    EXPECT_NE(std::string::npos,
              o.output.find("LibVestra: the crash dump's name is a symbolic link; no dump\n"))
        << o.output;
}

// Fault: a handler installed by loading the library or without a start.
TEST(CrashDump, NoDumpWithoutAMonitorStart) {
    Outcome o = RunChild("no-monitor");
    if (!UnderSanitizer()) {
        EXPECT_EQ(SIGSEGV, o.signal);
    }
    EXPECT_TRUE(o.dumps.empty());
}

// Fault: the dump beside the executable although the host chose a folder
// (an interpreter's folder is the system's).
TEST(CrashDump, TheDumpGoesToTheChosenLogFolder) {
    Outcome o = RunChild("log-dir", "chosen");
    EXPECT_EQ(SIGSEGV, o.signal) << o.output;
    EXPECT_TRUE(o.dumps.empty()) << o.dumps.size();
    ASSERT_EQ(1u, o.chosen_dumps.size());
    EXPECT_TRUE(NamedForLocalTime(o.chosen_dumps[0], o.before, o.after)) << o.chosen_dumps[0];
}

std::size_t Occurrences(const std::string &text, const std::string &what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// The host's own action, installed before the monitor, gets each fault
// first; only what it leaves unresolved is dumped.
TEST(CrashDump, FaultsGoFirstToTheActionInForceBefore) {
    struct Case {
        const char *mode;
        const char *fault;  // what the row catches
        int signal;         // 0: exits with exit_code
        int exit_code;
        std::size_t dumps;
        const char *said;  // in the child's output, exactly once
    } cases[] = {
        {"resume-elsewhere",
         "a rewritten context (Mono's, the JVM's) taken for a crash, or the "
         "collector gone after the first (one-shot) fault",
         SIGSEGV, 0, 1, "resolved 1000"},
        {"longjmp",
         "a fault recovered by siglongjmp dumped, or its stale call record taken for "
         "a re-raise",
         SIGSEGV, 0, 1, "resolved 1000"},
        {"longjmp-thread", "the same on a thread without an alternate stack", SIGSEGV, 0, 1,
         "resolved 1000"},
        {"returns-unchanged", "a handler returning unchanged taken as resolved (a fault loop)",
         SIGSEGV, 0, 1, "earlier handler ran"},
        {"reraise", "a re-raise inside the earlier handler recursing or lost", SIGSEGV, 0, 1,
         "earlier handler ran"},
        {"reraise-nodefer", "the same for an SA_NODEFER handler (Python's faulthandler)", SIGSEGV,
         0, 1, "earlier handler ran"},
        {"reraise-noreturn",
         "a re-raise swallowed while the handler never returns (abort() "
         "in Mono's SIGABRT handler ends by _exit)",
         SIGSEGV, 0, 1, "earlier handler ran"},
        {"abort-reraise", "a re-raise left pending by the handler's blocked signal ignored",
         SIGABRT, 0, 1, "earlier handler ran"},
        {"ignored", "SIG_IGN before taken as resolved", SIGSEGV, 0, 1, nullptr},
        {"fix-memory",
         "a handler that makes the page accessible and returns (write barriers) "
         "dumped",
         0, 0, 0, "written"},
        {"two-threads", "two dumps, or the second thread looping in its fault", SIGSEGV, 0, 1,
         nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.mode) + ": " + c.fault);
        Outcome o = RunChild(c.mode);
        EXPECT_EQ(c.signal, o.signal) << "exit code " << o.exit_code << "\n" << o.output;
        if (c.signal == 0) {
            EXPECT_EQ(c.exit_code, o.exit_code) << o.output;
        }
        EXPECT_EQ(c.dumps, o.dumps.size()) << o.output;
        if (c.said != nullptr) {
            EXPECT_EQ(1u, Occurrences(o.output, c.said)) << o.output;
        }
        if (c.dumps == 1 && !o.dumps.empty()) {
            EXPECT_NE(std::string::npos, o.first_dump.find("signal: " + std::to_string(c.signal)));
        }
    }
}

}  // namespace
