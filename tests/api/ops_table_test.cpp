// Every device operation of the C interface as one row of data: the call,
// the exact line on the wire, the reply's payload, and the result, status and
// outputs it must give. The outputs are checked as a whole image of every
// area the caller passed, so a byte written beyond the expected one is seen;
// how a text lands (bytes only, or terminated) follows the row's rule. The
// failures every operation shares before and in its reply run over the same
// rows; the transfer faults at every step are the fault matrix's (unit/).
#include <climits>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "ops_support.h"

namespace {

using namespace ops_test;

using Call = uint32_t (*)(VestraInfo *, const char *, Outs &);
#define OP(...)                                             \
    [](VestraInfo *d, const char *p, Outs &o) -> uint32_t { \
        (void)o;                                            \
        return __VA_ARGS__;                                 \
    }

// What the reply is read for: nothing but "OK" (a reply without the key then
// passes), its key, text copied as bytes without a terminator, or fields cut
// at separators and terminated.
enum class Reads { Ok, Key, Bytes, Fields };

struct Row {
    const char *name;
    Call call;
    std::string command;        // "%UTC%" stands for the host's 14-digit UTC time
    std::string payload = "1";  // reply "+KEY:<payload>\r\nOK\r\n", KEY from the command
    Reads reads = Reads::Ok;
    std::vector<const char *> texts = {};  // t[0], t[1], ...; null: not written
    std::vector<uint32_t> nums = {};       // n[0], n[1], ...
    void (*more)(Outs &want) = nullptr;    // outputs beyond texts and numbers
    bool clears = false;                   // outputs zeroed once the reply is accepted
    const char *text_after = "prior";      // error text after success
};

// The keyword of a command line: between "VX+" and its "=", "?" or line end.
std::string Keyword(const std::string &command) {
    return command.substr(3, command.find_first_of("=?\r") - 3);
}
std::string ReplyOf(const Row &r) {
    return "+" + Keyword(r.command) + ":" + r.payload + "\r\nOK\r\n";
}

// The caller's areas after a successful call.
Outs Expected(const Row &r) {
    Outs want = Image(r.texts, r.nums, r.reads == Reads::Fields);
    if (r.more) r.more(want);
    return want;
}

// The battery was last asked long ago: the query is not throttled.
int LongAgo(VestraInfo *d) { return d != nullptr ? d->lastBatteryQuery = INT32_MIN / 2 : 0; }

// The identity record of the GBCFG rows; fill: the bytes behind each text (a
// record sent ends every field at its own terminator).
ZFYInfo Officer(char fill) {
    ZFYInfo z;
    std::memset(&z, fill, sizeof z);
    std::strcpy(z.serial, "1234567");
    std::strcpy(z.userNo, "000001");
    std::strcpy(z.userName, "Officer A");
    std::strcpy(z.unitNo, "320100000000");
    std::strcpy(z.unitName, "Patrol unit");
    return z;
}

constexpr const char *kDigest888888 = "21218CCA77804D2BA1922C33E0151105";
constexpr const char *kDigest32 = "0123456789abcdef0123456789abcdef";
// clang-format off
// A service configuration switched on with its fields, and read back from
// the same fields (the set's reply echoes only the switch).
#define SERVICE(Name, Key, set, get, fields, ...)                                                               \
    {.name = "Set" #Name, .call = OP(set), .command = "VX+" Key "=bEnable:1," fields "\r\n",                    \
     .payload = "bEnable:1,"},                                                                                  \
    {.name = "Get" #Name, .call = OP(get), .command = "VX+" Key "?\r\n", .payload = "bEnable:1," fields,        \
     .reads = Reads::Bytes, __VA_ARGS__}
// A switch, one keyword: set to 45 and read back.
#define SWITCH(Name, Key)                                                                                       \
    {.name = "Set" #Name, .call = OP(VX_Set##Name(d, p, 45)), .command = "VX+" Key "=45\r\n", .payload = "45"}, \
    {.name = "Get" #Name, .call = OP(VX_Get##Name(d, p, &o.n[0])), .command = "VX+" Key "?\r\n",                \
     .payload = "45", .reads = Reads::Fields, .nums = {45}}
// A text read as bytes into the first area.
#define TEXT_GET(Name, Key, text)                                                                               \
    {.name = "Get" #Name, .call = OP(VX_Get##Name(d, p, o.t[0])), .command = "VX+" Key "?\r\n",                 \
     .payload = text, .reads = Reads::Bytes, .texts = {text}}

std::vector<Row> Rows() {
    return {
        // ---- Identity, clock, account, device information ----
        {.name = "GetDevInfo", .call = OP(VX_GetDevInfo(d, p, &o.z)), .command = "VX+GBCFG?\r\n",
         .payload = "1234567,000001,Officer A,320100000000,Patrol unit", .reads = Reads::Fields,
         .more = [](Outs &w) { w.z = Officer('\0'); }, .clears = true},
        {.name = "SetDevInfo", .call = OP([d, p] { ZFYInfo z = Officer(kFill); return VX_SetDevInfo(d, p, &z); }()),
         .command = "VX+GBCFG=1234567,000001,Officer A,320100000000,Patrol unit\r\n"},
        {.name = "SetDevName", .call = OP(VX_SetDevName(d, p, "front door")),
         .command = "VX+DEVNAME=front door\r\n", .payload = "front door"},
        TEXT_GET(DevName, "DEVNAME", "cam 7"),
        TEXT_GET(DevUID, "UID", "00A1B2C3"),
        TEXT_GET(DevUUID, "UUID", "VU1A2B3C4D"),
        TEXT_GET(DevVID, "VID", "3A7C"),
        TEXT_GET(DevDID, "DID", "0C01"),
        {.name = "SetDevTime", .call = OP(VX_SetDevTime(d, p)), .command = "VX+SYSTIME=%UTC%\r\n"},
        {.name = "SetDevTimeCfg", .call = OP(VX_SetDevTimeCfg(d, p, 8, "abc")),
         .command = "VX+SYSTIME=%UTC%,0,8,abc\r\n"},
        {.name = "GetDevTimeCfg", .call = OP(VX_GetDevTimeCfg(d, p, o.t[0], &o.n[0], &o.n[1], o.t[1])),
         .command = "VX+SYSTIME?\r\n", .payload = "20240102030405,5,8,Z", .reads = Reads::Fields,
         .texts = {"20240102030405", "Z"}, .nums = {5, 8}},
        {.name = "GetDevTime", .call = OP(VX_GetDevTime(d, p, o.t[0])), .command = "VX+SYSTIME?\r\n",
         .payload = "20240102030405,5,8,Z", .reads = Reads::Fields, .texts = {"20240102030405"}},
        {.name = "SetDevUser", .call = OP(VX_SetDevUser(d, p, "officer", "888888", kDigest32)),
         .command = std::string("VX+USER=officer:") + kDigest888888 + ":" + kDigest32 + "\r\n",
         .payload = "officer"},
        TEXT_GET(DevUser, "USER", "officer"),
        {.name = "GetBatVal", .call = OP(LongAgo(d), VX_GetBatVal(d, p, &o.n[0])),
         .command = "VX+BATVAL?\r\n", .payload = "87", .reads = Reads::Fields, .nums = {87}},
        {.name = "GetMasterVEInfo", .call = OP(VX_GetMasterVEInfo(d, p, &o.n[0], &o.n[1], &o.n[2], &o.n[3])),
         .command = "VX+MVEINFO?\r\n", .payload = "1280x720,25,2048", .reads = Reads::Fields,
         .nums = {1280, 720, 25, 2048}},
        {.name = "GetSlaveVEInfo", .call = OP(VX_GetSlaveVEInfo(d, p, &o.n[0], &o.n[1], &o.n[2], &o.n[3])),
         .command = "VX+SVEINFO?\r\n", .payload = "640x360,15,512", .reads = Reads::Fields,
         .nums = {640, 360, 15, 512}},
        {.name = "SetRecordPwd", .call = OP(VX_SetRecordPwd(d, p, -1234)), .command = "VX+RECVPWD=-1234\r\n",
         .payload = "-1234"},
        TEXT_GET(RecordPwd, "RECVPWD", "0042"),

        // ---- Network, access points, switches ----
        {.name = "SetApn", .call = OP(VX_SetApn(d, p, "")), .command = "VX+APN=NULL\r\n", .payload = "NULL"},
        TEXT_GET(Apn, "APN", "NULL"),
        {.name = "SetVpn", .call = OP(VX_SetVpn(d, p, "vpn.example", "", "s3")),
         .command = "VX+VPN=vpn.example,NULL,s3\r\n", .payload = "vpn.example,NULL,s3"},
        {.name = "GetVpn", .call = OP(VX_GetVpn(d, p, o.t[0], o.t[1], o.t[2])), .command = "VX+VPN?\r\n",
         .payload = "vpn.example,NULL,s3", .reads = Reads::Fields, .texts = {"vpn.example", nullptr, "s3"}},
        {.name = "SetServAddr", .call = OP(VX_SetServAddr(d, p, "10.0.0.1", 8080)),
         .command = "VX+SERVADDR=10.0.0.1:8080\r\n", .payload = "10.0.0.1,8080"},
        {.name = "GetServAddr", .call = OP(VX_GetServAddr(d, p, o.t[0], &o.n[0])),
         .command = "VX+SERVADDR?\r\n", .payload = "10.0.0.1,8080", .reads = Reads::Fields,
         .texts = {"10.0.0.1"}, .nums = {8080}},
        {.name = "SetDevSSID", .call = OP(VX_SetDevSSID(d, p, "REC-7")), .command = "VX+SSID=REC-7\r\n",
         .payload = "REC-7"},
        TEXT_GET(DevSSID, "SSID", "REC-7"),
        {.name = "AddAp", .call = OP(VX_AddAp(d, p, "HQ", "wpa2pass")), .command = "VX+APADD=HQ:wpa2pass\r\n",
         .payload = "HQ"},
        {.name = "DelAp", .call = OP(VX_DelAp(d, p, "HQ")), .command = "VX+APDEL=HQ\r\n", .payload = "HQ",
         .reads = Reads::Key},
        {.name = "DelAllAp", .call = OP(VX_DelAllAp(d, p)), .command = "VX+APDEL=ALL\r\n", .payload = "ALL",
         .reads = Reads::Key},
        {.name = "SetSelAp", .call = OP(VX_SetSelAp(d, p, "HQ")), .command = "VX+APSEL=HQ\r\n",
         .payload = "HQ", .reads = Reads::Key},
        TEXT_GET(SelAp, "APSEL", "HQ"),
        {.name = "GetApList", .call = OP(VX_GetApList(d, p, o.list)), .command = "VX+APLIST?\r\n",
         .payload = "HQ:pw,Depot:", .reads = Reads::Bytes,
         .more = [](Outs &w) { std::memcpy(w.list, "HQ:pw,Depot:", 12); }},

        // ---- Platform service configurations ----
        SERVICE(TalkBackCfg, "TALKBACKCFG", VX_SetTalkBackCfg(d, p, 1, "10.1.1.1", "5060", "D01", "Cam7", "pw1"),
                VX_GetTalkBackCfg(d, p, &o.n[0], o.t[0], o.t[1], o.t[2], o.t[3], o.t[4]),
                "ServIP:10.1.1.1,ServPort:5060,DevNo:D01,DevName:Cam7,DevPasswd:pw1,",
                .texts = {"10.1.1.1", "5060", "D01", "Cam7", "pw1"}, .nums = {1}),
        SERVICE(Gb28181Cfg, "GB28181CFG",
                VX_SetGb28181Cfg(d, p, 1, "10.1.1.2", "5061", "D02", "C02", "Front", "S0002", "pw2"),
                VX_GetGb28181Cfg(d, p, &o.n[0], o.t[0], o.t[1], o.t[2], o.t[3], o.t[4], o.t[5], o.t[6]),
                "ServIP:10.1.1.2,ServPort:5061,DevNo:D02,ChnNo:C02,Chnname:Front,ServID:S0002,Name:S0002,Passwd:pw2,",
                .texts = {"10.1.1.2", "5061", "D02", "C02", "Front", "S0002", "pw2"}, .nums = {1}),
        SERVICE(GpsServCfg, "GPSSERVCFG", VX_SetGpsServCfg(d, p, 1, "gps.example", "6000", "D03", "pw3", 15),
                VX_GetGpsServCfg(d, p, &o.n[0], o.t[0], o.t[1], o.t[2], o.t[3], &o.n[1]),
                "ServIP:gps.example,ServPort:6000,DevNo:D03,Passwd:pw3,ReportTime:15,",
                .texts = {"gps.example", "6000", "D03", "pw3"}, .nums = {1, 15}),
        // Off, and read back with another report time.
        {.name = "SetCmsv6Cfg", .call = OP(VX_SetCmsv6Cfg(d, p, 0, "cms.example", "6608", "D04", 30)),
         .command =
             "VX+CMSV6CFG=bEnable:0,ServIP:cms.example,ServPort:6608,DevNo:D04,ReportTime:30,\r\n",
         .payload = "bEnable:0,"},
        {.name = "GetCmsv6Cfg", .call = OP(VX_GetCmsv6Cfg(d, p, &o.n[0], o.t[0], o.t[1], o.t[2], &o.n[1])),
         .command = "VX+CMSV6CFG?\r\n",
         .payload = "bEnable:0,ServIP:cms.example,ServPort:6608,DevNo:D04,ReportTime:20,",
         .reads = Reads::Bytes, .texts = {"cms.example", "6608", "D04"}, .nums = {0, 20}},
        SERVICE(PtytCfg, "PTYTCFG", VX_SetPtytCfg(d, p, 1, "pt.example", "7000", "D05", "Cam5", "pw5", 25),
                VX_GetPtytCfg(d, p, &o.n[0], o.t[0], o.t[1], o.t[2], o.t[3], o.t[4], &o.n[1]),
                "ServIP:pt.example,ServPort:7000,DevNo:D05,DevName:Cam5,DevPasswd:pw5,ReportTime:25,",
                .texts = {"pt.example", "7000", "D05", "Cam5", "pw5"}, .nums = {1, 25}),
        SERVICE(0787Serv01Cfg, "0787SERV01CFG", VX_Set0787Serv01Cfg(d, p, 1, "s.example", "7100", "D06", "pw6", 35),
                VX_Get0787Serv01Cfg(d, p, &o.n[0], o.t[0], o.t[1], o.t[2], o.t[3], &o.n[1]),
                "ServIP:s.example,ServPort:7100,DevNo:D06,Passwd:pw6,ReportTime:35,",
                .texts = {"s.example", "7100", "D06", "pw6"}, .nums = {1, 35}),
        SERVICE(LBSCfg, "LBSCFG", VX_SetLBSCfg(d, p, 1, "http://lbs.example/login", "pw7", 60),
                VX_GetLBSCfg(d, p, &o.n[0], o.t[0], o.t[1], &o.n[1]),
                "LoginUrl:http://lbs.example/login,DevPasswd:pw7,ReportTime:60,",
                .texts = {"http://lbs.example/login", "pw7"}, .nums = {1, 60}),
        SERVICE(NetCheckServCfg, "DIAGNOSTICCFG", VX_SetNetCheckServCfg(d, p, 1, "diag.example", "7200"),
                VX_GetNetCheckServCfg(d, p, &o.n[0], o.t[0], o.t[1]), "ServIP:diag.example,ServPort:7200,",
                .texts = {"diag.example", "7200"}, .nums = {1}),

        // ---- Storage, power, device logs, OSD ----
        {.name = "EnterDiskMode", .call = OP(VX_EnterDiskMode(d, p)), .command = "VX+UDISKEN=2\r\n",
         .payload = "2"},
        {.name = "FormatUdiskFat32", .call = OP(VX_FormatUdisk(d, p, 1)), .command = "VX+MKFS=FAT32\r\n",
         .payload = "FAT32"},
        {.name = "FormatUdiskExfat", .call = OP(VX_FormatUdisk(d, p, 2)), .command = "VX+MKFS=EXFAT\r\n",
         .payload = "EXFAT"},
        {.name = "FReset", .call = OP(VX_FReset(d, p)), .command = "VX+FRESET=1\r\n"},
        {.name = "SetDevLogLevel", .call = OP(VX_SetDevLogLevel(d, p, 3)), .command = "VX+LOGLEVEL=3\r\n",
         .payload = "3"},
        {.name = "GetDevLogLevel", .call = OP(VX_GetDevLogLevel(d, p, &o.n[0])),
         .command = "VX+LOGLEVEL?\r\n", .payload = "3", .reads = Reads::Fields, .nums = {3}},
        {.name = "ExportDevLog", .call = OP(VX_ExportDevLog(d, p)), .command = "VX+LOGEXPORT\r\n"},
        {.name = "CtrlReboot", .call = OP(VX_CtrlReboot(d, p)), .command = "VX+POWEROFF=2\r\n",
         .payload = "2"},
        {.name = "CtrlPowerOff", .call = OP(VX_CtrlPowerOff(d, p)), .command = "VX+POWEROFF=1\r\n"},
        {.name = "CtrlPowerSave", .call = OP(VX_CtrlPowerSave(d, p)), .command = "VX+POWERSAVE=1\r\n"},
        {.name = "SetVideoOsd", .call = OP(VX_SetVideoOsd(d, p, 3, 1, "Unit 7")),
         .command = "VX+VIDEOOSD3=1,Unit 7\r\n", .payload = "1,Unit 7"},
        {.name = "GetVideoOsd", .call = OP(VX_GetVideoOsd(d, p, 3, &o.n[0], o.t[0], 64)),
         .command = "VX+VIDEOOSD3?\r\n", .payload = "1,Unit 7", .reads = Reads::Key, .nums = {1},
         .more =
             [](Outs &w) {
                 std::memset(w.t[0], 0, 63);  // padded to size - 1; the last byte never written
                 std::memcpy(w.t[0], "Unit 7", 6);
             }},

        // ---- Data channel, raw device commands, configuration text ----
        {.name = "SetDataPthread", .call = OP(VX_SetDataPthread(d, p, 3)), .command = "VX+DATAPTHREAD=3\r\n",
         .payload = "3", .reads = Reads::Key},
        {.name = "SendDataPack",
         .call = OP(VX_SendDataPack(d, p, 7, reinterpret_cast<const uint8_t *>("abc"), 3)),
         .command = "VX+BASE64=7,YWJj\r\n", .payload = "7", .reads = Reads::Key},
        {.name = "SendUserCmd",
         .call = OP([d, p, &o] {
             char cmd[] = "VX+DEVNAME?";
             return VX_SendUserCmd(d, p, cmd, o.user);
         }()), .command = "VX+DEVNAME?\r\n", .payload = "cam 7",
         .more = [](Outs &w) { std::strcpy(w.user, "+DEVNAME:cam 7\r\nOK\r\n"); },
         .text_after = "+DEVNAME:cam 7\r\nOK\r\n"},
        {.name = "DevCfgIniStr",
         .call = OP(VX_DevCfgIniStr(d, p, "Video.FrameRate=25", o.t[0], VX_TEXT_AREA)),
         .command = "VX+UMSINI=Video.FrameRate=25\r\n", .payload = "Video.FrameRate=25",
         .reads = Reads::Bytes, .texts = {"Video.FrameRate=25"}},
        {.name = "DevCfgJsonStr",
         .call =
             OP(VX_DevCfgJsonStr(d, p, "{\"Video\":{\"FrameRate\":null}}", o.t[0], VX_TEXT_AREA)),
         .command = "VX+UMSJSON={\"Video\":{\"FrameRate\":null}}\r\n",
         .payload = "{\"Video\":{\"FrameRate\":\"25\"}}", .reads = Reads::Bytes,
         .texts = {"{\"Video\":{\"FrameRate\":\"25\"}}"}},

        // ---- The on/off and number switches ----
        SWITCH(DevUDiskAuthEn, "UDISKAUTHEN"),
        SWITCH(DevPFPTTEn, "PFPTTEN"),
        SWITCH(DevReportTime, "SERVHEARTBEAT"),
        SWITCH(DevGpsEn, "GPSEN"),
    };
}
// clang-format on

const std::vector<Row> &AllRows() {
    static const std::vector<Row> rows = Rows();
    return rows;
}
std::vector<Row> KeyedRows() {
    std::vector<Row> keyed;
    for (const Row &r : AllRows())
        if (r.reads != Reads::Ok) keyed.push_back(r);
    return keyed;
}
void PrintTo(const Row &row, std::ostream *os) { *os << row.name; }

bool HasUtc(const std::string &command) { return command.find("%UTC%") != std::string::npos; }

// The line sent equals the row's, with 14 digits where the row says %UTC%.
::testing::AssertionResult SameLine(const std::string &want, const std::string &got) {
    std::size_t at = want.find("%UTC%");
    if (at == std::string::npos) {
        if (want == got) return ::testing::AssertionSuccess();
    } else if (got.size() == want.size() - 5 + 14 && got.compare(0, at, want, 0, at) == 0 &&
               got.compare(at + 14, std::string::npos, want, at + 5) == 0 &&
               got.find_first_not_of("0123456789", at) >= at + 14) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "sent \"" << got << "\", want \"" << want << "\"";
}

class Operation : public OpsTest, public ::testing::WithParamInterface<Row> {
protected:
    // The reply the device gives to this row's command.
    void answer(const std::string &reply) {
        const Row &row = GetParam();
        if (HasUtc(row.command))
            vsim::set_handler(Keyword(row.command),
                              [reply](vsim::Recorder &, const std::string &) { return reply; });
        else
            vsim::script(id, row.command, reply);
    }
    uint32_t call(VestraInfo *d, const char *pwd = kPwd) { return GetParam().call(d, pwd, outs); }
    // The row's command went out once, and nothing else after the login.
    void expect_sent_once() {
        auto s = sent();
        ASSERT_EQ(s.size(), 1u);
        EXPECT_TRUE(SameLine(GetParam().command, s[0]));
    }
    void expect_failed_with(const std::string &text) {
        EXPECT_EQ(VX_GetErrNo(dev), 0);
        EXPECT_EQ(std::string(VX_GetErrStr(dev)), text);
    }
    void expect_outs_untouched() { EXPECT_TRUE(outs.same_as(Outs())) << "outputs written"; }

    Outs outs;
};

TEST_P(Operation, WireResultStatusAndOutputs) {
    const Row &row = GetParam();
    login();
    answer(ReplyOf(row));
    set_err_text("prior");
    EXPECT_EQ(call(dev), 1u);
    EXPECT_EQ(VX_GetErrNo(dev), VX_STATUS_OK);
    EXPECT_STREQ(VX_GetErrStr(dev), row.text_after);
    expect_sent_once();
    EXPECT_TRUE(SameOuts(Expected(row), outs));
}

// A refused login sends no command; the call with the right password then
// logs in first.
TEST_P(Operation, LogsInFirstWithItsPassword) {
    vsim::clear_record();
    EXPECT_EQ(call(dev, "wrong password"), 0u);
    EXPECT_EQ(VX_GetErrNo(dev), VX_STATUS_NO_LOGIN);
    EXPECT_STREQ(VX_GetErrStr(dev), "No Login Device");
    EXPECT_EQ(count_commands(id, "VX+LOGIN="), 10);
    EXPECT_TRUE(sent().empty());
    expect_outs_untouched();

    vsim::clear_record();
    answer(ReplyOf(GetParam()));
    EXPECT_EQ(call(dev), 1u);
    auto c = vsim::commands(id);
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(c[0], std::string("VX+LOGIN=admin:") + kDigest888888 + "\r\n");
    EXPECT_TRUE(SameLine(GetParam().command, c[1]));
}

TEST_P(Operation, NullOrClosedRecordIsRefusedWithoutTraffic) {
    VestraInfo closed{};
    closed.devNum = 4;
    vsim::clear_record();
    EXPECT_EQ(call(nullptr), 0u);
    EXPECT_EQ(call(&closed), 0u);
    EXPECT_EQ(VX_GetErrNo(&closed), VX_STATUS_NOT_OPEN);
    EXPECT_STREQ(VX_GetErrStr(&closed), "Device not Open");
    EXPECT_EQ(closed.devNum, -1);
    EXPECT_TRUE(vsim::transfers().empty());
    expect_outs_untouched();
}

// An error reply, and "OK" alone (never a complete reply), fail the call
// and become its error text.
TEST_P(Operation, FailedReplyBecomesTheErrorText) {
    login();
    for (const char *reply : {"Error: para is error\r\n", "OK\r\n"}) {
        SCOPED_TRACE(reply);
        vsim::clear_record();
        answer(reply);
        outs.fill();
        EXPECT_EQ(call(dev), 0u);
        expect_failed_with(reply);
        expect_sent_once();
        expect_outs_untouched();
        EXPECT_EQ(VX_CheckDevHandle(dev), 1u);
    }
}

// Operations that read a key from the reply.
class KeyedOperation : public Operation {};

TEST_P(KeyedOperation, ReplyWithoutItsKeyFails) {
    login();
    answer("+ZZZ:1\r\nOK\r\n");
    EXPECT_EQ(call(dev), 0u);
    expect_failed_with("+ZZZ:1\r\nOK\r\n");
    if (GetParam().clears) {
        ZFYInfo zero{};
        EXPECT_EQ(std::memcmp(&outs.z, &zero, sizeof zero), 0)
            << "the accepted reply clears the record";
    } else {
        expect_outs_untouched();
    }
}

std::string RowName(const ::testing::TestParamInfo<Row> &p) { return p.param.name; }
INSTANTIATE_TEST_SUITE_P(Ops, Operation, ::testing::ValuesIn(AllRows()), RowName);
INSTANTIATE_TEST_SUITE_P(Ops, KeyedOperation, ::testing::ValuesIn(KeyedRows()), RowName);

}  // namespace
