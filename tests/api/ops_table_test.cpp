// Every device operation of the C interface as one row: the call, the exact
// line on the wire, a reply, and the result, status number and outputs it
// must give. The failures every operation shares run over the same rows.
#include <climits>
#include <cstring>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "ops_support.h"

namespace {

using namespace ops_test;

struct Row {
    std::string name;
    std::function<uint32_t(VestraInfo *, const char *, Outs &)> call;
    std::string command;  // "%UTC%" stands for the host's 14-digit UTC time
    std::string reply;
    uint32_t result = 1;
    int status = 1;
    // Outputs after the call; null: the operation writes none.
    std::function<void(const Outs &)> check = nullptr;
    bool keyed = false;                // a reply without the operation's key fails
    bool clears = false;               // outputs zeroed once the reply is accepted
    const char *text_after = "prior";  // error text after success
};

std::string Echo(const std::string &key, const std::string &payload = "1") {
    return "+" + key + ":" + payload + "\r\nOK\r\n";
}

constexpr const char *kDigest888888 = "21218CCA77804D2BA1922C33E0151105";
constexpr const char *kDigest32 = "0123456789abcdef0123456789abcdef";

// Shorthands for the checks.
#define RAW(area, text) EXPECT_TRUE(Raw(area, text))
#define TERM(area, text) EXPECT_TRUE(Term(area, text))
#define UNTOUCHED(area) EXPECT_TRUE(Untouched(area))

std::vector<Row> Rows() {
    std::vector<Row> rows;
    auto add = [&](Row r) { rows.push_back(std::move(r)); };

    // ---- Identity, clock, account, device information ----
    add({"GetDevInfo",
         [](VestraInfo *d, const char *p, Outs &o) { return VX_GetDevInfo(d, p, &o.z); },
         "VX+GBCFG?\r\n", "+GBCFG:1234567,000001,Officer A,320100000000,Patrol unit\r\nOK\r\n", 1,
         1,
         [](const Outs &o) {
             ZFYInfo want{};
             std::strcpy(want.serial, "1234567");
             std::strcpy(want.userNo, "000001");
             std::strcpy(want.userName, "Officer A");
             std::strcpy(want.unitNo, "320100000000");
             std::strcpy(want.unitName, "Patrol unit");
             EXPECT_EQ(std::memcmp(&o.z, &want, sizeof want), 0);
         },
         true, true});
    add({"SetDevInfo",
         [](VestraInfo *d, const char *p, Outs &) {
             ZFYInfo z;
             std::memset(&z, kFill, sizeof z);  // every field ends at its own terminator
             std::strcpy(z.serial, "1234567");
             std::strcpy(z.userNo, "000001");
             std::strcpy(z.userName, "Officer A");
             std::strcpy(z.unitNo, "320100000000");
             std::strcpy(z.unitName, "Patrol unit");
             return VX_SetDevInfo(d, p, &z);
         },
         "VX+GBCFG=1234567,000001,Officer A,320100000000,Patrol unit\r\n", Echo("GBCFG")});
    add({"SetDevName",
         [](VestraInfo *d, const char *p, Outs &) { return VX_SetDevName(d, p, "front door"); },
         "VX+DEVNAME=front door\r\n", Echo("DEVNAME", "front door")});
    add({"GetDevName",
         [](VestraInfo *d, const char *p, Outs &o) { return VX_GetDevName(d, p, o.t[0]); },
         "VX+DEVNAME?\r\n", Echo("DEVNAME", "cam 7"), 1, 1,
         [](const Outs &o) { RAW(o.t[0], "cam 7"); }, true});
    add({"GetDevUID",
         [](VestraInfo *d, const char *p, Outs &o) { return VX_GetDevUID(d, p, o.t[0]); },
         "VX+UID?\r\n", Echo("UID", "00A1B2C3"), 1, 1,
         [](const Outs &o) { RAW(o.t[0], "00A1B2C3"); }, true});
    add({"GetDevUUID",
         [](VestraInfo *d, const char *p, Outs &o) { return VX_GetDevUUID(d, p, o.t[0]); },
         "VX+UUID?\r\n", Echo("UUID", "VU1A2B3C4D"), 1, 1,
         [](const Outs &o) { RAW(o.t[0], "VU1A2B3C4D"); }, true});
    add({"GetDevVID",
         [](VestraInfo *d, const char *p, Outs &o) { return VX_GetDevVID(d, p, o.t[0]); },
         "VX+VID?\r\n", Echo("VID", "3A7C"), 1, 1, [](const Outs &o) { RAW(o.t[0], "3A7C"); },
         true});
    add({"GetDevDID",
         [](VestraInfo *d, const char *p, Outs &o) { return VX_GetDevDID(d, p, o.t[0]); },
         "VX+DID?\r\n", Echo("DID", "0C01"), 1, 1, [](const Outs &o) { RAW(o.t[0], "0C01"); },
         true});
    add({"SetDevTime", [](VestraInfo *d, const char *p, Outs &) { return VX_SetDevTime(d, p); },
         "VX+SYSTIME=%UTC%\r\n", Echo("SYSTIME")});
    add({"SetDevTimeCfg",
         [](VestraInfo *d, const char *p, Outs &) { return VX_SetDevTimeCfg(d, p, 8, "abc"); },
         "VX+SYSTIME=%UTC%,0,8,abc\r\n", Echo("SYSTIME")});
    add({"GetDevTimeCfg",
         [](VestraInfo *d, const char *p, Outs &o) {
             return VX_GetDevTimeCfg(d, p, o.t[0], &o.n[0], &o.n[1], o.t[1]);
         },
         "VX+SYSTIME?\r\n", Echo("SYSTIME", "20240102030405,5,8,Z"), 1, 1,
         [](const Outs &o) {
             TERM(o.t[0], "20240102030405");
             EXPECT_EQ(o.n[0], 5u);
             EXPECT_EQ(o.n[1], 8u);
             TERM(o.t[1], "Z");
         },
         true});
    add({"GetDevTime",
         [](VestraInfo *d, const char *p, Outs &o) { return VX_GetDevTime(d, p, o.t[0]); },
         "VX+SYSTIME?\r\n", Echo("SYSTIME", "20240102030405,5,8,Z"), 1, 1,
         [](const Outs &o) {
             TERM(o.t[0], "20240102030405");
             UNTOUCHED(o.t[1]);
         },
         true});
    add({"SetDevUser",
         [](VestraInfo *d, const char *p, Outs &) {
             return VX_SetDevUser(d, p, "officer", "888888", kDigest32);
         },
         std::string("VX+USER=officer:") + kDigest888888 + ":" + kDigest32 + "\r\n",
         Echo("USER", "officer")});
    add({"GetDevUser",
         [](VestraInfo *d, const char *p, Outs &o) { return VX_GetDevUser(d, p, o.t[0]); },
         "VX+USER?\r\n", Echo("USER", "officer"), 1, 1,
         [](const Outs &o) { RAW(o.t[0], "officer"); }, true});
    add({"GetBatVal",
         [](VestraInfo *d, const char *p, Outs &o) {
             if (d != nullptr) d->lastBatteryQuery = INT32_MIN / 2;  // long ago: not throttled
             return VX_GetBatVal(d, p, &o.n[0]);
         },
         "VX+BATVAL?\r\n", Echo("BATVAL", "87"), 1, 1,
         [](const Outs &o) { EXPECT_EQ(o.n[0], 87u); }, true});
    add({"GetMasterVEInfo",
         [](VestraInfo *d, const char *p, Outs &o) {
             return VX_GetMasterVEInfo(d, p, &o.n[0], &o.n[1], &o.n[2], &o.n[3]);
         },
         "VX+MVEINFO?\r\n", Echo("MVEINFO", "1280x720,25,2048"), 1, 1,
         [](const Outs &o) {
             EXPECT_EQ(o.n[0], 1280u);
             EXPECT_EQ(o.n[1], 720u);
             EXPECT_EQ(o.n[2], 25u);
             EXPECT_EQ(o.n[3], 2048u);
         },
         true});
    add({"GetSlaveVEInfo",
         [](VestraInfo *d, const char *p, Outs &o) {
             return VX_GetSlaveVEInfo(d, p, &o.n[0], &o.n[1], &o.n[2], &o.n[3]);
         },
         "VX+SVEINFO?\r\n", Echo("SVEINFO", "640x360,15,512"), 1, 1,
         [](const Outs &o) {
             EXPECT_EQ(o.n[0], 640u);
             EXPECT_EQ(o.n[1], 360u);
             EXPECT_EQ(o.n[2], 15u);
             EXPECT_EQ(o.n[3], 512u);
         },
         true});
    add({"SetRecordPwd",
         [](VestraInfo *d, const char *p, Outs &) { return VX_SetRecordPwd(d, p, -1234); },
         "VX+RECVPWD=-1234\r\n", Echo("RECVPWD", "-1234")});
    add({"GetRecordPwd",
         [](VestraInfo *d, const char *p, Outs &o) { return VX_GetRecordPwd(d, p, o.t[0]); },
         "VX+RECVPWD?\r\n", Echo("RECVPWD", "0042"), 1, 1,
         [](const Outs &o) { RAW(o.t[0], "0042"); }, true});

    // ---- Network, access points, switches ----
    add({"SetApn", [](VestraInfo *d, const char *p, Outs &) { return VX_SetApn(d, p, ""); },
         "VX+APN=NULL\r\n", Echo("APN", "NULL")});
    add({"GetApn", [](VestraInfo *d, const char *p, Outs &o) { return VX_GetApn(d, p, o.t[0]); },
         "VX+APN?\r\n", Echo("APN", "NULL"), 1, 1, [](const Outs &o) { RAW(o.t[0], "NULL"); },
         true});
    add({"SetVpn",
         [](VestraInfo *d, const char *p, Outs &) {
             return VX_SetVpn(d, p, "vpn.example", "", "s3");
         },
         "VX+VPN=vpn.example,NULL,s3\r\n", Echo("VPN", "vpn.example,NULL,s3")});
    add({"GetVpn",
         [](VestraInfo *d, const char *p, Outs &o) {
             return VX_GetVpn(d, p, o.t[0], o.t[1], o.t[2]);
         },
         "VX+VPN?\r\n", Echo("VPN", "vpn.example,NULL,s3"), 1, 1,
         [](const Outs &o) {
             TERM(o.t[0], "vpn.example");
             UNTOUCHED(o.t[1]);
             TERM(o.t[2], "s3");
         },
         true});
    add({"SetServAddr",
         [](VestraInfo *d, const char *p, Outs &) {
             return VX_SetServAddr(d, p, "10.0.0.1", 8080);
         },
         "VX+SERVADDR=10.0.0.1:8080\r\n", Echo("SERVADDR", "10.0.0.1,8080")});
    add({"GetServAddr",
         [](VestraInfo *d, const char *p, Outs &o) {
             return VX_GetServAddr(d, p, o.t[0], &o.n[0]);
         },
         "VX+SERVADDR?\r\n", Echo("SERVADDR", "10.0.0.1,8080"), 1, 1,
         [](const Outs &o) {
             TERM(o.t[0], "10.0.0.1");
             EXPECT_EQ(o.n[0], 8080u);
         },
         true});
    add({"SetDevSSID",
         [](VestraInfo *d, const char *p, Outs &) { return VX_SetDevSSID(d, p, "REC-7"); },
         "VX+SSID=REC-7\r\n", Echo("SSID", "REC-7")});
    add({"GetDevSSID",
         [](VestraInfo *d, const char *p, Outs &o) { return VX_GetDevSSID(d, p, o.t[0]); },
         "VX+SSID?\r\n", Echo("SSID", "REC-7"), 1, 1, [](const Outs &o) { RAW(o.t[0], "REC-7"); },
         true});
    add({"AddAp",
         [](VestraInfo *d, const char *p, Outs &) { return VX_AddAp(d, p, "HQ", "wpa2pass"); },
         "VX+APADD=HQ:wpa2pass\r\n", Echo("APADD", "HQ")});
    add({"DelAp", [](VestraInfo *d, const char *p, Outs &) { return VX_DelAp(d, p, "HQ"); },
         "VX+APDEL=HQ\r\n", Echo("APDEL", "HQ"), 1, 1, nullptr, true});
    add({"DelAllAp", [](VestraInfo *d, const char *p, Outs &) { return VX_DelAllAp(d, p); },
         "VX+APDEL=ALL\r\n", Echo("APDEL", "ALL"), 1, 1, nullptr, true});
    add({"SetSelAp", [](VestraInfo *d, const char *p, Outs &) { return VX_SetSelAp(d, p, "HQ"); },
         "VX+APSEL=HQ\r\n", Echo("APSEL", "HQ"), 1, 1, nullptr, true});
    add({"GetSelAp",
         [](VestraInfo *d, const char *p, Outs &o) { return VX_GetSelAp(d, p, o.t[0]); },
         "VX+APSEL?\r\n", Echo("APSEL", "HQ"), 1, 1, [](const Outs &o) { RAW(o.t[0], "HQ"); },
         true});
    add({"GetApList",
         [](VestraInfo *d, const char *p, Outs &o) { return VX_GetApList(d, p, o.list); },
         "VX+APLIST?\r\n", Echo("APLIST", "HQ:pw,Depot:"), 1, 1,
         [](const Outs &o) { RAW(o.list, "HQ:pw,Depot:"); }, true});

    struct Switch {
        const char *name, *key;
        uint32_t (*set)(VestraInfo *, const char *, int32_t);
        uint32_t (*get)(VestraInfo *, const char *, uint32_t *);
    };
    static const Switch switches[] = {
        {"DevUDiskAuthEn", "UDISKAUTHEN", VX_SetDevUDiskAuthEn, VX_GetDevUDiskAuthEn},
        {"DevPFPTTEn", "PFPTTEN", VX_SetDevPFPTTEn, VX_GetDevPFPTTEn},
        {"DevReportTime", "SERVHEARTBEAT", VX_SetDevReportTime, VX_GetDevReportTime},
        {"DevGpsEn", "GPSEN", VX_SetDevGpsEn, VX_GetDevGpsEn},
    };
    for (const Switch &s : switches) {
        auto set = s.set;
        auto get = s.get;
        add({std::string("Set") + s.name,
             [set](VestraInfo *d, const char *p, Outs &) { return set(d, p, 45); },
             std::string("VX+") + s.key + "=45\r\n", Echo(s.key, "45")});
        add({std::string("Get") + s.name,
             [get](VestraInfo *d, const char *p, Outs &o) { return get(d, p, &o.n[0]); },
             std::string("VX+") + s.key + "?\r\n", Echo(s.key, "45"), 1, 1,
             [](const Outs &o) { EXPECT_EQ(o.n[0], 45u); }, true});
    }

    // ---- Platform service configurations ----
    add({"SetTalkBackCfg",
         [](VestraInfo *d, const char *p, Outs &) {
             return VX_SetTalkBackCfg(d, p, 1, "10.1.1.1", "5060", "D01", "Cam7", "pw1");
         },
         "VX+TALKBACKCFG=bEnable:1,ServIP:10.1.1.1,ServPort:5060,DevNo:D01,DevName:Cam7,DevPasswd:"
         "pw1,\r\n",
         Echo("TALKBACKCFG", "bEnable:1,")});
    add({"GetTalkBackCfg",
         [](VestraInfo *d, const char *p, Outs &o) {
             return VX_GetTalkBackCfg(d, p, &o.n[0], o.t[0], o.t[1], o.t[2], o.t[3], o.t[4]);
         },
         "VX+TALKBACKCFG?\r\n",
         Echo("TALKBACKCFG",
              "bEnable:1,ServIP:10.1.1.1,ServPort:5060,DevNo:D01,DevName:Cam7,DevPasswd:pw1,"),
         1, 1,
         [](const Outs &o) {
             EXPECT_EQ(o.n[0], 1u);
             RAW(o.t[0], "10.1.1.1");
             RAW(o.t[1], "5060");
             RAW(o.t[2], "D01");
             RAW(o.t[3], "Cam7");
             RAW(o.t[4], "pw1");
         },
         true});
    add({"SetGb28181Cfg",
         [](VestraInfo *d, const char *p, Outs &) {
             return VX_SetGb28181Cfg(d, p, 1, "10.1.1.2", "5061", "D02", "C02", "Front", "S0002",
                                     "pw2");
         },
         "VX+GB28181CFG=bEnable:1,ServIP:10.1.1.2,ServPort:5061,DevNo:D02,ChnNo:C02,Chnname:Front,"
         "ServID:S0002,Name:S0002,Passwd:pw2,\r\n",
         Echo("GB28181CFG", "bEnable:1,")});
    add({"GetGb28181Cfg",
         [](VestraInfo *d, const char *p, Outs &o) {
             return VX_GetGb28181Cfg(d, p, &o.n[0], o.t[0], o.t[1], o.t[2], o.t[3], o.t[4], o.t[5],
                                     o.t[6]);
         },
         "VX+GB28181CFG?\r\n",
         Echo("GB28181CFG",
              "bEnable:1,ServIP:10.1.1.2,ServPort:5061,DevNo:D02,ChnNo:C02,Chnname:Front,"
              "ServID:S0002,Name:S0002,Passwd:pw2,"),
         1, 1,
         [](const Outs &o) {
             EXPECT_EQ(o.n[0], 1u);
             RAW(o.t[0], "10.1.1.2");
             RAW(o.t[1], "5061");
             RAW(o.t[2], "D02");
             RAW(o.t[3], "C02");
             RAW(o.t[4], "Front");
             RAW(o.t[5], "S0002");
             RAW(o.t[6], "pw2");
         },
         true});
    add({"SetGpsServCfg",
         [](VestraInfo *d, const char *p, Outs &) {
             return VX_SetGpsServCfg(d, p, 1, "gps.example", "6000", "D03", "pw3", 15);
         },
         "VX+GPSSERVCFG=bEnable:1,ServIP:gps.example,ServPort:6000,DevNo:D03,Passwd:pw3,ReportTime:"
         "15,\r\n",
         Echo("GPSSERVCFG", "bEnable:1,")});
    add({"GetGpsServCfg",
         [](VestraInfo *d, const char *p, Outs &o) {
             return VX_GetGpsServCfg(d, p, &o.n[0], o.t[0], o.t[1], o.t[2], o.t[3], &o.n[1]);
         },
         "VX+GPSSERVCFG?\r\n",
         Echo("GPSSERVCFG",
              "bEnable:1,ServIP:gps.example,ServPort:6000,DevNo:D03,Passwd:pw3,ReportTime:15,"),
         1, 1,
         [](const Outs &o) {
             EXPECT_EQ(o.n[0], 1u);
             RAW(o.t[0], "gps.example");
             RAW(o.t[1], "6000");
             RAW(o.t[2], "D03");
             RAW(o.t[3], "pw3");
             EXPECT_EQ(o.n[1], 15u);
         },
         true});
    add({"SetCmsv6Cfg",
         [](VestraInfo *d, const char *p, Outs &) {
             return VX_SetCmsv6Cfg(d, p, 0, "cms.example", "6608", "D04", 30);
         },
         "VX+CMSV6CFG=bEnable:0,ServIP:cms.example,ServPort:6608,DevNo:D04,ReportTime:30,\r\n",
         Echo("CMSV6CFG", "bEnable:0,")});
    add({"GetCmsv6Cfg",
         [](VestraInfo *d, const char *p, Outs &o) {
             return VX_GetCmsv6Cfg(d, p, &o.n[0], o.t[0], o.t[1], o.t[2], &o.n[1]);
         },
         "VX+CMSV6CFG?\r\n",
         Echo("CMSV6CFG", "bEnable:0,ServIP:cms.example,ServPort:6608,DevNo:D04,ReportTime:20,"), 1,
         1,
         [](const Outs &o) {
             EXPECT_EQ(o.n[0], 0u);
             RAW(o.t[0], "cms.example");
             RAW(o.t[1], "6608");
             RAW(o.t[2], "D04");
             EXPECT_EQ(o.n[1], 20u);
         },
         true});
    add({"SetPtytCfg",
         [](VestraInfo *d, const char *p, Outs &) {
             return VX_SetPtytCfg(d, p, 1, "pt.example", "7000", "D05", "Cam5", "pw5", 25);
         },
         "VX+PTYTCFG=bEnable:1,ServIP:pt.example,ServPort:7000,DevNo:D05,DevName:Cam5,DevPasswd:"
         "pw5,"
         "ReportTime:25,\r\n",
         Echo("PTYTCFG", "bEnable:1,")});
    add({"GetPtytCfg",
         [](VestraInfo *d, const char *p, Outs &o) {
             return VX_GetPtytCfg(d, p, &o.n[0], o.t[0], o.t[1], o.t[2], o.t[3], o.t[4], &o.n[1]);
         },
         "VX+PTYTCFG?\r\n",
         Echo("PTYTCFG",
              "bEnable:1,ServIP:pt.example,ServPort:7000,DevNo:D05,DevName:Cam5,DevPasswd:pw5,"
              "ReportTime:25,"),
         1, 1,
         [](const Outs &o) {
             EXPECT_EQ(o.n[0], 1u);
             RAW(o.t[0], "pt.example");
             RAW(o.t[1], "7000");
             RAW(o.t[2], "D05");
             RAW(o.t[3], "Cam5");
             RAW(o.t[4], "pw5");
             EXPECT_EQ(o.n[1], 25u);
         },
         true});
    add({"Set0787Serv01Cfg",
         [](VestraInfo *d, const char *p, Outs &) {
             return VX_Set0787Serv01Cfg(d, p, 1, "s.example", "7100", "D06", "pw6", 35);
         },
         "VX+0787SERV01CFG=bEnable:1,ServIP:s.example,ServPort:7100,DevNo:D06,Passwd:pw6,"
         "ReportTime:35,\r\n",
         Echo("0787SERV01CFG", "bEnable:1,")});
    add({"Get0787Serv01Cfg",
         [](VestraInfo *d, const char *p, Outs &o) {
             return VX_Get0787Serv01Cfg(d, p, &o.n[0], o.t[0], o.t[1], o.t[2], o.t[3], &o.n[1]);
         },
         "VX+0787SERV01CFG?\r\n",
         Echo("0787SERV01CFG",
              "bEnable:1,ServIP:s.example,ServPort:7100,DevNo:D06,Passwd:pw6,ReportTime:35,"),
         1, 1,
         [](const Outs &o) {
             EXPECT_EQ(o.n[0], 1u);
             RAW(o.t[0], "s.example");
             RAW(o.t[1], "7100");
             RAW(o.t[2], "D06");
             RAW(o.t[3], "pw6");
             EXPECT_EQ(o.n[1], 35u);
         },
         true});
    add({"SetLBSCfg",
         [](VestraInfo *d, const char *p, Outs &) {
             return VX_SetLBSCfg(d, p, 1, "http://lbs.example/login", "pw7", 60);
         },
         "VX+LBSCFG=bEnable:1,LoginUrl:http://lbs.example/login,DevPasswd:pw7,ReportTime:60,\r\n",
         Echo("LBSCFG", "bEnable:1,")});
    add({"GetLBSCfg",
         [](VestraInfo *d, const char *p, Outs &o) {
             return VX_GetLBSCfg(d, p, &o.n[0], o.t[0], o.t[1], &o.n[1]);
         },
         "VX+LBSCFG?\r\n",
         Echo("LBSCFG", "bEnable:1,LoginUrl:http://lbs.example/login,DevPasswd:pw7,ReportTime:60,"),
         1, 1,
         [](const Outs &o) {
             EXPECT_EQ(o.n[0], 1u);
             RAW(o.t[0], "http://lbs.example/login");
             RAW(o.t[1], "pw7");
             EXPECT_EQ(o.n[1], 60u);
         },
         true});
    add({"SetNetCheckServCfg",
         [](VestraInfo *d, const char *p, Outs &) {
             return VX_SetNetCheckServCfg(d, p, 1, "diag.example", "7200");
         },
         "VX+DIAGNOSTICCFG=bEnable:1,ServIP:diag.example,ServPort:7200,\r\n",
         Echo("DIAGNOSTICCFG", "bEnable:1,")});
    add({"GetNetCheckServCfg",
         [](VestraInfo *d, const char *p, Outs &o) {
             return VX_GetNetCheckServCfg(d, p, &o.n[0], o.t[0], o.t[1]);
         },
         "VX+DIAGNOSTICCFG?\r\n",
         Echo("DIAGNOSTICCFG", "bEnable:1,ServIP:diag.example,ServPort:7200,"), 1, 1,
         [](const Outs &o) {
             EXPECT_EQ(o.n[0], 1u);
             RAW(o.t[0], "diag.example");
             RAW(o.t[1], "7200");
         },
         true});

    // ---- Storage, power, device logs, OSD ----
    add({"EnterDiskMode",
         [](VestraInfo *d, const char *p, Outs &) { return VX_EnterDiskMode(d, p); },
         "VX+UDISKEN=2\r\n", Echo("UDISKEN", "2")});
    add({"FormatUdiskFat32",
         [](VestraInfo *d, const char *p, Outs &) { return VX_FormatUdisk(d, p, 1); },
         "VX+MKFS=FAT32\r\n", Echo("MKFS", "FAT32")});
    add({"FormatUdiskExfat",
         [](VestraInfo *d, const char *p, Outs &) { return VX_FormatUdisk(d, p, 2); },
         "VX+MKFS=EXFAT\r\n", Echo("MKFS", "EXFAT")});
    add({"FReset", [](VestraInfo *d, const char *p, Outs &) { return VX_FReset(d, p); },
         "VX+FRESET=1\r\n", Echo("FRESET")});
    add({"SetDevLogLevel",
         [](VestraInfo *d, const char *p, Outs &) { return VX_SetDevLogLevel(d, p, 3); },
         "VX+LOGLEVEL=3\r\n", Echo("LOGLEVEL", "3")});
    add({"GetDevLogLevel",
         [](VestraInfo *d, const char *p, Outs &o) { return VX_GetDevLogLevel(d, p, &o.n[0]); },
         "VX+LOGLEVEL?\r\n", Echo("LOGLEVEL", "3"), 1, 1,
         [](const Outs &o) { EXPECT_EQ(o.n[0], 3u); }, true});
    add({"ExportDevLog", [](VestraInfo *d, const char *p, Outs &) { return VX_ExportDevLog(d, p); },
         "VX+LOGEXPORT\r\n", Echo("LOGEXPORT")});
    add({"CtrlReboot", [](VestraInfo *d, const char *p, Outs &) { return VX_CtrlReboot(d, p); },
         "VX+POWEROFF=2\r\n", Echo("POWEROFF", "2")});
    add({"CtrlPowerOff", [](VestraInfo *d, const char *p, Outs &) { return VX_CtrlPowerOff(d, p); },
         "VX+POWEROFF=1\r\n", Echo("POWEROFF", "1")});
    add({"CtrlPowerSave",
         [](VestraInfo *d, const char *p, Outs &) { return VX_CtrlPowerSave(d, p); },
         "VX+POWERSAVE=1\r\n", Echo("POWERSAVE", "1")});
    add({"SetVideoOsd",
         [](VestraInfo *d, const char *p, Outs &) { return VX_SetVideoOsd(d, p, 3, 1, "Unit 7"); },
         "VX+VIDEOOSD3=1,Unit 7\r\n", Echo("VIDEOOSD3", "1,Unit 7")});
    add({"GetVideoOsd",
         [](VestraInfo *d, const char *p, Outs &o) {
             return VX_GetVideoOsd(d, p, 3, &o.n[0], o.t[0], 64);
         },
         "VX+VIDEOOSD3?\r\n", Echo("VIDEOOSD3", "1,Unit 7"), 1, 1,
         [](const Outs &o) {
             EXPECT_EQ(o.n[0], 1u);
             EXPECT_EQ(std::string(o.t[0], 6), "Unit 7");
             for (int i = 6; i < 63; ++i) EXPECT_EQ(o.t[0][i], '\0') << i;  // padded to size - 1
             EXPECT_EQ(o.t[0][63], kFill);  // the last byte never written
             EXPECT_EQ(o.t[0][64], kFill);
         },
         true});

    // ---- Data channel, raw device commands ----
    add({"SetDataPthread",
         [](VestraInfo *d, const char *p, Outs &) { return VX_SetDataPthread(d, p, 3); },
         "VX+DATAPTHREAD=3\r\n", Echo("DATAPTHREAD", "3"), 1, 1, nullptr, true});
    add({"SendDataPack",
         [](VestraInfo *d, const char *p, Outs &) {
             const uint8_t data[] = {'a', 'b', 'c'};
             return VX_SendDataPack(d, p, 7, data, 3);
         },
         "VX+BASE64=7,YWJj\r\n", Echo("BASE64", "7"), 1, 1, nullptr, true});
    add({"SendUserCmd",
         [](VestraInfo *d, const char *p, Outs &o) {
             char cmd[] = "VX+DEVNAME?";
             return VX_SendUserCmd(d, p, cmd, o.user);
         },
         "VX+DEVNAME?\r\n", Echo("DEVNAME", "cam 7"), 1, 1,
         [](const Outs &o) { TERM(o.user, "+DEVNAME:cam 7\r\nOK\r\n"); }, false, false,
         "+DEVNAME:cam 7\r\nOK\r\n"});

    // ---- Configuration text ----
    add({"DevCfgIniStr",
         [](VestraInfo *d, const char *p, Outs &o) {
             return VX_DevCfgIniStr(d, p, "Video.FrameRate=25", o.t[0], VX_TEXT_AREA);
         },
         "VX+UMSINI=Video.FrameRate=25\r\n", Echo("UMSINI", "Video.FrameRate=25"), 1, 1,
         [](const Outs &o) { RAW(o.t[0], "Video.FrameRate=25"); }, true});
    add({"DevCfgJsonStr",
         [](VestraInfo *d, const char *p, Outs &o) {
             return VX_DevCfgJsonStr(d, p, "{\"Video\":{\"FrameRate\":null}}", o.t[0],
                                     VX_TEXT_AREA);
         },
         "VX+UMSJSON={\"Video\":{\"FrameRate\":null}}\r\n",
         Echo("UMSJSON", "{\"Video\":{\"FrameRate\":\"25\"}}"), 1, 1,
         [](const Outs &o) { RAW(o.t[0], "{\"Video\":{\"FrameRate\":\"25\"}}"); }, true});
    return rows;
}

const std::vector<Row> &AllRows() {
    static const std::vector<Row> rows = Rows();
    return rows;
}
std::vector<Row> KeyedRows() {
    std::vector<Row> keyed;
    for (const Row &r : AllRows())
        if (r.keyed) keyed.push_back(r);
    return keyed;
}
void PrintTo(const Row &row, std::ostream *os) { *os << row.name; }

// The keyword of a command line: between "VX+" and its "=", "?" or line end.
std::string Keyword(const std::string &command) {
    return command.substr(3, command.find_first_of("=?\r") - 3);
}

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
    answer(row.reply);
    set_err_text("prior");
    EXPECT_EQ(call(dev), row.result);
    EXPECT_EQ(VX_GetErrNo(dev), row.status);
    EXPECT_STREQ(VX_GetErrStr(dev), row.text_after);
    expect_sent_once();
    if (row.check)
        row.check(outs);
    else
        expect_outs_untouched();
}

TEST_P(Operation, LogsInFirstWithItsPassword) {
    answer(GetParam().reply);
    EXPECT_EQ(call(dev), GetParam().result);
    auto c = vsim::commands(id);
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(c[0], std::string("VX+LOGIN=admin:") + kDigest888888 + "\r\n");
    EXPECT_TRUE(SameLine(GetParam().command, c[1]));
}

TEST_P(Operation, NullRecordIsRefusedWithoutTraffic) {
    vsim::clear_record();
    EXPECT_EQ(call(nullptr), 0u);
    EXPECT_TRUE(vsim::transfers().empty());
    expect_outs_untouched();
}

TEST_P(Operation, ClosedRecordReportsNotOpen) {
    VestraInfo closed{};
    closed.devNum = 4;
    vsim::clear_record();
    EXPECT_EQ(call(&closed), 0u);
    EXPECT_EQ(VX_GetErrNo(&closed), VX_STATUS_NOT_OPEN);
    EXPECT_STREQ(VX_GetErrStr(&closed), "Device not Open");
    EXPECT_EQ(closed.devNum, -1);
    EXPECT_TRUE(vsim::transfers().empty());
    expect_outs_untouched();
}

TEST_P(Operation, RefusedLoginSendsNoCommand) {
    vsim::clear_record();
    EXPECT_EQ(call(dev, "wrong password"), 0u);
    EXPECT_EQ(VX_GetErrNo(dev), VX_STATUS_NO_LOGIN);
    EXPECT_STREQ(VX_GetErrStr(dev), "No Login Device");
    EXPECT_EQ(count_commands(id, "VX+LOGIN="), 10);
    EXPECT_TRUE(sent().empty());
    expect_outs_untouched();
}

TEST_P(Operation, ErrorReplyBecomesTheErrorText) {
    login();
    answer("Error: para is error\r\n");
    EXPECT_EQ(call(dev), 0u);
    expect_failed_with("Error: para is error\r\n");
    expect_sent_once();
    expect_outs_untouched();
    EXPECT_EQ(VX_CheckDevHandle(dev), 1u);
}

TEST_P(Operation, OkAloneNeverCompletes) {
    login();
    answer("OK\r\n");
    EXPECT_EQ(call(dev), 0u);
    expect_failed_with("OK\r\n");
    expect_outs_untouched();
    EXPECT_EQ(VX_CheckDevHandle(dev), 1u);
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

TEST_P(Operation, TimeOutLeavesEmptyTextAndTheRecordOpen) {
    login();
    answer(GetParam().reply);
    vsim::Faults faults;
    faults.silent_replies = 1;
    vsim::set_faults(id, faults);
    set_err_text("prior");
    EXPECT_EQ(call(dev), 0u);
    expect_failed_with("");
    expect_outs_untouched();
    EXPECT_EQ(VX_CheckDevHandle(dev), 1u);
}

TEST_P(Operation, UnplugBetweenWriteAndReadClosesTheRecord) {
    login();
    answer(GetParam().reply);
    vsim::Faults faults;
    faults.unplug_after_command = true;
    vsim::set_faults(id, faults);
    set_err_text("prior");
    EXPECT_EQ(call(dev), 0u);
    expect_failed_with("");
    EXPECT_EQ(VX_CheckDevHandle(dev), 0u);
    expect_outs_untouched();

    EXPECT_EQ(call(dev), 0u);
    EXPECT_EQ(VX_GetErrNo(dev), VX_STATUS_NOT_OPEN);
    EXPECT_STREQ(VX_GetErrStr(dev), "Device not Open");
}

std::string RowName(const ::testing::TestParamInfo<Row> &p) { return p.param.name; }
INSTANTIATE_TEST_SUITE_P(Ops, Operation, ::testing::ValuesIn(AllRows()), RowName);
INSTANTIATE_TEST_SUITE_P(Ops, KeyedOperation, ::testing::ValuesIn(KeyedRows()), RowName);

}  // namespace
