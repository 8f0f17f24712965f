// Crash dumps: a child host faults; the dump is beside its executable, named
// by the local time, and the child still dies by its signal.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int signal = 0;  // the signal that ended the child, 0 if it exited
    int exit_code = -1;
    std::vector<std::string>
        dumps;  // in the log folder the child chose, else beside the executable
    std::vector<std::string> strays;  // beside the executable when the child chose a folder
    std::string first_dump;
    unsigned first_dump_mode = 0;  // its permission bits, not following a link
    std::string planted;           // what target.txt (dump-link) holds at the end
    std::string output;            // the child's standard error
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
        if (name != "crash_child" && name != "stderr.txt" && name != "target.txt" &&
            name != log_subdir && name.rfind("LibVestra", 0) != 0)
            (log_subdir.empty() ? out.dumps : out.strays).push_back(name);
    }
    fs::path dumps_dir = log_subdir.empty() ? dir : dir / log_subdir;
    if (!log_subdir.empty())
        for (const auto &e : fs::directory_iterator(dumps_dir))
            out.dumps.push_back(e.path().filename().string());
    out.output = ReadAll(err);
    out.planted = ReadAll(dir / "target.txt");
    if (!out.dumps.empty()) {
        struct stat st {};
        if (::lstat((dumps_dir / out.dumps[0]).c_str(), &st) == 0) out.first_dump_mode = st.st_mode;
        out.first_dump = ReadAll(dumps_dir / out.dumps[0]);
    }
    fs::remove_all(dir);
    return out;
}

constexpr long kLocalZone = -1;

// The names a crash between the two moments could have, in this process's
// local time or, given an offset east of UTC in seconds, in that zone's.
bool NamedForLocalTime(const std::string &name, std::time_t from, std::time_t to,
                       long utc_offset = kLocalZone) {
    for (std::time_t t = from; t <= to; ++t) {
        std::tm tm{};
        if (utc_offset != kLocalZone) {
            std::time_t shifted = t + utc_offset;
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
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
    EXPECT_EQ(SIGSEGV, o.signal);
#endif
    EXPECT_TRUE(o.dumps.empty());
}

std::size_t Occurrences(const std::string &text, const std::string &what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// One way a host meets a fault, and what the row catches.
struct Case {
    const char *mode;
    const char *fault;
    int signal = SIGSEGV;  // 0: exits with status 0
    std::size_t dumps = 1;
    const char *said = nullptr;    // in the child's output, exactly once
    long utc_offset = kLocalZone;  // the zone the dump is named in, east of UTC in seconds
    const char *log_subdir = "";   // the log folder the child chooses
    bool handler_after = false;    // the host installs its own handler after the start
};

const Case kCases[] = {
    {.mode = "monitor",
     .fault = "no dump, a wrong name, folder, mode or content, several dumps, the process "
              "surviving or dying by another signal"},
    {.mode = "own-handler",
     .fault = "the handler displaced by a later sigaction/signal call",
     .handler_after = true},
    {.mode = "dlopen",
     .fault = "the same when the library came in through dlopen",
     .handler_after = true},
    {.mode = "abort", .fault = "no dump of an abort, or another death", .signal = SIGABRT},
    // A dump named by the zone offset of the monitor's start after the zone
    // changed, because no log line, no refresh, or (with the log off and no
    // refresh thread) no look at the clock took the new offset for the handler.
    {.mode = "zone-log", .fault = "the zone of the start after a log line", .utc_offset = 9 * 3600},
    {.mode = "zone-refresh",
     .fault = "the zone of the start after a refresh",
     .utc_offset = 9 * 3600},
    {.mode = "zone-dst",
     .fault = "the zone of the start after daylight time began",
     .utc_offset = 3600},
    {.mode = "log-dir",
     .fault = "the dump beside the executable although the host chose a folder (an "
              "interpreter's folder is the system's)",
     .log_subdir = "chosen"},
    // The host's own action, installed before the monitor, gets each fault
    // first; only what it leaves unresolved is dumped.
    {.mode = "resume-elsewhere",
     .fault = "a rewritten context (Mono's, the JVM's) taken for a crash, or the collector "
              "gone after the first (one-shot) fault",
     .said = "resolved 1000"},
    {.mode = "longjmp",
     .fault = "a fault recovered by siglongjmp dumped, or its stale call record taken for a "
              "re-raise",
     .said = "resolved 1000"},
    {.mode = "longjmp-thread",
     .fault = "the same on a thread without an alternate stack",
     .said = "resolved 1000"},
    {.mode = "returns-unchanged",
     .fault = "a handler returning unchanged taken as resolved (a fault loop)",
     .said = "earlier handler ran"},
    {.mode = "reraise",
     .fault = "a re-raise inside the earlier handler recursing or lost",
     .said = "earlier handler ran"},
    {.mode = "reraise-nodefer",
     .fault = "the same for an SA_NODEFER handler (Python's faulthandler)",
     .said = "earlier handler ran"},
    {.mode = "reraise-noreturn",
     .fault = "a re-raise swallowed while the handler never returns (abort() in Mono's SIGABRT "
              "handler ends by _exit)",
     .said = "earlier handler ran"},
    {.mode = "abort-reraise",
     .fault = "a re-raise left pending by the handler's blocked signal ignored",
     .signal = SIGABRT,
     .said = "earlier handler ran"},
    {.mode = "ignored", .fault = "SIG_IGN before taken as resolved"},
    {.mode = "fix-memory",
     .fault = "a handler that makes the page accessible and returns (write barriers) dumped",
     .signal = 0,
     .dumps = 0,
     .said = "written"},
    {.mode = "two-threads", .fault = "two dumps, or the second thread looping in its fault"},
};

// Every row: the death, the number of dumps and the one it leaves: its folder,
// its name in the local time (or the zone of the row), its mode and content.
TEST(CrashDump, OneDumpNamedForTheCrashAndTheSameDeath) {
    for (const Case &c : kCases) {
        SCOPED_TRACE(std::string(c.mode) + ": " + c.fault);
#if defined(__SANITIZE_THREAD__)
        // ThreadSanitizer's runtime intercepts sigaction and signal itself and
        // dispatches every signal from its own table, above the C library the
        // pin guards: there the host's later handler wins by design.
        if (c.handler_after) {
            std::printf("[ SKIPPED  ] %s: the thread sanitizer dispatches signals itself\n",
                        c.mode);
            continue;
        }
#endif
        Outcome o = RunChild(c.mode, c.log_subdir);
        EXPECT_EQ(c.signal, o.signal) << "exit code " << o.exit_code << "\n" << o.output;
        if (c.signal == 0) {
            EXPECT_EQ(0, o.exit_code) << o.output;
        }
        EXPECT_TRUE(o.strays.empty()) << o.strays.size();
        EXPECT_EQ(c.dumps, o.dumps.size()) << o.output;
        if (c.said != nullptr) {
            EXPECT_EQ(1u, Occurrences(o.output, c.said)) << o.output;
        }
        if (c.dumps != 1 || o.dumps.size() != 1) continue;
        EXPECT_TRUE(NamedForLocalTime(o.dumps[0], o.before, o.after, c.utc_offset)) << o.dumps[0];
        EXPECT_NE(std::string::npos, o.first_dump.find("signal: " + std::to_string(c.signal)));
        EXPECT_NE(std::string::npos, o.first_dump.find("backtrace:"));
        EXPECT_NE(std::string::npos, o.first_dump.find("memory map:"));
        EXPECT_EQ(S_IFREG | 0640u, o.first_dump_mode);  // fault: readable by others
        if (c.signal == SIGSEGV) {
            EXPECT_NE(std::string::npos, o.first_dump.find("fault address: 0x0000000000000010"));
        }
    }
}

}  // namespace
