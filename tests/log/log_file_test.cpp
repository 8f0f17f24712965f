// The log file beside the executable: creation, stamp, modes, the line cut,
// rotation, and lines from many threads.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "LibVestra.h"
#include "common/log.h"
#include "common/timeutil.h"
#include "log/log_reader.h"
#include "platform/platform.h"
#include "support/local_zone.h"

namespace {

using logtest::AsText;
using logtest::BesideExe;

class LogFile : public ::testing::Test {
protected:
    void SetUp() override {
        current = BesideExe("LibVestra.log");
        old = BesideExe("LibVestra.1.log");
        logtest::StartFreshLog();
    }
    void TearDown() override { VX_SetLibLog(VX_LOG_FILE); }
    std::string current, old;
};

// Faults: LF alone on Windows, where hosts know the log as a text-mode
// append (CR LF for every LF, a message's own CR kept); CR LF elsewhere.
TEST_F(LogFile, LineEndsAreThoseOfATextFile) {
    vx::LibLog("a\nb\r\n");
    std::string raw = logtest::RawBytes(current);
    ASSERT_GT(raw.size(), 17u);  // "[YYYYMMDDhhmmss] "
    EXPECT_EQ(raw.substr(17),
              std::string("a") + logtest::kFileNewline + "b\r" + logtest::kFileNewline);
}

TEST_F(LogFile, StampIsLocalTime) {
    // A line carries the local time of the moment it was written, in a zone
    // eight hours from UTC (so that a UTC stamp shows); the time texts
    // themselves are TimeText's (tests/unit).
    const testsupport::LocalZone zone("CST-8", "Asia/Shanghai");
    char before[32], after[32];
    vx::GetLocalTimeStr(before, sizeof before);
    vx::LibLog("stamped\n");
    vx::GetLocalTimeStr(after, sizeof after);
    std::string stamp_in_file = AsText(current).substr(1, 14);
    EXPECT_TRUE(stamp_in_file == before || stamp_in_file == after) << stamp_in_file;
}

TEST_F(LogFile, ModesChooseFileConsoleOrNothing) {
    struct Case {
        int mode;
        bool file;
        bool console;
    } cases[] = {{0, false, false}, {1, true, false}, {2, false, true}, {3, true, false}};
    for (const auto &c : cases) {
        std::remove(current.c_str());
        VX_SetLibLog(c.mode);
        testing::internal::CaptureStdout();
        vx::LibLog("mode line\n");
        std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_EQ(std::ifstream(current).good(), c.file) << "mode " << c.mode;
        EXPECT_EQ(printed.find("mode line\n") != std::string::npos, c.console) << "mode " << c.mode;
    }
}

TEST_F(LogFile, LongMessageIsCutTo1023Characters) {
    std::string message(2000, 'm');
    vx::LibLog("%s\n", message.c_str());
    std::string text = AsText(current);
    EXPECT_EQ(text.size(), 1023u);
    EXPECT_EQ(text.substr(0, 1), "[");
    EXPECT_EQ(text.back(), 'm');
}

TEST_F(LogFile, RotatesWhenLargerThanTheLimit) {
    VX_SetLibLogSize(100);
    { std::ofstream(current) << std::string(100, 'a'); }
    { std::ofstream(old) << "older generation"; }
    vx::LibLog("at the limit\n");  // 100 bytes is not over the limit
    EXPECT_EQ(AsText(old), "older generation");
    EXPECT_EQ(AsText(current).substr(0, 100), std::string(100, 'a'));

    std::remove(current.c_str());
    { std::ofstream(current) << std::string(101, 'b'); }
    vx::LibLog("after rotation\n");
    EXPECT_EQ(AsText(old), std::string(101, 'b'));  // the older one was replaced
    EXPECT_TRUE(std::regex_match(AsText(current), std::regex(R"(\[\d{14}\] after rotation\n)")));

    VX_SetLibLogSize(0);  // zero or less: every line starts a new file
    vx::LibLog("one\n");
    vx::LibLog("two\n");
    EXPECT_NE(AsText(old).find("one\n"), std::string::npos);
    EXPECT_TRUE(std::regex_match(AsText(current), std::regex(R"(\[\d{14}\] two\n)")));
}

// Faults: lines interleaved or cut; and, without the log's lock, the size
// check and the append (or two rotations) of several threads interleaving:
// a file then grows past the limit by more than one line, or a stale
// rotation moves a barely started file aside.
TEST_F(LogFile, LinesFromManyThreadsStayWholeAndRotationStaysExact) {
    constexpr long long kLimit = 2000;
    VX_SetLibLogSize(static_cast<int32_t>(kLimit));  // rotate often while the threads write
    const std::regex whole(R"(\[\d{14}\] \[T\]: thread \d line \d+ payload-payload\n)");
    for (int round = 0; round < 30; ++round) {
        std::remove(current.c_str());
        std::remove(old.c_str());
        std::vector<std::thread> threads;
        for (int t = 0; t < 8; ++t) {
            threads.emplace_back([t] {
                for (int i = 0; i < 100; ++i)
                    vx::LibLog("[%s]: thread %d line %d %s\n", "T", t, i, "payload-payload");
            });
        }
        for (auto &th : threads) th.join();
        std::size_t longest = 0;
        for (const std::string *path : {&current, &old}) {
            const std::string text = AsText(*path);
            ASSERT_TRUE(text.empty() || text.back() == '\n') << text;  // the last line whole
            std::istringstream lines(text);
            for (std::string line; std::getline(lines, line);) {
                ASSERT_TRUE(std::regex_match(line + "\n", whole)) << line;
                longest = std::max(longest, line.size() + 1);
            }
        }
        longest += sizeof logtest::kFileNewline - 2;  // the file's bytes for the LF
        long long old_size = static_cast<long long>(logtest::RawBytes(old).size());
        long long cur_size = static_cast<long long>(logtest::RawBytes(current).size());
        ASSERT_GT(old_size, kLimit) << "round " << round;
        ASSERT_LE(old_size, kLimit + static_cast<long long>(longest)) << "round " << round;
        ASSERT_LE(cur_size, kLimit + static_cast<long long>(longest)) << "round " << round;
    }
}

}  // namespace
