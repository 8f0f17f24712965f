// Each parse rule of the device operations on its edge cases, the outcomes
// of the access-point operations, and the arguments the library refuses
// before anything is sent.
#include <cstring>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "ops_support.h"
#include "support/local_zone.h"

namespace {

using namespace ops_test;

// A reply and what the operation makes of it: result, status, and the
// caller's areas after it, every byte (texts and numbers written as listed,
// more for the rest; everything else as it was filled).
struct Case {
    std::string reply;
    uint32_t result = 1;
    int status = 1;
    std::vector<const char *> texts = {};  // t[0], t[1], ...; null: not written
    std::vector<uint32_t> nums = {};       // n[0], n[1], ...
    std::function<void(Outs &)> more = nullptr;
};

// How the rule writes a text: its bytes only, or a field and its terminator.
enum class Writes { Bytes, Fields };

class Rules : public OpsTest {
protected:
    void SetUp() override {
        OpsTest::SetUp();
        login();
    }
    // Runs op once per case against command; a failed case keeps the reply
    // as error text, a successful one the text that was there.
    void run(const std::string &command, Writes writes, const std::vector<Case> &cases,
             const std::function<uint32_t(Outs &)> &op) {
        for (const Case &c : cases) {
            SCOPED_TRACE(c.reply);
            Outs outs;
            vsim::script(id, command, c.reply);
            set_err_text("prior");
            EXPECT_EQ(op(outs), c.result);
            EXPECT_EQ(VX_GetErrNo(dev), c.status);
            EXPECT_EQ(std::string(VX_GetErrStr(dev)), c.result == 1 ? "prior" : c.reply);
            Outs want = Image(c.texts, c.nums, writes == Writes::Fields);
            if (c.more) c.more(want);
            EXPECT_TRUE(SameOuts(want, outs));
        }
    }
};

const std::string kA127(127, 'a');
constexpr uint32_t kF = kNumFill;  // a number not written

// clang-format off
TEST_F(Rules, RawCopy) {
    run("VX+DEVNAME?\r\n", Writes::Bytes, {
            {.reply = "+DEVNAME:\r\nOK\r\n"},  // empty payload: nothing written
            {.reply = "OK\r\n+DEVNAME:abc", .result = 0, .status = 0},  // no line end behind
            {.reply = "+DEVNAME:a,b c\r\n+DEVNAME:second\r\nOK\r\n", .texts = {"a,b c"}},  // the first key, commas kept
            {.reply = "noise+DEVNAME:x\nstill\r\nOK\r\n", .texts = {"x\nstill"}},
        },
        [&](Outs &o) { return VX_GetDevName(dev, kPwd, o.t[0]); });
}

TEST_F(Rules, Number) {
    run("VX+LOGLEVEL?\r\n", Writes::Fields, {
            {.reply = "+LOGLEVEL:abc\r\nOK\r\n", .nums = {0}},
            {.reply = "+LOGLEVEL: 42x\r\nOK\r\n", .nums = {42}},
            {.reply = "+LOGLEVEL:-1\r\nOK\r\n", .nums = {0xFFFFFFFFu}},
            {.reply = "+LOGLEVEL:99999999999\r\nOK\r\n", .nums = {0x7FFFFFFFu}},
            {.reply = "+LOGLEVEL:-99999999999\r\nOK\r\n", .nums = {0x80000000u}},
            {.reply = "OK\r\n+LOGLEVEL:3", .result = 0, .status = 0},
        },
        [&](Outs &o) { return VX_GetDevLogLevel(dev, kPwd, &o.n[0]); });
}

TEST_F(Rules, FieldList) {
    const std::string long_field(200, 'a');
    run("VX+SYSTIME?\r\n", Writes::Fields, {
            // Cutting stops at the first CR or LF.
            {.reply = "+SYSTIME:t1,5\n8,Z\r\nOK\r\n", .texts = {"t1"}, .nums = {5}},
            // A last field with no separator behind it is dropped.
            {.reply = "OK\r\n+SYSTIME:t1,5,8,Z", .texts = {"t1"}, .nums = {5, 8}},
            // A field holds at most 127 characters; the next field is still the next one.
            {.reply = "+SYSTIME:" + long_field + ",5,8,Z\r\nOK\r\n", .texts = {kA127.c_str(), "Z"}, .nums = {5, 8}},
            // Absent fields keep what the outputs held.
            {.reply = "+SYSTIME:t1,5\r\nOK\r\n", .texts = {"t1"}, .nums = {5}},
            {.reply = "+SYSTIME:\r\nOK\r\n", .texts = {""}},
            {.reply = "+SYSTIME,t1,5,8,Z\r\nOK\r\n", .result = 0, .status = 0},
        },
        [&](Outs &o) { return VX_GetDevTimeCfg(dev, kPwd, o.t[0], &o.n[0], &o.n[1], o.t[1]); });
    // No "x": width and height not written.
    run("VX+MVEINFO?\r\n", Writes::Fields, {{.reply = "+MVEINFO:1280,25\r\nOK\r\n", .nums = {kF, kF, 25}}},
        [&](Outs &o) { return VX_GetMasterVEInfo(dev, kPwd, &o.n[0], &o.n[1], &o.n[2], &o.n[3]); });
    run("VX+VPN?\r\n", Writes::Fields, {
            {.reply = "+VPN:NULL,NULL,NULL\r\nOK\r\n"},
            {.reply = "+VPN:null,,x\r\nOK\r\n", .texts = {"null", "", "x"}},  // only "NULL" exactly stands for nothing
        },
        [&](Outs &o) { return VX_GetVpn(dev, kPwd, o.t[0], o.t[1], o.t[2]); });
}
// clang-format on

// The identity record as it must be after the call: zeroed, then the fields.
std::function<void(Outs &)> Identity(const char *serial, const char *user_no,
                                     const std::string &user_name, const char *unit_no,
                                     const std::string &unit_name) {
    return [=](Outs &w) {
        w.z = ZFYInfo{};
        std::strcpy(w.z.serial, serial);
        std::strcpy(w.z.userNo, user_no);
        std::strcpy(w.z.userName, user_name.c_str());
        std::strcpy(w.z.unitNo, unit_no);
        std::strcpy(w.z.unitName, unit_name.c_str());
    };
}

// clang-format off
TEST_F(Rules, IdentityRecordIsClearedOnceAcceptedAndFieldsStayInTheirWidths) {
    run("VX+GBCFG?\r\n", Writes::Fields, {
            {.reply = "+GBCFG:1,2,3\r\nOK\r\n", .more = Identity("1", "2", "3", "", "")},
            // Accepted, key missing: cleared all the same.
            {.reply = "+OTHER:1\r\nOK\r\n", .result = 0, .status = 0, .more = Identity("", "", "", "", "")},
            // Too long for their widths: cut and terminated, the next field untouched by them.
            {.reply = "+GBCFG:123456789,ABCDEFGHIJ," + std::string(40, 'n') + ",12345678901234567," +
                      std::string(40, 'u') + ",extra\r\nOK\r\n",
             .more = Identity("1234567", "ABCDEF", std::string(32, 'n'), "123456789012", std::string(32, 'u'))},
            // A reply that fails the check leaves the record as it was.
            {.reply = "+GBCFG:1,2,3\r\nError: busy\r\n", .result = 0, .status = 0},
        },
        [&](Outs &o) { return VX_GetDevInfo(dev, kPwd, &o.z); });
}
// clang-format on

// clang-format off
TEST_F(Rules, KeyedList) {
    run("VX+GPSSERVCFG?\r\n", Writes::Bytes, {
            {.reply = "+GPSSERVCFG:ReportTime:15,Passwd:pw,DevNo:D,ServPort:80,ServIP:h,bEnable:1,\r\nOK\r\n",
             .texts = {"h", "80", "D", "pw"}, .nums = {1, 15}},
            {.reply = "+GPSSERVCFG:bEnable:1,\r\nOK\r\n", .nums = {1}},
            {.reply = "+GPSSERVCFG:\r\nOK\r\n", .result = 0, .status = 0},
            // "ReportTime" is looked for without its colon.
            {.reply = "+GPSSERVCFG:ReportTimeSec:45,\r\nOK\r\n", .nums = {kF, 45}},
            // A value needs its comma; pairs before the key do not count.
            {.reply = "ServIP:early,+GPSSERVCFG:ServPort:80\r\nOK\r\n", .result = 0, .status = 0},
            {.reply = "+GPSSERVCFG:ServIP:,\r\nOK\r\n"},  // empty value
        },
        [&](Outs &o) { return VX_GetGpsServCfg(dev, kPwd, &o.n[0], o.t[0], o.t[1], o.t[2], o.t[3], &o.n[1]); });
    // "DevName" is looked for without its colon.
    run("VX+TALKBACKCFG?\r\n", Writes::Bytes,
        {{.reply = "+TALKBACKCFG:DevNameX:Cam,\r\nOK\r\n", .texts = {nullptr, nullptr, nullptr, "Cam"}}},
        [&](Outs &o) { return VX_GetTalkBackCfg(dev, kPwd, &o.n[0], o.t[0], o.t[1], o.t[2], o.t[3], o.t[4]); });
    run("VX+GB28181CFG?\r\n", Writes::Bytes, {
            {.reply = "+GB28181CFG:Name:N1,\r\nOK\r\n", .texts = {nullptr, nullptr, nullptr, nullptr, nullptr, "N1"}},
            // "Name" first, then "ServID" copied over it.
            {.reply = "+GB28181CFG:ServID:S2,Name:LONGNAME,\r\nOK\r\n",
             .texts = {nullptr, nullptr, nullptr, nullptr, nullptr, "S2NGNAME"}},
            {.reply = "+GB28181CFG:Chnname:Front,\r\nOK\r\n", .texts = {nullptr, nullptr, nullptr, nullptr, "Front"}},
        },
        [&](Outs &o) {
            return VX_GetGb28181Cfg(dev, kPwd, &o.n[0], o.t[0], o.t[1], o.t[2], o.t[3], o.t[4], o.t[5], o.t[6]);
        });
}
// clang-format on

// The text is padded with zeros up to size - 1; the last byte is never written.
void OsdText(Outs &w, const char *text) {
    std::memset(w.t[0], 0, 63);
    std::memcpy(w.t[0], text, std::strlen(text));
}

// clang-format off
TEST_F(Rules, Osd) {
    auto osd = [&](int32_t index, uint32_t size) {
        return [this, index, size](Outs &o) { return VX_GetVideoOsd(dev, kPwd, index, &o.n[0], o.t[0], size); };
    };
    run("VX+VIDEOOSD1?\r\n", Writes::Bytes, {
            {.reply = "+VIDEOOSD1:7\r\nOK\r\n", .nums = {7}, .more = [](Outs &w) { OsdText(w, ""); }},
            {.reply = "+VIDEOOSD2:1,x\r\nOK\r\n", .result = 0, .status = 0},
            {.reply = "OK\r\n+VIDEOOSD1:1,x", .result = 0, .status = 0},
            // The index is part of the key: "+VIDEOOSD10:" is not the key of index 1.
            {.reply = "+VIDEOOSD10:5,x\r\nOK\r\n", .result = 0, .status = 0},
            // A value of two digits is the whole number; the text begins behind its comma.
            {.reply = "+VIDEOOSD1:12,Unit\r\nOK\r\n", .nums = {12}, .more = [](Outs &w) { OsdText(w, "Unit"); }},
        },
        osd(1, 64));
    run("VX+VIDEOOSD1?\r\n", Writes::Bytes,  // no text at all: zeros up to size - 1
        {{.reply = "+VIDEOOSD1:123\r\nOK\r\n", .nums = {123}, .more = [](Outs &w) { std::memset(w.t[0], 0, 7); }}},
        osd(1, 8));
    // Longer than size - 1: size - 1 characters, the last byte left.
    run("VX+VIDEOOSD1?\r\n", Writes::Bytes,
        {{.reply = "+VIDEOOSD1:1,ABCDEFG\r\nOK\r\n", .texts = {"ABCD"}, .nums = {1}}},
        osd(1, 5));
    run("VX+VIDEOOSD10?\r\n", Writes::Bytes,
        {{.reply = "+VIDEOOSD10:5,xy\r\nOK\r\n", .nums = {5}, .more = [](Outs &w) { OsdText(w, "xy"); }}},
        osd(10, 64));

    // Size 0: nothing written, nothing sent.
    vsim::clear_record();
    Outs outs;
    EXPECT_EQ(VX_GetVideoOsd(dev, kPwd, 1, &outs.n[0], outs.t[0], 0), 0u);
    EXPECT_EQ(VX_GetErrNo(dev), 0);
    EXPECT_TRUE(outs.same_as(Outs()));
    EXPECT_TRUE(sent().empty());
}

TEST_F(Rules, ConfigText) {
    auto json = [&](int32_t size) {
        return [this, size](Outs &o) { return VX_DevCfgJsonStr(dev, kPwd, "{}", o.t[0], size); };
    };
    run("VX+UMSJSON={}\r\n", Writes::Bytes, {
            {.reply = "+UMSJSON:123456789\r\nOK\r\n", .texts = {"123456789"}},
            {.reply = "+UMSJSON:1234567890\r\nOK\r\n", .result = 0, .status = 0},
            // No "OK" needed: an "Error:" reply that holds the key is a success.
            {.reply = "+UMSJSON:{}\r\nError: partly applied\r\n", .texts = {"{}"}},
            {.reply = "Error: x +UMSJSON:{}\r\n", .texts = {"{}"}},
            {.reply = "OK\r\n+UMSJSON:{}", .result = 0, .status = 0},
        },
        json(10));
    run("VX+UMSJSON={}\r\n", Writes::Bytes, {{.reply = "+UMSJSON:\r\nOK\r\n", .result = 0, .status = 0}}, json(0));
    run("VX+UMSJSON={}\r\n", Writes::Bytes, {{.reply = "+UMSJSON:\r\nOK\r\n", .result = 0, .status = 0}}, json(-1));
    run("VX+UMSINI=a.b=?\r\n", Writes::Bytes, {{.reply = "+UMSINI:a.b=1\r\nOK\r\n", .texts = {"a.b=1"}}},
        [&](Outs &o) { return VX_DevCfgIniStr(dev, kPwd, "a.b=?", o.t[0], 6); });
}

TEST_F(Rules, AccessPointOutcomes) {
    constexpr int kNotDeleted = VX_STATUS_AP_NOT_DELETED, kNoSel = VX_STATUS_AP_EMPTY_SEL;
    run("VX+APDEL=HQ\r\n", Writes::Bytes, {
            {.reply = "+APDEL:\r\nOK\r\n", .status = kNotDeleted},
            {.reply = "+APDEL:x,HQ\r\nOK\r\n"},
            {.reply = "+APDEL:\r\nHQ OK\r\n"},  // anywhere behind the key
            {.reply = "HQ\r\n+APDEL:Depot\r\nOK\r\n", .status = kNotDeleted},
        },
        [&](Outs &) { return VX_DelAp(dev, kPwd, "HQ"); });
    run("VX+APDEL=ALL\r\n", Writes::Bytes, {{.reply = "+APDEL:HQ\r\nOK\r\n", .status = kNotDeleted}},
        [&](Outs &) { return VX_DelAllAp(dev, kPwd); });
    run("VX+APSEL=HQ\r\n", Writes::Bytes, {{.reply = "+APSEL:Depot\r\nOK\r\n", .status = VX_STATUS_AP_NOT_SELECTED}},
        [&](Outs &) { return VX_SetSelAp(dev, kPwd, "HQ"); });
    run("VX+APSEL?\r\n", Writes::Bytes, {
            {.reply = "+APSEL:\r\nOK\r\n", .status = kNoSel},
            {.reply = "+APLIST:Depot\r\nOK\r\n", .texts = {"Depot"}},
            {.reply = "+APLIST:A,B\r\n+APSEL:B\r\nOK\r\n", .texts = {"B"}},
            {.reply = "+APLIST:\r\nOK\r\n", .status = kNoSel},
            {.reply = "OK\r\n+APSEL:B", .result = 0, .status = 0},
        },
        [&](Outs &o) { return VX_GetSelAp(dev, kPwd, o.t[0]); });
    const std::string big(1500, 'w');
    run("VX+APLIST?\r\n", Writes::Bytes, {
            {.reply = "+APLIST:\r\nOK\r\n", .status = VX_STATUS_AP_EMPTY_LIST},
            {.reply = "OK\r\n+APLIST:x", .result = 0, .status = 0},
            {.reply = "+APLIST:" + big + "\r\nOK\r\n",  // over 1024 bytes
             .more = [big](Outs &w) { std::memcpy(w.list, big.data(), big.size()); }},
        },
        [&](Outs &o) { return VX_GetApList(dev, kPwd, o.list); });
}
// clang-format on

// ---- Arguments refused before anything is sent ----------------------------

class Refusals : public Rules {
protected:
    // op is refused: result 0, status 0, an error text that says why, no command.
    void expect_refused(const std::function<uint32_t()> &op, const char *why) {
        vsim::clear_record();
        set_err_text("prior");
        EXPECT_EQ(op(), 0u);
        EXPECT_EQ(VX_GetErrNo(dev), 0);
        EXPECT_NE(std::string(VX_GetErrStr(dev)).find(why), std::string::npos) << VX_GetErrStr(dev);
        EXPECT_TRUE(vsim::transfers().empty());
    }
    void expect_sent(const std::function<uint32_t()> &op, const std::string &line) {
        vsim::clear_record();
        EXPECT_EQ(op(), 1u);
        EXPECT_EQ(sent(), std::vector<std::string>{line});
    }
};

TEST_F(Refusals, ApnAndVpnTextsOfThirtyTwoCharacters) {
    const std::string t31(31, 'a'), t32(32, 'a');
    expect_refused([&] { return VX_SetApn(dev, kPwd, t32.c_str()); }, "32");
    expect_refused([&] { return VX_SetVpn(dev, kPwd, "a", "b", t32.c_str()); }, "32");
    expect_sent([&] { return VX_SetApn(dev, kPwd, t31.c_str()); }, "VX+APN=" + t31 + "\r\n");
    expect_sent([&] { return VX_SetVpn(dev, kPwd, t31.c_str(), "", t31.c_str()); },
                "VX+VPN=" + t31 + ",NULL," + t31 + "\r\n");
}

// What the caller leaves out: a null text goes empty (or "NULL" where the
// device reads that as none), an unset service field goes without its head,
// a flag outside 0 and 1 keeps its head.
TEST_F(Refusals, TextsAndFieldsLeftOut) {
    struct SentCase {
        std::function<uint32_t()> op;
        std::string line;
    } cases[] = {
        {[&] { return VX_SetDevName(dev, kPwd, nullptr); }, "VX+DEVNAME=\r\n"},
        {[&] { return VX_SetApn(dev, kPwd, nullptr); }, "VX+APN=NULL\r\n"},
        {[&] { return VX_SetVpn(dev, kPwd, nullptr, "b", nullptr); }, "VX+VPN=NULL,b,NULL\r\n"},
        {[&] { return VX_AddAp(dev, kPwd, nullptr, nullptr); }, "VX+APADD=:\r\n"},
        {[&] { return VX_SetVideoOsd(dev, kPwd, 2, 5, nullptr); }, "VX+VIDEOOSD2=5,\r\n"},
        {[&] { return VX_SetGpsServCfg(dev, kPwd, 1, "h", nullptr, "", "p", 15); },
         "VX+GPSSERVCFG=bEnable:1,ServIP:h,DevNo:,Passwd:p,ReportTime:15,\r\n"},
        {[&] { return VX_SetCmsv6Cfg(dev, kPwd, 1, "h", "80", "D", 0); },
         "VX+CMSV6CFG=bEnable:1,ServIP:h,ServPort:80,DevNo:D,\r\n"},
        {[&] { return VX_SetCmsv6Cfg(dev, kPwd, 1, nullptr, nullptr, nullptr, -5); },
         "VX+CMSV6CFG=bEnable:1,\r\n"},
        {[&] { return VX_SetCmsv6Cfg(dev, kPwd, 5, "h", nullptr, nullptr, 0); },
         "VX+CMSV6CFG=bEnable:5,ServIP:h,\r\n"},
        {[&] {
             return VX_SetGb28181Cfg(dev, kPwd, 0, nullptr, nullptr, nullptr, nullptr, "F", nullptr,
                                     "pw");
         },
         "VX+GB28181CFG=bEnable:0,Chnname:F,Passwd:pw,\r\n"},
        {[&] { return VX_SetLBSCfg(dev, kPwd, 0, nullptr, nullptr, -1); },
         "VX+LBSCFG=bEnable:0,ReportTime:-1,\r\n"},
    };
    for (const SentCase &c : cases) {
        SCOPED_TRACE(c.line);
        vsim::script(id, c.line, "+X:1\r\nOK\r\n");
        expect_sent(c.op, c.line);
    }
}

TEST_F(Refusals, CommandsThatDoNotFitTheirArea) {
    const std::string ip(1000, '1');
    expect_refused([&] { return VX_SetTalkBackCfg(dev, kPwd, 1, ip.c_str(), "1", "1", "1", "1"); },
                   "too long");
    expect_refused([&] { return VX_SetDevName(dev, kPwd, std::string(1020, 'n').c_str()); },
                   "too long");
    // "VX+UMSINI=" and "\r\n" around the text: 1023 characters fit, 1024 do not.
    const std::string fits(1011, 'i'), over(1012, 'i');
    char answer[VX_TEXT_AREA] = {};
    expect_refused([&] { return VX_DevCfgIniStr(dev, kPwd, over.c_str(), answer, sizeof answer); },
                   "too long");
    expect_refused([&] { return VX_DevCfgJsonStr(dev, kPwd, over.c_str(), answer, sizeof answer); },
                   "too long");
    vsim::clear_record();
    vsim::script(id, "VX+UMSINI=" + fits + "\r\n", "+UMSINI:\r\nOK\r\n");
    EXPECT_EQ(VX_DevCfgIniStr(dev, kPwd, fits.c_str(), answer, sizeof answer), 1u);
    EXPECT_EQ(wire(), "VX+UMSINI=" + fits + "\r\n");
}

TEST_F(Refusals, DataPackSizes) {
    std::string data(VX_DATA_PACK_MAX + 1, '\0');
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = char(i * 7 + i / 256);
    const auto *bytes = reinterpret_cast<const uint8_t *>(data.data());
    expect_refused([&] { return VX_SendDataPack(dev, kPwd, 1, bytes, VX_DATA_PACK_MAX + 1); },
                   "76800");
    expect_refused([&] { return VX_SendDataPack(dev, kPwd, 1, bytes, -1); }, "76800");
    expect_refused([&] { return VX_SendDataPack(dev, kPwd, 1, nullptr, 3); }, "no data");

    vsim::clear_record();
    EXPECT_EQ(VX_SendDataPack(dev, kPwd, 2147483647, bytes, VX_DATA_PACK_MAX), 1u);
    const std::string line = wire();
    EXPECT_EQ(line.size(), std::string("VX+BASE64=2147483647,").size() + 102400 + 2);
    EXPECT_EQ(line.substr(line.size() - 2), "\r\n");
    auto packs = vsim::data_packs(id);
    ASSERT_EQ(packs.size(), 1u);
    EXPECT_EQ(packs[0].number, 2147483647);
    EXPECT_EQ(packs[0].bytes, data.substr(0, VX_DATA_PACK_MAX));
}

TEST_F(Refusals, UserCommands) {
    char lower[] = "vx+devname?";
    char reply[VX_USER_REPLY_AREA];
    std::memset(reply, kFill, sizeof reply);
    expect_refused([&] { return VX_SendUserCmd(dev, kPwd, lower, reply); }, "cmd error");
    EXPECT_STREQ(VX_GetErrStr(dev), "cmd error");
    EXPECT_EQ(std::string(reply, sizeof reply), std::string(sizeof reply, kFill));
    expect_refused([&] { return VX_SendUserCmd(dev, kPwd, nullptr, reply); }, "cmd error");

    // Cut at the first line end, in the caller's own text too.
    char two[] = "VX+DEVNAME?\r\nVX+FRESET=1\r\n";
    vsim::script(id, "VX+DEVNAME?\r\n", "+DEVNAME:x\r\nOK\r\n");
    expect_sent([&] { return VX_SendUserCmd(dev, kPwd, two, reply); }, "VX+DEVNAME?\r\n");
    EXPECT_STREQ(two, "VX+DEVNAME?");

    // With its "\r\n" the line must fit 1023 characters.
    std::string over = "VX+" + std::string(1019, 'c'), fits = "VX+" + std::string(1018, 'c');
    expect_refused([&] { return VX_SendUserCmd(dev, kPwd, &over[0], reply); }, "too long");
    vsim::script(id, fits + "\r\n", "+C:1\r\nOK\r\n");
    expect_sent([&] { return VX_SendUserCmd(dev, kPwd, &fits[0], reply); }, fits + "\r\n");

    // The reply area holds 4096 bytes; the error text keeps what fits its field.
    const std::string big = "+DEVNAME:" + std::string(3000, 'x') + "\r\nOK\r\n";
    vsim::script(id, "VX+DEVNAME?\r\n", big);
    char again[] = "VX+DEVNAME?";
    EXPECT_EQ(VX_SendUserCmd(dev, kPwd, again, reply), 1u);
    EXPECT_EQ(std::string(reply), big);
    EXPECT_EQ(std::string(VX_GetErrStr(dev)), big.substr(0, VX_TEXT_AREA - 1));
}

// ---- Texts the library forms itself -----------------------------------------

TEST_F(Rules, AccountPasswordsTravelAsDigests) {
    struct DCase {
        const char *password;
        std::string digest;
    } cases[] = {
        {"", "D41D8CD98F00B204E9800998ECF8427E"},
        {nullptr, "D41D8CD98F00B204E9800998ECF8427E"},
        {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", "3B0845DB57C200BE6052466F87B2198A"},    // 31
        {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", "B4F13CB081E412F44E99742CB128A1A5"},  // 33
        {"0123456789abcdef0123456789abcdef", "0123456789abcdef0123456789abcdef"},   // 32: as it is
    };
    for (const DCase &c : cases) {
        const std::string line = "VX+USER=u:" + c.digest + ":21218CCA77804D2BA1922C33E0151105\r\n";
        vsim::clear_record();
        vsim::script(id, line, "+USER:u\r\nOK\r\n");
        EXPECT_EQ(VX_SetDevUser(dev, kPwd, "u", c.password, "888888"), 1u) << line;
        EXPECT_EQ(sent(), std::vector<std::string>{line});
    }
}

TEST_F(Rules, ClockIsSentAsUtcWhateverTheLocalZone) {
    std::time_t before = 0, after = 0;
    {
        const testsupport::LocalZone zone("IST-5:30", "Asia/Kolkata");  // 5:30 ahead of UTC
        before = std::time(nullptr);
        vsim::clear_record();
        VX_SetDevTimeCfg(dev, kPwd, 8, "abc");
        VX_SetDevTime(dev, kPwd);
        EXPECT_EQ(VX_SetDevTimeCfg(dev, kPwd, -3, nullptr), 1u);  // a null text goes empty
        after = std::time(nullptr);
    }

    // The 14-digit UTC texts of the seconds around the calls: in time order as texts too.
    auto utc = [](std::time_t t) {
        char text[16] = {};
        std::strftime(text, sizeof text, "%Y%m%d%H%M%S", std::gmtime(&t));
        return std::string(text);
    };
    const std::string from = utc(before - 1), to = utc(after + 1);
    auto s = sent();
    ASSERT_EQ(s.size(), 3u);
    for (const std::string &line : s) {
        ASSERT_GE(line.size(), 11u + 14u) << line;
        const std::string t = line.substr(11, 14);
        ASSERT_EQ(t.find_first_not_of("0123456789"), std::string::npos) << line;
        EXPECT_GE(t, from) << line;
        EXPECT_LE(t, to) << line;
    }
    EXPECT_EQ(s[2].substr(25), ",0,-3,\r\n");  // the other two lines' ends: the row table's
}

// ---- Data packs as Base64 on the wire ----------------------------------------

TEST_F(Rules, DataPacksAreBase64OnTheWire) {
    // Each sent as the pack of its index; no data at all goes as "NULL".
    struct BCase {
        const char *data;
        int32_t size;
        const char *text;
    } cases[] = {
        {nullptr, 0, "TlVMTA=="},    {"", 0, "TlVMTA=="},      {"f", 1, "Zg=="},
        {"foob", 4, "Zm9vYg=="},     {"fooba", 5, "Zm9vYmE="}, {"foobar", 6, "Zm9vYmFy"},
        {"\xff\xfe\xfd", 3, "//79"}, {"fo", 2, "Zm8="},        {"foo", 3, "Zm9v"},
        {"\xfb\xff\xbf", 3, "+/+/"}, {"\0", 1, "AA=="},
    };
    for (int32_t pack = 0; pack < int32_t(sizeof cases / sizeof cases[0]); ++pack) {
        const BCase &c = cases[pack];
        const std::string line = "VX+BASE64=" + std::to_string(pack) + "," + c.text + "\r\n";
        vsim::clear_record();
        vsim::script(id, line, "+BASE64:" + std::to_string(pack) + "\r\nOK\r\n");
        const auto *bytes = reinterpret_cast<const uint8_t *>(c.data);
        EXPECT_EQ(VX_SendDataPack(dev, kPwd, pack, bytes, c.size), 1u) << line;
        EXPECT_EQ(wire(), line);
    }

    // The echo must carry this pack's number (its own: the row table's SendDataPack).
    run("VX+BASE64=7,YWJj\r\n", Writes::Bytes,
        {
            {.reply = "+BASE64:6\r\nOK\r\n", .result = 0, .status = 0},
            {.reply = "+BASE64:07,more\r\nOK\r\n"},
        },
        [&](Outs &) {
            return VX_SendDataPack(dev, kPwd, 7, reinterpret_cast<const uint8_t *>("abc"), 3);
        });
    run("VX+DATAPTHREAD=4\r\n", Writes::Bytes,
        {
            {.reply = "+DATAPTHREAD\r\nOK\r\n", .result = 0, .status = 0},
            {.reply = "OK\r\n+DATAPTHREAD:"},  // the key alone, no line end needed
        },
        [&](Outs &) { return VX_SetDataPthread(dev, kPwd, 4); });
}

// Faults: a type other than 1 (FAT32) and 2 (EXFAT) sent, the refusal before
// the login, its text or status other than "fstype Error" and 0.
TEST_F(OpsTest, UnknownFileSystemTypeIsRefusedAfterTheLogin) {
    for (int32_t type : {3, 0, -1}) {
        EXPECT_EQ(VX_FormatUdisk(dev, kPwd, type), 0u) << type;
        EXPECT_EQ(VX_GetErrNo(dev), 0);
        EXPECT_STREQ(VX_GetErrStr(dev), "fstype Error");
    }
    EXPECT_EQ(vsim::commands(id),
              std::vector<std::string>{"VX+LOGIN=admin:21218CCA77804D2BA1922C33E0151105\r\n"});
    EXPECT_EQ(VX_IsLogin(dev), 1);
}

}  // namespace
