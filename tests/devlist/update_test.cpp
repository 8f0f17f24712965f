// The list update run by the host (monitor started without a refresh
// thread): slot order, removal before arrival, the 51st recorder, serial
// parsing, failures, and the accessors' index rules.
#include <algorithm>
#include <cstring>

#include "devlist/devlist_fixture.h"
#include "support/log_capture.h"

namespace devlist {
namespace {

// The monitor started without a refresh thread (in the child that runs the case).
class Update : public ListTest {
protected:
    void SetUp() override {
        ListTest::SetUp();
        if (InChild()) VX_InitDevListPthread();
    }
};

using NotStarted = ListTest;

// Faults: list never enabled without a start; g_dev_list_updated not 1 at
// load; then, once started, the host's own update recounting DevSum or
// raising g_dev_list_updated (only a refresh changes them, and no refresh
// thread runs in this mode).
TEST_F(NotStarted, NothingIsListedAndTheHostsUpdateLeavesCountAndFlagToARefresh) {
    if (RunIsolated()) return;
    Plug("A1234567_1");
    EXPECT_EQ(1u, VX_GetDevListIsUpdate());  // the value at load
    EXPECT_EQ(0u, VX_GetDevListIsUpdate());
    EXPECT_EQ(0u, VX_InitDevList());
    EXPECT_EQ(0, VX_GetDevListSum());
    EXPECT_FALSE(InUse(0));

    VX_InitDevListPthread();
    Plug("B7654321_0");
    EXPECT_EQ(1u, VX_InitDevList());
    EXPECT_EQ(2, Listed());
    EXPECT_EQ(0, VX_GetDevListSum());
    EXPECT_EQ(0u, VX_GetDevListIsUpdate());
}

// Faults: slots filled out of order, compacted after a removal, a removed
// slot losing its serial, a freed slot not reused lowest-first, serial and
// U-disk status parsed wrongly.
TEST_F(Update, SlotsFillLowestFirstAndAreNeverCompacted) {
    if (RunIsolated()) return;
    int a = Plug("A1234567_1");
    Plug("B7654321_0");
    int c = Plug("C0000003_12", "VX006", 1, "3400003");
    EXPECT_EQ(1u, VX_InitDevList());
    EXPECT_EQ(3, Listed());
    EXPECT_EQ("A1234567", Serial(0));
    EXPECT_EQ("B7654321", Serial(1));
    EXPECT_EQ("C0000003", Serial(2));
    int32_t udisk = -1;
    EXPECT_EQ(1u, VX_GetUdiskStatuFromList(2, &udisk));
    EXPECT_EQ(12, udisk);
    VestraInfo *third = VX_GetDevHandleFromList(2);
    EXPECT_EQ(0x0C06, third->busProductId);
    EXPECT_EQ(0x3A7C, third->busVendorId);
    EXPECT_EQ(vsim::devnum(c), third->devNum);
    EXPECT_STREQ("3400003", third->idCode);
    EXPECT_EQ(1, third->newDevFlag);

    vsim::unplug(a);
    EXPECT_EQ(1u, VX_InitDevList());
    EXPECT_EQ(2, Listed());
    EXPECT_FALSE(InUse(0));
    EXPECT_TRUE(InUse(1));
    EXPECT_TRUE(InUse(2));
    EXPECT_EQ("A1234567", Serial(0));  // a closed slot keeps its texts
    EXPECT_EQ(-1, VX_GetDevHandleFromList(0)->devNum);
    int32_t flag = 0;
    EXPECT_EQ(0u, VX_GetNewDevFlagFromList(VX_GetDevHandleFromList(0), &flag));

    Plug("D4444444_2");
    EXPECT_EQ(1u, VX_InitDevList());
    EXPECT_EQ("D4444444", Serial(0));
    EXPECT_EQ(0u, VX_InitDevList());  // nothing changed since
}

// Faults: the old slot kept (arrival before removal), the device number not
// part of the key; recorders on two busses with the same number not both
// listed.
TEST_F(Update, ReplugUnderNewNumberAndSameNumberOnTwoBusses) {
    if (RunIsolated()) return;
    int a = Plug("A1234567_1", "VX007", 0);
    int b = Plug("B7654321_1", "VX007", 1);
    ASSERT_EQ(vsim::devnum(a), vsim::devnum(b));
    VX_InitDevList();
    EXPECT_EQ(2, Listed());

    int again = vsim::replug(a);  // as the kernel does: under the next free number
    ASSERT_NE(vsim::devnum(a), vsim::devnum(again));
    EXPECT_EQ(1u, VX_InitDevList());
    EXPECT_EQ(2, Listed());
    // The replugged recorder is a new arrival: removal freed slot 0 first.
    EXPECT_EQ(vsim::devnum(again), VX_GetDevHandleFromList(0)->devNum);
    EXPECT_EQ(1, VX_GetDevHandleFromList(0)->newDevFlag);
}

// Faults: a 51st recorder overwriting a slot or the memory past the list;
// the waiting one never listed; a hub leaving not closing every slot.
TEST_F(Update, FiftyFirstWaitsAndAWholeHubLeaves) {
    if (RunIsolated()) return;
    std::vector<int> ids;
    for (int i = 0; i < 51; ++i) {
        char serial[16];
        std::snprintf(serial, sizeof serial, "S%07d_1", i);
        ids.push_back(Plug(serial, "VX007", i < 30 ? 0 : 1));
    }
    EXPECT_EQ(1u, VX_InitDevList());
    EXPECT_EQ(50, Listed());
    EXPECT_EQ("S0000049", Serial(49));
    EXPECT_EQ(nullptr, VX_GetDevHandleFromList(50));
    vsim::unplug(ids[7]);
    EXPECT_EQ(1u, VX_InitDevList());
    EXPECT_EQ("S0000050", Serial(7));
    EXPECT_EQ(50, Listed());

    for (int id : ids) vsim::unplug(id);
    EXPECT_EQ(1u, VX_InitDevList());
    EXPECT_EQ(0, Listed());  // no slot has an open record
}

// Faults: a serial without underscore listed; an unreadable serial or a
// configuration refusal leaving a half-open slot; -106 text lost.
TEST_F(Update, RecordersThatCannotBeListed) {
    if (RunIsolated()) return;
    Plug("NOUNDERSCORE");
    Plug("");
    vsim::set_faults(Plug("R1111111_1"), {.reply_split = {}, .set_configuration_error = -5});
    testsupport::LogCapture log;
    EXPECT_EQ(0u, VX_InitDevList());
    VX_InitDevList();
    std::string out = log.text();
    EXPECT_EQ(0, Listed());
    // The no-underscore string is logged at every update.
    std::size_t first = out.find("DevSerial:NOUNDERSCORE\n");
    ASSERT_NE(std::string::npos, first) << out;
    EXPECT_NE(std::string::npos, out.find("DevSerial:NOUNDERSCORE\n", first + 1));
    EXPECT_NE(std::string::npos, out.find("error setting config #1: ")) << out;
    // The refusal is left in the (free) slot it was tried in.
    bool found = false;
    for (int i = 0; i < 3; ++i)
        if (VX_GetErrNo(VX_GetDevHandleFromList(i)) == VX_STATUS_SET_CONFIG) found = true;
    EXPECT_TRUE(found);
}

// Faults: the ID code read tried once (a recorder whose first answer is lost
// is listed without its code), or more than twice.
TEST_F(Update, IdCodeReadIsTriedTwice) {
    if (RunIsolated()) return;
    const struct {
        int lost_answers;
        const char *listed_code;
    } cases[] = {{0, "3400001"}, {1, "3400002"}, {2, ""}};
    for (int i = 0; i < 3; ++i) {
        int id = Plug("I" + std::to_string(i) + "000000_1", "VX007", 0,
                      "340000" + std::to_string(i + 1));
        vsim::set_faults(id, {.reply_split = {}, .silent_replies = cases[i].lost_answers});
        VX_InitDevList();  // one update per recorder: it takes slot i
        SCOPED_TRACE(cases[i].lost_answers);
        ASSERT_TRUE(InUse(i));
        EXPECT_EQ(std::string(cases[i].listed_code), VX_GetDevHandleFromList(i)->idCode);
    }
}

// Faults: the default serial not replaced; the UUID copied past the serial
// field; a failed UUID query losing the serial.
TEST_F(Update, DefaultSerialBecomesTheUuid) {
    if (RunIsolated()) return;
    int id = vsim::plug(
        {.model = "VX005", .serial = "vestraunit_1", .password = "507193", .values = {}});
    vsim::set_value(id, "UUID", "U1234567890ABCDEFGHIJ");  // longer than the field takes
    vsim::plug({.model = "VX005", .serial = "vestraunit_0", .password = "other", .values = {}});
    VX_InitDevList();
    EXPECT_EQ("U1234567890", Serial(0));
    EXPECT_EQ(1, VX_IsLogin(VX_GetDevHandleFromList(0)));
    EXPECT_EQ("vestraunit", Serial(1));
}

// Faults: a slot closed by a failed transfer never re-listed, or re-listed
// without the new-device flag.
TEST_F(Update, SlotClosedByAFailedTransferIsListedAgainAsNew) {
    if (RunIsolated()) return;
    int id = Plug("A1234567_1");
    VX_InitDevList();
    VestraInfo *h = VX_GetDevHandleFromList(0);
    VX_SetNewDevFlagToList(h, 0);
    vsim::set_faults(id, {.reply_split = {}, .write_error = -5});
    char name[VX_TEXT_AREA] = {};
    EXPECT_EQ(0u, VX_GetDevName(h, "888888", name));
    EXPECT_EQ(0u, VX_CheckDevHandle(h));
    EXPECT_EQ(1u, VX_InitDevList());
    EXPECT_EQ(1u, VX_CheckDevHandle(h));
    EXPECT_EQ(1, h->newDevFlag);
    EXPECT_EQ(1u, VX_GetDevName(h, "888888", name));
}

// Faults: updates still running after a direct probe; a gone recorder's slot
// freed although updating is off.
TEST_F(Update, DirectProbeSwitchesUpdatesOff) {
    if (RunIsolated()) return;
    int id = Plug("A1234567_1");
    VX_InitDevList();
    char model[8] = {};
    EXPECT_EQ(1u, VX_ProbeDev(model));
    vsim::unplug(id);
    Plug("B7654321_1");
    EXPECT_EQ(0u, VX_InitDevList());
    EXPECT_TRUE(InUse(0));
    EXPECT_FALSE(InUse(1));
}

// Faults: a logged-in recorder not logged out, a slot left open, the list not
// cleared.
TEST_F(Update, UnInitLogsOutAndClosesEverySlot) {
    if (RunIsolated()) return;
    int a = Plug("A1234567_1");
    Plug("B7654321_1");
    VX_InitDevList();
    char name[VX_TEXT_AREA] = {};
    ASSERT_EQ(1u, VX_GetDevName(VX_GetDevHandleFromList(0), "888888", name));
    VX_UnInitDevList();
    EXPECT_EQ("", Serial(0));
    EXPECT_EQ(0, Listed());
    EXPECT_FALSE(vsim::logged_in(a));
    std::vector<std::string> sent = vsim::commands(a);
    EXPECT_EQ(1, std::count(sent.begin(), sent.end(), "VX+LOGOUT\r\n"));
    EXPECT_EQ(1u, VX_InitDevList());  // updating stays on
}

// Faults: U-disk status not parsed, a failed query keeping the old value,
// the query logging in.
TEST_F(Update, UdiskStatusQuery) {
    if (RunIsolated()) return;
    int id = Plug("A1234567_1");
    VX_InitDevList();
    VestraInfo *h = VX_GetDevHandleFromList(0);
    vsim::script(id, "VX+PCUDISKSTAT?\r\n", "+PCUDISKSTAT:3\r\nOK\r\n");
    int32_t status = -1;
    EXPECT_EQ(1u, VX_GetUdiskStatu(h, nullptr, &status));
    EXPECT_EQ(3, status);
    EXPECT_EQ(1u, VX_GetUdiskStatuFromList(0, &status));
    EXPECT_EQ(3, status);
    vsim::script(id, "VX+PCUDISKSTAT?\r\n", "OK\r\n");
    EXPECT_EQ(0u, VX_GetUdiskStatu(h, "x", &status));
    EXPECT_EQ(0, h->udiskStatus);
    EXPECT_FALSE(vsim::logged_in(id));
    EXPECT_EQ(0u, VX_GetUdiskStatu(nullptr, "x", &status));
}

// Faults: an accessor with the wrong index rule, a copy of an empty text,
// flags outside 0..15 accepted, records overrunning the caller's maximum.
TEST_F(Update, AccessorIndexRules) {
    if (RunIsolated()) return;
    int a = Plug("A1234567_1");
    Plug("B7654321_1", "VX007", 0, "3400002");
    Plug("C7654321_1", "VX007", 0, "3400003");
    int d = Plug("D7654321_4", "VX007", 0, "3400004");
    VX_InitDevList();
    vsim::unplug(a);
    vsim::unplug(d);
    Plug("A1234567_1", "VX007", 1);  // same serial as the gone one, in slot 0
    vsim::unplug(vsim::plug({}));    // no effect: an unknown device never lists
    VX_InitDevList();
    // Slots 0 (A again), 1, 2 in use; 3 closed.
    ASSERT_EQ(3, Listed());

    char sn[VX_SERIAL_LEN] = "untouched";
    EXPECT_EQ(1u, VX_GetDevSNFromList(3, sn));
    EXPECT_STREQ("D7654321", sn);
    EXPECT_EQ(1u, VX_GetDevSNFromList(49, sn));  // empty slot: buffer unchanged
    EXPECT_STREQ("D7654321", sn);
    EXPECT_EQ(0u, VX_GetDevSNFromList(50, sn));
    EXPECT_EQ(0u, VX_GetDevSNFromList(-1, sn));

    char id[VX_ID_CODE_LEN] = {};
    EXPECT_EQ(0u, VX_GetDevIDCodeFromList(0, id));  // not below DevSum, still 0 here
    EXPECT_EQ(0u, VX_GetDevIDCodeFromList(-1, id));

    int32_t udisk = 0;
    EXPECT_EQ(1u, VX_GetUdiskStatuFromList(3, &udisk));
    EXPECT_EQ(4, udisk);
    EXPECT_EQ(1u, VX_GetUdiskStatuFromList(49, &udisk));
    EXPECT_EQ(0u, VX_GetUdiskStatuFromList(50, &udisk));

    int32_t index = -7;
    EXPECT_EQ(1u, VX_GetDevIdxFromList("C7654321", &index));
    EXPECT_EQ(2, index);
    EXPECT_EQ(0u, VX_GetDevIdxFromList("D7654321", &index));  // closed slot skipped
    EXPECT_EQ(0u, VX_GetDevIdxFromList("c7654321", &index));
    EXPECT_EQ(2, index);

    VestraInfo *h1 = VX_GetDevHandleFromList(1);
    uint8_t byte = 0;
    for (uint32_t n = 0; n < 16; ++n)
        EXPECT_EQ(1u, VX_SetExFlagToList(h1, n, static_cast<uint8_t>(0xF0 + n)));
    EXPECT_EQ(0u, VX_SetExFlagToList(h1, 16, 1));
    EXPECT_EQ(1u, VX_GetExFlagFromList(h1, 15, &byte));
    EXPECT_EQ(0xFF, byte);
    EXPECT_EQ(0u, VX_GetExFlagFromList(VX_GetDevHandleFromList(3), 0, &byte));
    VestraInfo outsider{};
    EXPECT_EQ(0u, VX_SetNewDevFlagToList(&outsider, 5));
    EXPECT_EQ(1u, VX_SetNewDevFlagToList(h1, 5));

    DevListInfo info[VX_LIST_SLOTS];
    std::memset(info, 0xAB, sizeof info);
    EXPECT_EQ(1u, VX_GetDevAllListInfoFromList(info, 1));
    EXPECT_EQ(0, info[0].index);
    EXPECT_EQ(static_cast<unsigned char>(0xAB), reinterpret_cast<unsigned char *>(&info[1])[0]);
    EXPECT_EQ(3u, VX_GetDevAllListInfoFromList(info, VX_LIST_SLOTS));
    EXPECT_EQ(h1, info[1].handle);
    EXPECT_EQ(1, info[1].index);
    EXPECT_EQ(5, info[1].newDevFlag);
    EXPECT_STREQ("B7654321", info[1].serial);
    EXPECT_STREQ("3400002", info[1].idCode);
    EXPECT_EQ(0xF3, info[1].extraFlags[3]);
    EXPECT_EQ(0x0C07, info[1].busProductId);
    EXPECT_EQ(0x3A7C, info[1].busVendorId);
    EXPECT_EQ(0, std::memcmp(info[1].serial + 9, "\0\0\0\0\0\0\0", 7));  // NUL-padded
    EXPECT_EQ(2, info[2].index);

    // The host's section is re-entrant with the accessors that lock.
    VX_ListEnterCriticalSection();
    EXPECT_EQ(0, VX_GetDevListSum());
    VX_ListLeaveCriticalSection();
    VX_ListLeaveCriticalSection();  // one leave too many is ignored
    EXPECT_EQ(0, VX_GetDevListSum());
}

}  // namespace
}  // namespace devlist
