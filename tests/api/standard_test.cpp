// The national-standard function set on its library-owned record: table
// order, ID-code checks, the fixed-user login, status values and wire bytes.
#include "recorder_fixture.h"

#include <cstring>

namespace {

constexpr int32_t kUnset = -77;  // a status the call must not have written

class Standard : public RecorderTest {
protected:
    void TearDown() override {
        int32_t st = 0;
        UnInit_Device(&st);
        RecorderTest::TearDown();
    }
    // Opens the record the way a host does; true when status 1.
    bool Init(const char *code = "KQWZM") {
        char text[8] = {};
        std::strcpy(text, code);
        int32_t st = kUnset;
        return Init_Device(text, &st) == 1 && st == 1;
    }
    static std::string LastCommand(int id) {
        auto c = vsim::commands(id);
        return c.empty() ? std::string() : c.back();
    }
};

TEST_F(Standard, InitDeviceChecksTheIdCodeOfTheTableRow) {
    int id = plug("VX002");
    struct Case {
        const char *code;
        int32_t result, status;
        const char *after;  // the caller's text afterwards
        bool open;
    } cases[] = {
        {"", 1, 1, "KQWZM", true},  // an empty code asks for it
        {"KQWZM", 1, 1, "KQWZM", true},
        {"KQWZX", 0, 2, "KQWZX", false},  // another code: closed again
        {"KQWZ", 0, 2, "KQWZ", false},    // wrong length fails the same way
        {"kqwzm", 0, 2, "kqwzm", false},  // case-sensitive
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.code);
        char text[8] = {};
        std::strcpy(text, c.code);
        int32_t st = kUnset;
        EXPECT_EQ(Init_Device(text, &st), c.result);
        EXPECT_EQ(st, c.status);
        EXPECT_STREQ(text, c.after);
        EXPECT_EQ(VX_CheckDevHandle(VX_GetGBDev()), c.open ? 1u : 0u);
    }
    int32_t st = kUnset;
    EXPECT_EQ(Init_Device(nullptr, &st), 0);
    EXPECT_EQ(st, 9);
    EXPECT_EQ(count_commands(id, "VX+GBIDCODE"), 0);  // the code is the table's, never asked
}

TEST_F(Standard, TableOrderDecidesWhichRecorderIsOpened) {
    struct Case {
        std::vector<const char *> attached;
        int opened;  // index into attached, -1 for none
    } cases[] = {
        {{"VX007", "VX006"}, 1},  // row 2 before row 3
        {{"VX007"}, 0},           // found only after rows 1 and 2 failed
        {{"VX007", "VX002"}, 1},  // row 1 first
        {{"VX005"}, -1},          // never a standard-set model
        {{"VX001", "VX004"}, -1},
    };
    for (const Case &c : cases) {
        vsim::reset();
        vsim::add_bus("001", 1);
        std::vector<int> ids;
        for (const char *m : c.attached) ids.push_back(plug(m));
        int32_t st = kUnset;
        char code[8] = {};
        EXPECT_EQ(GetIDCode(code, &st), c.opened >= 0 ? 1 : 0);
        EXPECT_EQ(st, c.opened >= 0 ? 1 : 2);
        if (c.opened < 0) continue;
        EXPECT_STREQ(code, "KQWZM");
        int32_t level = -1;
        vsim::set_value(ids[std::size_t(c.opened)], "BATVAL", "61");
        EXPECT_EQ(ReadDeviceBatteryDumpEnergy(&level, "888888", &st), 1);
        EXPECT_EQ(level, 61);
        UnInit_Device(&st);
    }
}

TEST_F(Standard, OperationsReportTheirOwnStatusValues) {
    int id = plug("VX006");
    ASSERT_TRUE(Init());
    int32_t st = kUnset;
    EXPECT_EQ(SyncDevTime("888888", &st), 1);
    EXPECT_EQ(st, 5);
    EXPECT_EQ(LastCommand(id).substr(0, 11), "VX+SYSTIME=");
    EXPECT_EQ(LastCommand(id).size(), 11u + 14 + 2);
    st = kUnset;
    vsim::set_handler("SYSTIME", [](vsim::Recorder &, const std::string &) {
        return std::string("Error: busy\r\n");
    });
    EXPECT_EQ(SyncDevTime("888888", &st), 0);
    EXPECT_EQ(st, 6);
    EXPECT_STREQ(VX_GetErrStr(VX_GetGBDev()), "Error: busy\r\n");
    vsim::set_handler("SYSTIME", nullptr);

    int32_t w = -1, h = -1;
    vsim::set_value(id, "MVEINFO", "1280x720,25,2048");
    EXPECT_EQ(ReadDeviceResolution(&w, &h, "888888", &st), 1);
    EXPECT_EQ(st, 1);
    EXPECT_EQ(w, 1280);
    EXPECT_EQ(h, 720);
    vsim::script(id, "VX+MVEINFO?\r\n", "OK\r\n+X:1\r\n");
    st = kUnset;
    EXPECT_EQ(ReadDeviceResolution(&w, &h, "888888", &st), 0);
    EXPECT_EQ(st, 2);
    vsim::script(id, "VX+BATVAL?\r\n", "Error: no battery\r\n");
    int32_t level = 0;
    EXPECT_EQ(ReadDeviceBatteryDumpEnergy(&level, "888888", &st), 0);
    EXPECT_EQ(st, 2);

    vsim::script(id, "VX+GBCFG?\r\n", "Error: busy\r\n");
    ZFYInfo z{};
    st = kUnset;
    EXPECT_EQ(GetZFYInfo(&z, "888888", &st), 0);
    EXPECT_EQ(st, kUnset);               // refusals of the identity calls leave status alone
    EXPECT_EQ(VX_GetGBDev()->errNo, 0);  // the record's own status number never changes

    EXPECT_EQ(SetMSDC("888888", &st), 1);
    EXPECT_EQ(st, 7);
    EXPECT_EQ(vsim::value(id, "UDISKEN"), "2");
    EXPECT_EQ(VX_CheckDevHandle(VX_GetGBDev()), 0u);  // closed and cleared
    // That a closed record then reports status 2 is RecordLifecycle's.
    EXPECT_EQ(LastCommand(id), "VX+LOGOUT\r\n");
}

TEST_F(Standard, CachedIdentityFillsAnEmptySerial) {
    int id = plug("VX007");
    ASSERT_TRUE(Init());
    vsim::set_value(id, "GBCFG", "SN12345,U01,Officer A,UNIT9,Patrol");
    ZFYInfo z;
    std::memset(&z, 'x', sizeof z);
    int32_t st = kUnset;
    ASSERT_EQ(GetZFYInfo(&z, "888888", &st), 1);
    EXPECT_EQ(st, 1);
    EXPECT_STREQ(z.serial, "SN12345");
    EXPECT_STREQ(z.unitName, "Patrol");

    ZFYInfo update{};
    std::strcpy(update.userNo, "U02");
    std::strcpy(update.userName, "Officer B");
    EXPECT_EQ(WriteZFYInfo(&update, "888888", &st), 1);
    EXPECT_EQ(LastCommand(id), "VX+GBCFG=SN12345,U02,Officer B,,\r\n");
    // The cache survives the record's release.
    UnInit_Device(&st);
    ASSERT_TRUE(Init());
    EXPECT_EQ(WriteZFYInfo(&update, "888888", &st), 1);
    EXPECT_EQ(LastCommand(id), "VX+GBCFG=SN12345,U02,Officer B,,\r\n");
}

// The fixed user is "admin"; a refused login is status 4. How many attempts a
// refused login makes is Operation.LogsInFirstWithItsPassword's, a password of
// 32 characters sent as it is Rules.AccountPasswordsTravelAsDigests' (the same
// login step and digest).
TEST_F(Standard, LoginOfTheFixedUser) {
    int id = plug("VX007");
    ASSERT_TRUE(Init());
    int32_t st = kUnset, level = 0;
    EXPECT_EQ(ReadDeviceBatteryDumpEnergy(&level, "wrong", &st), 0);
    EXPECT_EQ(st, 4);
    vsim::clear_record();
    EXPECT_EQ(ReadDeviceBatteryDumpEnergy(&level, "888888", &st), 1);
    ASSERT_FALSE(vsim::commands(id).empty());
    EXPECT_EQ(vsim::commands(id).front(), "VX+LOGIN=admin:21218CCA77804D2BA1922C33E0151105\r\n");
    EXPECT_EQ(ReadDeviceBatteryDumpEnergy(&level, "888888", &st), 1);
    EXPECT_EQ(count_commands(id, "VX+LOGIN="), 1);  // logged in from now on
}

TEST_F(Standard, RecordLifecycle) {
    int32_t st = kUnset;
    EXPECT_EQ(UnInit_Device(&st), 1);  // never opened: nothing sent, status 1
    EXPECT_EQ(st, 1);
    EXPECT_TRUE(vsim::transfers().empty());
    st = kUnset;
    EXPECT_EQ(Release_Device(&st), 1);
    EXPECT_EQ(st, 1);

    int id = plug("VX006");
    int32_t level = 0;
    EXPECT_EQ(ReadDeviceBatteryDumpEnergy(&level, "888888", &st), 0);  // no Init_Device yet
    EXPECT_EQ(st, 2);
    ASSERT_TRUE(Init());
    EXPECT_EQ(ReadDeviceBatteryDumpEnergy(&level, "888888", &st), 1);
    // A repeated Init_Device logs out and reopens.
    vsim::clear_record();
    ASSERT_TRUE(Init());
    EXPECT_EQ(count_commands(id, "VX+LOGOUT"), 1);
    EXPECT_EQ(VX_GetGBDev()->isLogin, 0);
    // A transfer failure closes the record; later calls report 2 at once.
    EXPECT_EQ(ReadDeviceBatteryDumpEnergy(&level, "888888", &st), 1);
    vsim::unplug(id);
    st = kUnset;
    EXPECT_EQ(SyncDevTime("888888", &st), 0);
    EXPECT_EQ(st, 6);
    vsim::clear_record();
    EXPECT_EQ(SyncDevTime("888888", &st), 0);
    EXPECT_EQ(st, 2);
    EXPECT_TRUE(vsim::transfers().empty());
}

}  // namespace
