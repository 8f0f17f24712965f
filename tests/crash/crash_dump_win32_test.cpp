// Crash dumps on Windows: a child host faults; exactly one minidump is
// beside its executable (or in the log folder the host chose), named by the
// local time, and the child still ends by its access violation. The child
// runs from a folder of its own, with the library and the virtual
// libusb0.dll beside it.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr DWORD kChildWaitMs = 120000;
const char *const kShipped[] = {"crash_child.exe", "LibVestra.dll", "libusb0.dll"};

// The names a crash between the two moments could have.
bool NamedForLocalTime(const std::string &name, std::time_t from, std::time_t to) {
    for (std::time_t t = from; t <= to; ++t) {
        std::tm tm{};
        ::localtime_s(&tm, &t);
        char want[64];
        std::strftime(want, sizeof want, "TarnbyCrash-%Y%m%d %H%M%S.dmp", &tm);
        if (name == want) return true;
    }
    return false;
}

struct Case {
    const char *mode;
    const char *folder;  // the log folder the child chooses ("": none), where its dump goes
    std::size_t dumps;
};

// Runs the child in the case's mode, in a folder of its own (with the log
// folder made first), and checks how it ended and the files it left.
void RunChild(const Case &c) {
    SCOPED_TRACE(c.mode);
    const std::string mode = c.mode;
    fs::path dir = fs::temp_directory_path() /
                   ("vx-crash-" + mode + "-" + std::to_string(::GetCurrentProcessId()));
    fs::remove_all(dir);
    fs::create_directories(dir / c.folder);
    wchar_t self[MAX_PATH];  // this executable: the shipped files are beside it
    const fs::path exe(self, self + ::GetModuleFileNameW(nullptr, self, MAX_PATH));
    for (const char *file : kShipped) fs::copy_file(exe.parent_path() / file, dir / file);
    std::wstring command = L"crash_child.exe " + std::wstring(mode.begin(), mode.end());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    const std::time_t before = std::time(nullptr);
    if (!::CreateProcessW((dir / "crash_child.exe").wstring().c_str(), command.data(), nullptr,
                          nullptr, FALSE, 0, nullptr, dir.wstring().c_str(), &startup, &child)) {
        ADD_FAILURE() << "CreateProcess failed: " << ::GetLastError();
        return;
    }
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(child.hProcess, kChildWaitMs));
    DWORD exit_code = 0;
    ::GetExitCodeProcess(child.hProcess, &exit_code);
    ::CloseHandle(child.hThread);
    ::CloseHandle(child.hProcess);
    const std::time_t after = std::time(nullptr);
    EXPECT_EQ(DWORD(EXCEPTION_ACCESS_VIOLATION), exit_code) << std::hex << exit_code;

    // Every file but the shipped ones and the library's own log files
    // (beside the executable) is a dump, in the folder or below it.
    std::vector<fs::path> dumps;
    for (const auto &e : fs::recursive_directory_iterator(dir)) {
        fs::path name = fs::relative(e.path(), dir);
        if (name != c.folder && name.string().rfind("LibVestra", 0) != 0 &&
            std::count(std::begin(kShipped), std::end(kShipped), name.string()) == 0)
            dumps.push_back(name);
    }
    EXPECT_EQ(c.dumps, dumps.size());
    if (c.dumps == 1 && dumps.size() == 1) {
        EXPECT_EQ(c.folder, dumps[0].parent_path().string()) << dumps[0];
        EXPECT_TRUE(NamedForLocalTime(dumps[0].filename().string(), before, after)) << dumps[0];
        std::ifstream in(dir / dumps[0], std::ios::binary);
        char head[4] = {};
        EXPECT_EQ("MDMP", std::string(head, std::size_t(in.read(head, sizeof head).gcount())));
    }
    std::error_code ignored;
    fs::remove_all(dir, ignored);
}

// Faults: no dump, or not a minidump; a wrong name; several dumps; the dump
// beside the executable although the host chose a log folder; the process
// surviving or ending some other way; the host's later filter reported a
// previous one (exit 3) or displacing the library's (exit 42); the filter's
// code gone with a FreeLibrary (no dump); a filter installed by loading the
// library (a dump without a monitor start).
TEST(CrashDump, OneMinidumpWhereTheHostSaysAndTheSameEnd) {
    const Case kCases[] = {
        {.mode = "monitor", .folder = "", .dumps = 1},
        {.mode = "own-filter", .folder = "", .dumps = 1},
        {.mode = "unload", .folder = "", .dumps = 1},
        {.mode = "log-dir", .folder = "chosen", .dumps = 1},
        {.mode = "no-monitor", .folder = "", .dumps = 0},
    };
    for (const Case &c : kCases) RunChild(c);
}

}  // namespace
