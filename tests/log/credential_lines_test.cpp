// No credential at rest: the lines of the commands that carry a password or a
// digest show it masked, the log file is not readable by others, and a link
// planted in its place is not written through.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "log/log_reader.h"

#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

const std::string kStars32(32, '*');
// MD5("888888"), upper-case hex: what the wire carries.
const std::string kDigest888888 = "21218CCA77804D2BA1922C33E0151105";

class CredentialLines : public logtest::LogLines {
protected:
    void SetUp() override {
        LogLines::SetUp();
        id = plug("VX001");
        dev = open("VX001");
        ASSERT_NE(dev, nullptr);
    }
    int id = 0;
    VestraInfo *dev = nullptr;
};

// Faults: the digest, a password or an access point's password in the log
// (the masked text is exact, so a mask of the wrong length or one that eats
// the user name or the line end fails too); the wire or the record's
// lastCmd masked as well (the device would refuse the login).
TEST_F(CredentialLines, SecretsMaskedInTheLogOnlyWithTheirLength) {
    struct Case {
        const char *what;
        uint32_t (*run)(VestraInfo *);
        std::string wire;    // the line the device received
        std::string logged;  // the line the log shows
    };
    const Case cases[] = {
        {"login", [](VestraInfo *d) { return VX_Login(d, "888888"); },
         "VX+LOGIN=admin:" + kDigest888888 + "\r\n", "VX+LOGIN=admin:" + kStars32 + "\r\n"},
        {"login as a user", [](VestraInfo *d) { return VX_LoginEx(d, "bob", "888888"); },
         "VX+LOGIN=bob:" + kDigest888888 + "\r\n", "VX+LOGIN=bob:" + kStars32 + "\r\n"},
        {"login ID password", [](VestraInfo *d) { return VX_LoginIDPwd(d, "s3cret:pw"); },
         "VX+LOGINPWD=s3cret:pw\r\n", "VX+LOGINPWD=*********\r\n"},
        {"account change",
         [](VestraInfo *d) { return VX_SetDevUser(d, "888888", "bob", "888888", "888888"); },
         "VX+USER=bob:" + kDigest888888 + ":" + kDigest888888 + "\r\n",
         "VX+USER=bob:" + std::string(65, '*') + "\r\n"},
        {"recording password", [](VestraInfo *d) { return VX_SetRecordPwd(d, "888888", 4321); },
         "VX+RECVPWD=4321\r\n", "VX+RECVPWD=****\r\n"},
        {"access point", [](VestraInfo *d) { return VX_AddAp(d, "888888", "home", "wifi:key"); },
         "VX+APADD=home:wifi:key\r\n", "VX+APADD=home:********\r\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        VX_Logout(dev);
        std::remove(path.c_str());
        vsim::clear_record();
        c.run(dev);
        std::vector<std::string> wire = vsim::commands(id);
        EXPECT_NE(std::find(wire.begin(), wire.end(), c.wire), wire.end());
        std::string text = log();
        EXPECT_NE(text.find("[WriteFullDev]: usb_bulk_write " + c.logged + " \n"),
                  std::string::npos)
            << text;
        std::string secret = c.wire.substr(c.logged.find('*'));
        secret = secret.substr(0, secret.find('\r'));
        EXPECT_EQ(text.find(secret), std::string::npos) << text;  // replies included
    }
    EXPECT_EQ(std::string(dev->lastCmd), "VX+APADD=home:wifi:key\r\n");
}

// Faults: the read-error line not naming the command and the platform's
// time-out code (-110 on Linux, -116 with libusb-win32), or naming the
// command from the record unmasked.
TEST_F(CredentialLines, ReadErrorLineMasksTheCommandItNames) {
    vsim::set_faults(id, {.reply_split = {}, .silent_replies = 10});
    EXPECT_EQ(VX_Login(dev, "888888"), 0u);
    std::string text = log();
    EXPECT_NE(text.find("[ReadFullDev]: usb_bulk_read err:cmd:VX+LOGIN=admin:" + kStars32 +
                        "\r\n ret=" + std::to_string(vsim::kTimedOut) + ","),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find(kDigest888888), std::string::npos);
}

#if !defined(_WIN32)
// Fault: a new log readable by others (created 0666 before the umask); the
// umask is cleared so only the mode the library asks for counts.
TEST_F(CredentialLines, NewLogIsNotReadableByOthers) {
    mode_t old = ::umask(0);
    std::remove(path.c_str());
    VX_GetDevName(nullptr, "", nullptr);  // logs "No Find Device"
    ::umask(old);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

// Faults: the log written through a link planted in its place (the link's
// target changes); the refusal said on every line, or not at all.
TEST_F(CredentialLines, PlantedLinkIsNotFollowedAndSaidOnce) {
    std::string target = vx::platform::HostExeDir() + "/planted-target.txt";
    {
        std::FILE *f = std::fopen(target.c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fputs("untouched\n", f);
        std::fclose(f);
    }
    std::remove(path.c_str());
    ASSERT_EQ(::symlink(target.c_str(), path.c_str()), 0);
    ::testing::internal::CaptureStderr();
    VX_GetDevName(nullptr, "", nullptr);
    VX_GetDevName(nullptr, "", nullptr);
    std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(logtest::RawBytes(target), "untouched\n");
    const std::string line = "LibVestra: " + path + " is a symbolic link; the log is not written\n";
    EXPECT_EQ(said, line);  // once, for two lines (no other case plants a link)
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    std::remove(path.c_str());
    std::remove(target.c_str());
}
#endif

}  // namespace
