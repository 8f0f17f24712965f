// Reading the log back. The file holds each line end as the platform's text
// files do (CR LF on Windows, checked by LogFile.LineEndsAreThoseOfATextFile);
// the other cases read it as a host reads a text file, with LF line ends.
#pragma once

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "api/recorder_fixture.h"
#include "platform/platform.h"

namespace logtest {

#if defined(_WIN32)
inline constexpr char kFileNewline[] = "\r\n";
#else
inline constexpr char kFileNewline[] = "\n";
#endif

inline std::string RawBytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

inline std::string AsText(const std::string &path) {
    std::string text = RawBytes(path);
    for (std::size_t at = 0; (at = text.find(kFileNewline, at)) != std::string::npos; ++at)
        text.replace(at, sizeof kFileNewline - 1, "\n");
    return text;
}

inline std::string BesideExe(const char *name) { return vx::platform::HostExeDir() + "/" + name; }

// The log to a file beside the executable at its default size, with neither
// generation there yet.
inline void StartFreshLog() {
    for (const char *name : {"LibVestra.log", "LibVestra.1.log"})
        std::remove(BesideExe(name).c_str());
    VX_SetLibLog(VX_LOG_FILE);
    VX_SetLibLogSize(5242880);
}

// The log beside the executable, started empty at its default size, and the
// virtual busses of RecorderTest.
class LogLines : public RecorderTest {
protected:
    void SetUp() override {
        RecorderTest::SetUp();
        path = BesideExe("LibVestra.log");
        StartFreshLog();
    }
    void TearDown() override {
        RecorderTest::TearDown();
        std::remove(path.c_str());
    }
    std::string log() const { return AsText(path); }
    bool logged(const std::string &text) const { return log().find(text) != std::string::npos; }
    std::string path;
};

}  // namespace logtest
