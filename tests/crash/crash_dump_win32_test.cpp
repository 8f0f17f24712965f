// Crash dumps on Windows: a child host faults; exactly one minidump is
// beside its executable, named by the local time, and the child still ends
// by its access violation. The child runs from a folder of its own, with
// the library and the virtual libusb0.dll beside it.
#include <gtest/gtest.h>
#include <windows.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr DWORD kChildWaitMs = 120000;
const char *const kShipped[] = {"crash_child.exe", "LibVestra.dll", "libusb0.dll"};

struct Outcome {
    DWORD exit_code = 0;
    std::vector<std::string> dumps;         // files the child left beside itself
    std::string first_bytes;                // of the first of them
    std::vector<std::string> chosen_dumps;  // in the log folder the child chose
    std::time_t before = 0, after = 0;
};

fs::path OwnFolder() {
    wchar_t path[MAX_PATH];
    DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return fs::path(std::wstring(path, n)).parent_path();
}

Outcome RunChild(const std::string &mode, const std::string &log_subdir = "") {
    Outcome out;
    fs::path dir = fs::temp_directory_path() /
                   ("vx-crash-" + mode + "-" + std::to_string(::GetCurrentProcessId()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const char *file : kShipped) fs::copy_file(OwnFolder() / file, dir / file);
    if (!log_subdir.empty()) fs::create_directories(dir / log_subdir);
    std::wstring command = L"crash_child.exe " + std::wstring(mode.begin(), mode.end());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    out.before = std::time(nullptr);
    if (!::CreateProcessW((dir / "crash_child.exe").wstring().c_str(), command.data(), nullptr,
                          nullptr, FALSE, 0, nullptr, dir.wstring().c_str(), &startup, &child)) {
        ADD_FAILURE() << "CreateProcess failed: " << ::GetLastError();
        return out;
    }
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(child.hProcess, kChildWaitMs));
    ::GetExitCodeProcess(child.hProcess, &out.exit_code);
    ::CloseHandle(child.hThread);
    ::CloseHandle(child.hProcess);
    out.after = std::time(nullptr);
    for (const auto &e : fs::directory_iterator(dir)) {
        std::string name = e.path().filename().string();
        bool shipped = false;
        for (const char *file : kShipped) shipped = shipped || name == file;
        if (!shipped && name != log_subdir && name.rfind("LibVestra", 0) != 0)
            out.dumps.push_back(name);
    }
    if (!log_subdir.empty())
        for (const auto &e : fs::directory_iterator(dir / log_subdir))
            out.chosen_dumps.push_back(e.path().filename().string());
    if (!out.dumps.empty()) {
        std::ifstream in(dir / out.dumps[0], std::ios::binary);
        char head[4] = {};
        in.read(head, sizeof head);
        out.first_bytes.assign(head, std::size_t(in.gcount()));
    }
    std::error_code ignored;
    fs::remove_all(dir, ignored);
    return out;
}

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

// Faults: no dump, or not a minidump; a wrong name or folder; several dumps;
// the process surviving or ending some other way; the host's later filter
// reported a previous one (exit 3) or displacing the library's (exit 42); the
// filter's code gone with a FreeLibrary (no dump).
TEST(CrashDump, OneMinidumpBesideTheExecutableAndTheSameEnd) {
    for (const char *mode : {"monitor", "own-filter", "unload"}) {
        SCOPED_TRACE(mode);
        Outcome o = RunChild(mode);
        EXPECT_EQ(DWORD(EXCEPTION_ACCESS_VIOLATION), o.exit_code) << std::hex << o.exit_code;
        ASSERT_EQ(1u, o.dumps.size());
        EXPECT_TRUE(NamedForLocalTime(o.dumps[0], o.before, o.after)) << o.dumps[0];
        EXPECT_EQ("MDMP", o.first_bytes);
    }
}

// Fault: the minidump beside the executable although the host chose a folder.
TEST(CrashDump, TheMinidumpGoesToTheChosenLogFolder) {
    Outcome o = RunChild("log-dir", "chosen");
    EXPECT_EQ(DWORD(EXCEPTION_ACCESS_VIOLATION), o.exit_code) << std::hex << o.exit_code;
    EXPECT_TRUE(o.dumps.empty()) << o.dumps.size();
    ASSERT_EQ(1u, o.chosen_dumps.size());
    EXPECT_TRUE(NamedForLocalTime(o.chosen_dumps[0], o.before, o.after)) << o.chosen_dumps[0];
}

// Fault: a filter installed by loading the library.
TEST(CrashDump, NoDumpWithoutAMonitorStart) {
    Outcome o = RunChild("no-monitor");
    EXPECT_EQ(DWORD(EXCEPTION_ACCESS_VIOLATION), o.exit_code) << std::hex << o.exit_code;
    EXPECT_TRUE(o.dumps.empty());
}

}  // namespace
