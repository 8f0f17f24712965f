// The maintenance commands of the standard mode: which recorder a serial text
// selects, the shell lines on the wire with their gap, the status values,
// and the logout that ends every call.
#include "recorder_fixture.h"

#include <chrono>
#include <cstring>

namespace {

const char kFirst[] =
    "killall vestra_wdg.sh ;killall tamar_app ;/usr/local/sbin/i2ccmd W 2 0x70 0xaa 3 1 0xff 0xad";
const char kSecond[] =
    "test_encode --idle --nopreview ;killall test_image ;echo 3 > /proc/sys/vm/drop_caches";
const char kPowerOff[] = "/usr/local/sbin/i2ccmd W 2 0x70 0xaa 0x10 1 1 0xbc";

// A VX005 with serial "A1234567_1" on the bus first.
class GbCmd : public RecorderTest {
protected:
    void SetUp() override {
        RecorderTest::SetUp();
        id = plugSerial("VX005", "A1234567_1");
    }
    int plugSerial(const char *model, const std::string &serial, int bus = 0) {
        return plug(model, "3400001", bus, serial);
    }
    static std::vector<std::string> Lines(int id) {
        std::vector<std::string> out;
        for (const auto &l : vsim::shell_lines(id)) out.push_back(l.line);
        return out;
    }
    int id = 0;
    int32_t st = 99;
    uint32_t level = 0;
};

TEST_F(GbCmd, SerialTextSelectsTheRecorder) {
    const int a = id;
    const int b = plugSerial("VX005", "B7654321_0", 1);
    int plain = plugSerial("VX005", "C5550000");  // no underscore: the whole string
    int other = plugSerial("VX007", "D7654321_1");
    vsim::set_value(a, "BATVAL", "11");
    vsim::set_value(b, "BATVAL", "22");
    vsim::set_value(plain, "BATVAL", "33");
    vsim::set_value(other, "BATVAL", "44");
    struct Case {
        const char *text;
        int32_t result, status;
        uint32_t level;
    } cases[] = {
        {"765", 1, 0, 22},      {"1234567", 1, 0, 11}, {"", 1, 0, 11},
        {"C5550000", 1, 0, 33}, {"_1", 0, -1, 0},  // the part behind "_" is not the serial
        {"D76", 0, -1, 0},                         // a VX007 is never used
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        level = 0;
        st = 99;
        EXPECT_EQ(GBCmd_GetBatteryVal(c.text, "888888", &level, &st), c.result);
        EXPECT_EQ(st, c.status);
        EXPECT_EQ(level, c.level);
    }
    // Each call logged in and out again, and released its interface.
    EXPECT_EQ(count_commands(a, "VX+LOGIN="), 2);
    EXPECT_EQ(count_commands(a, "VX+LOGOUT"), 2);
    EXPECT_EQ(count_commands(other, "VX+"), 0);
}

TEST_F(GbCmd, StatusValuesOfEachCall) {
    // A wrong password: the login is refused, never reported as done.
    EXPECT_EQ(GBCmd_GetBatteryVal("A1", "wrong", &level, &st), 0);
    EXPECT_EQ(st, VX_GBCMD_LOGIN_REFUSED);
    EXPECT_EQ(GBCmd_PowerOff("A1", "wrong", &st), 0);
    EXPECT_EQ(st, VX_GBCMD_LOGIN_REFUSED);
    EXPECT_TRUE(Lines(id).empty());

    vsim::script(id, "VX+BATVAL?\r\n", "Error: busy\r\n");
    EXPECT_EQ(GBCmd_GetBatteryVal("A1", "888888", &level, &st), 0);
    EXPECT_EQ(st, VX_GBCMD_BATTERY_REFUSED);

    EXPECT_EQ(GBCmd_EnterStandByMode("A1", "888888", &st), 0);
    EXPECT_EQ(st, VX_GBCMD_NOT_SUPPORTED);

    vsim::set_faults(id, {.reply_split = {}, .claim_interface_error = -16});
    EXPECT_EQ(GBCmd_GetBatteryVal("A1", "888888", &level, &st), 0);
    EXPECT_EQ(st, VX_GBCMD_CLAIM_FAILED);

    vsim::reset();
    vsim::add_bus("001", 1);
    EXPECT_EQ(GBCmd_PowerOff("", "888888", &st), 0);
    EXPECT_EQ(st, VX_GBCMD_NO_RECORDER);
    EXPECT_EQ(GBCmd_EnterStandByMode(nullptr, nullptr, &st), 0);
    EXPECT_EQ(st, VX_GBCMD_NOT_SUPPORTED);
}

TEST_F(GbCmd, ClaimFailureEndsTheSearch) {
    const int first = id;
    int second = plugSerial("VX005", "A1234568_1");
    vsim::set_faults(first, {.reply_split = {}, .set_configuration_error = -16});
    EXPECT_EQ(GBCmd_GetBatteryVal("A123456", "888888", &level, &st), 0);
    EXPECT_EQ(st, VX_GBCMD_CLAIM_FAILED);
    EXPECT_EQ(count_commands(second, "VX+"), 0);
}

TEST_F(GbCmd, ShellLinesOnTheWire) {
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(GBCmd_EnterDownLoadMode("A12", "888888", &st), 1);
    EXPECT_EQ(st, VX_GBCMD_DONE);
    EXPECT_EQ(Lines(id), (std::vector<std::string>{kFirst, kSecond}));
    auto shells = vsim::shell_lines(id);
    ASSERT_EQ(shells.size(), 2u);
    EXPECT_GE(shells[1].at - shells[0].at, std::chrono::milliseconds(290));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(290));
    // The lines go as "VX+SYSCMD=<Base64>\r\n", then the logout.
    auto cmds = vsim::commands(id);
    ASSERT_GE(cmds.size(), 3u);
    EXPECT_EQ(cmds[cmds.size() - 3].rfind("VX+SYSCMD=a2lsbGFsbCB2ZXN0cmFfd2RnLnNo", 0), 0u);
    EXPECT_EQ(cmds.back(), "VX+LOGOUT\r\n");

    vsim::clear_record();
    EXPECT_EQ(GBCmd_PowerOff("A12", "888888", &st), 1);
    EXPECT_EQ(st, VX_GBCMD_DONE);
    EXPECT_EQ(Lines(id), (std::vector<std::string>{kPowerOff}));
}

TEST_F(GbCmd, UndeliveredShellLineIsAFailure) {
    // The login succeeds first; the fault is armed for the shell line.
    vsim::set_handler("LOGIN", [&](vsim::Recorder &rec, const std::string &) {
        rec.logged_in = true;
        vsim::set_faults(rec.id, {.reply_split = {}, .write_error = -5, .write_error_count = 1});
        return std::string("+LOGIN:Sucess\r\nOK\r\n");
    });
    EXPECT_EQ(GBCmd_PowerOff("A12", "888888", &st), 0);
    EXPECT_EQ(st, VX_GBCMD_NOT_DELIVERED);
    EXPECT_TRUE(Lines(id).empty());
}

TEST_F(GbCmd, RecorderLeavesTheBusAfterPowerOff) {
    vsim::set_faults(id, {.reply_split = {}, .leave_on_power_off = true});
    EXPECT_EQ(GBCmd_PowerOff("A1", "888888", &st), 1);
    EXPECT_EQ(st, VX_GBCMD_DONE);
    EXPECT_EQ(GBCmd_PowerOff("A1", "888888", &st), 0);  // gone from the bus
    EXPECT_EQ(st, VX_GBCMD_NO_RECORDER);
}

TEST_F(GbCmd, OwnLockIsUsedOnlyWhenReady) {
    GBCmd_InitCriticalSection();
    EXPECT_EQ(GBCmd_GetBatteryVal("A1", "888888", &level, &st), 1);
    GBCmd_UnInitCriticalSection();
    GBCmd_UnInitCriticalSection();  // twice is harmless
    EXPECT_EQ(GBCmd_GetBatteryVal("A1", "888888", &level, &st), 1);
}

}  // namespace
