// The log folder a host chooses (VX_SetLibLogDir): both log files follow it,
// the default comes back, the text is the library's own copy, and a folder
// too long for it is refused.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#if defined(_WIN32)
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

#include "LibVestra.h"
#include "common/log.h"
#include "log/log_reader.h"
#include "platform/platform.h"

namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path &path) { return logtest::AsText(path.string()); }

class LogFolder : public ::testing::Test {
protected:
    void SetUp() override {
        exe_dir = vx::platform::HostExeDir();
        chosen = fs::temp_directory_path() / ("vx-logdir-" + std::to_string(::getpid()));
        fs::create_directories(chosen);
        logtest::StartFreshLog();
    }
    void TearDown() override {
        VX_SetLibLogDir(nullptr);
        fs::remove_all(chosen);
    }
    fs::path exe_dir, chosen;
};

// Fault: the chosen folder used for one file and not the other (rotation
// writing LibVestra.1.log beside the executable).
TEST_F(LogFolder, BothFilesGoToTheChosenFolder) {
    VX_SetLibLogDir(chosen.string().c_str());
    VX_SetLibLogSize(10);
    vx::LibLog("[Test]: first\n");
    vx::LibLog("[Test]: second\n");
    EXPECT_NE(std::string::npos, Slurp(chosen / "LibVestra.log").find("[Test]: second\n"));
    EXPECT_NE(std::string::npos, Slurp(chosen / "LibVestra.1.log").find("[Test]: first\n"));
    EXPECT_FALSE(fs::exists(exe_dir / "LibVestra.log"));
    EXPECT_FALSE(fs::exists(exe_dir / "LibVestra.1.log"));
}

// Faults: no way back to the default; the caller's text kept by pointer (a
// later change of the caller's area moving the log).
TEST_F(LogFolder, DefaultComesBackAndTheTextIsCopied) {
    const char *const kDefaults[] = {nullptr, ""};
    for (const char *back : kDefaults) {
        SCOPED_TRACE(back == nullptr ? "null" : "empty");
        fs::remove(exe_dir / "LibVestra.log");
        std::string text = chosen.string();
        VX_SetLibLogDir(text.c_str());
        text.assign(text.size(), 'x');
        vx::LibLog("[Test]: chosen\n");
        EXPECT_NE(std::string::npos, Slurp(chosen / "LibVestra.log").find("[Test]: chosen\n"));
        VX_SetLibLogDir(back);
        vx::LibLog("[Test]: default\n");
        EXPECT_NE(std::string::npos, Slurp(exe_dir / "LibVestra.log").find("[Test]: default\n"));
    }
    fs::remove(exe_dir / "LibVestra.log");
}

// Fault: a folder longer than the area cut to a shorter (other) folder, or
// read past its end.
TEST_F(LogFolder, TooLongAFolderIsRefusedAndTheFolderStays) {
    VX_SetLibLogDir(chosen.string().c_str());
    std::string longest =
        chosen.string() + "/" + std::string(4095 - chosen.string().size() - 1, 'd');
    std::string too_long = longest + "d";
    VX_SetLibLogDir(too_long.c_str());
    vx::LibLog("[Test]: still here\n");
    std::string text = Slurp(chosen / "LibVestra.log");
    EXPECT_NE(std::string::npos,
              text.find("[VX_SetLibLogDir]: a folder of 4096 bytes or more is refused; the log "
                        "stays where it was\n"));
    EXPECT_NE(std::string::npos, text.find("[Test]: still here\n"));
    // The longest that fits is taken (the folder does not exist: the line is lost).
    VX_SetLibLogDir(longest.c_str());
    vx::LibLog("[Test]: lost\n");
    EXPECT_EQ(std::string::npos, Slurp(chosen / "LibVestra.log").find("[Test]: lost\n"));
    EXPECT_FALSE(fs::exists(exe_dir / "LibVestra.log"));
}

}  // namespace
