// The fault matrix: one operation of each signature kind and output shape,
// times every step of its exchange (the flush's read, the write, each reply
// packet, the read after the last), times every fault the virtual recorder
// can raise there. The cases are generated from the tables below and checked
// by one loop: the documented failure value, status number 0 and the bytes
// that arrived as error text, a time-out keeping the record and a lost device
// closing it and requesting a refresh, outputs left as a clean failure leaves
// them, no wait beyond the transfer time-outs, and a working next operation.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "api/ops_support.h"
#include "common/state.h"
#include "transport/usbio.h"

namespace {

using namespace ops_test;

std::string Echo(const std::string &key, const std::string &payload = "1") {
    return "+" + key + ":" + payload + "\r\nOK\r\n";
}

struct Op {
    const char *name;
    const char *keyword;  // the handler that answers it
    std::function<uint32_t(VestraInfo *, const char *, Outs &)> call;
    std::string reply;
    std::size_t area = VX_TEXT_AREA;  // its reply area
    bool status_line = true;          // false: a whole data line decides, "OK" or not
};

// One per signature kind and output shape of the operation rows.
std::vector<Op> Ops() {
    return {
        {"SetText", "DEVNAME",
         [](auto d, auto p, Outs &) { return VX_SetDevName(d, p, "front door"); },
         Echo("DEVNAME", "front door")},
        {"Bare", "LOGEXPORT", [](auto d, auto p, Outs &) { return VX_ExportDevLog(d, p); },
         Echo("LOGEXPORT")},
        {"GetRawText", "DEVNAME",
         [](auto d, auto p, Outs &o) { return VX_GetDevName(d, p, o.t[0]); },
         Echo("DEVNAME", "cam 7")},
        {"GetNumber", "LOGLEVEL",
         [](auto d, auto p, Outs &o) { return VX_GetDevLogLevel(d, p, &o.n[0]); },
         Echo("LOGLEVEL", "3")},
        {"GetRecordCleared", "GBCFG",
         [](auto d, auto p, Outs &o) { return VX_GetDevInfo(d, p, &o.z); },
         Echo("GBCFG", "1234567,000001,Officer A,320100000000,Patrol unit")},
        {"GetFieldTexts", "VPN",
         [](auto d, auto p, Outs &o) { return VX_GetVpn(d, p, o.t[0], o.t[1], o.t[2]); },
         Echo("VPN", "vpn.example,NULL,s3")},
        {"GetSizeAndNumbers", "MVEINFO",
         [](auto d, auto p, Outs &o) {
             return VX_GetMasterVEInfo(d, p, &o.n[0], &o.n[1], &o.n[2], &o.n[3]);
         },
         Echo("MVEINFO", "1280x720,25,2048")},
        {"GetKeyedList", "DIAGNOSTICCFG",
         [](auto d, auto p, Outs &o) {
             return VX_GetNetCheckServCfg(d, p, &o.n[0], o.t[0], o.t[1]);
         },
         Echo("DIAGNOSTICCFG", "bEnable:1,ServIP:diag.example,ServPort:7200,")},
        {"SetServicePairs", "DIAGNOSTICCFG",
         [](auto d, auto p, Outs &) {
             return VX_SetNetCheckServCfg(d, p, 1, "diag.example", "7200");
         },
         Echo("DIAGNOSTICCFG", "bEnable:1,")},
        {"GetIndexedOsd", "VIDEOOSD3",
         [](auto d, auto p, Outs &o) { return VX_GetVideoOsd(d, p, 3, &o.n[0], o.t[0], 64); },
         Echo("VIDEOOSD3", "1,Unit 7")},
        {"GetLargeList", "APLIST",
         [](auto d, auto p, Outs &o) { return VX_GetApList(d, p, o.list); },
         Echo("APLIST", "HQ:pw,Depot:"), VX_AP_LIST_AREA},
        {"SetConfirmed", "APDEL", [](auto d, auto p, Outs &) { return VX_DelAp(d, p, "HQ"); },
         Echo("APDEL", "HQ")},
        {"ConfigText", "UMSINI",
         [](auto d, auto p, Outs &o) {
             return VX_DevCfgIniStr(d, p, "Video.FrameRate=25", o.t[0], VX_TEXT_AREA);
         },
         Echo("UMSINI", "Video.FrameRate=25"), VX_TEXT_AREA, false},
        {"DataPack", "BASE64",
         [](auto d, auto p, Outs &) {
             const uint8_t data[] = {'a', 'b', 'c'};
             return VX_SendDataPack(d, p, 7, data, 3);
         },
         Echo("BASE64", "7")},
        {"SetKeyPresent", "DATAPTHREAD",
         [](auto d, auto p, Outs &) { return VX_SetDataPthread(d, p, 3); },
         Echo("DATAPTHREAD", "3")},
        {"UserCommand", "DEVNAME",
         [](auto d, auto p, Outs &o) {
             char cmd[] = "VX+DEVNAME?";
             return VX_SendUserCmd(d, p, cmd, o.user);
         },
         Echo("DEVNAME", "cam 7"), VX_USER_REPLY_AREA},
        {"RawCommand", "LOGEXPORT",
         [](auto d, auto p, Outs &) { return VX_Cmd(d, p, "VX+LOGEXPORT\r\n"); },
         Echo("LOGEXPORT")},
    };
}

// What a fault leaves: a time-out keeps the record open; a lost device
// closes it and raises the device-change state for a refresh. Done: the
// reply that arrived is a whole one by the operation's rule.
enum class Fate { Kept, Lost, Done };

struct Case {
    std::string step, fault;
    std::string reply;    // what the recorder answers the operation ("": nothing)
    vsim::Faults faults;  // armed just before the operation
    Fate fate;
    std::string text;     // the error text: the bytes that arrived
    bool fills = false;   // text: starts so and fills the area (or the error text)
    bool gone = false;    // the device left the bus and must be plugged again
    bool replug = false;  // it came back by itself under a new device number
};

// Transfer numbers of the steps, counted from the flush's read (1).
constexpr int kFlush = 1, kWrite = 2, kChunk1 = 3;

std::vector<Case> Cases(const Op &op, std::size_t packet) {
    const std::string &r = op.reply;
    const std::string data = r.substr(0, r.size() - 4);  // the status line cut off
    const int after_last = kChunk1 + int((data.size() + packet - 1) / packet);
    struct Step {
        const char *name;
        int at;
        std::string reply, arrived;  // reply sent, bytes that arrived before the step
    };
    const std::vector<Step> steps = {
        {"flush", kFlush, r, ""},
        {"write", kWrite, r, ""},
        {"chunk1", kChunk1, r, ""},
        {"chunk2", kChunk1 + 1, r, r.substr(0, packet)},  // after the first reply packet
        {"after-last", after_last, data, data},
    };
    std::vector<Case> out;
    for (const Step &s : steps) {
        const vsim::Faults unplug{.reply_split = {}, .unplug_now = true, .from_transfer = s.at};
        const vsim::Faults replug{.reply_split = {}, .replug_now = true, .from_transfer = s.at};
        out.push_back({s.name, "unplug", s.reply, unplug, Fate::Lost, s.arrived, false, true});
        out.push_back(
            {s.name, "replug", s.reply, replug, Fate::Lost, s.arrived, false, false, true});
        if (s.at == kWrite) continue;  // the reads' own faults
        // After a whole data line, a rule that needs no status line is satisfied.
        Fate read_fault = s.at == after_last && !op.status_line ? Fate::Done : Fate::Kept;
        const std::string arrived = s.at == kFlush ? "" : s.arrived;
        const vsim::Faults zero{
            .reply_split = {}, .zero_length_reads = true, .from_transfer = s.at};
        const vsim::Faults stale{.reply_split = {}, .stale_stream = true, .from_transfer = s.at};
        out.push_back({s.name, "zero-length reads", s.reply, zero, read_fault, arrived});
        out.push_back({s.name, "stale stream", s.reply, stale, read_fault, arrived, true});
    }
    // A short write: seven bytes in seven writes, the rest never.
    const vsim::Faults write_error{.reply_split = {}, .write_error = vsim::kIoError},
        short_write{.reply_split = {}, .write_chunk = 1},
        silent{.reply_split = {}, .silent_replies = 1};
    out.push_back({"write", "write error", r, write_error, Fate::Lost, ""});
    out.push_back({"write", "short write", r, short_write, Fate::Kept, ""});
    out.push_back({"chunk1", "silence", r, silent, Fate::Kept, ""});
    // The recorder answers this and then nothing: a time-out in the packet
    // that holds byte `at`, with the text arrived.
    auto timeout = [&](std::size_t at, const std::string &fault, const std::string &reply,
                       const std::string &text, bool fills = false) {
        const std::string step = "chunk" + std::to_string(at / packet + 1);
        out.push_back({step, fault, reply, {}, Fate::Kept, text, fills});
    };
    for (std::size_t b = 0; b < r.size(); ++b)  // cut at every byte
        timeout(b, "cut at " + std::to_string(b), r.substr(0, b), r.substr(0, b));
    for (std::size_t pos : {packet / 2, packet + packet / 2}) {  // a NUL in each packet
        std::string nul = r;
        nul.insert(pos, 1, '\0');
        timeout(pos, "NUL at " + std::to_string(pos), nul, r.substr(0, pos));
    }
    // Longer than its area: the area fills before any status line.
    const std::string key = r.substr(0, r.find(':') + 1);
    timeout(op.area, "longer than its area", key + std::string(op.area, 'x') + "\r\nOK\r\n", key,
            true);
    return out;
}

class FaultMatrix : public OpsTest, public ::testing::WithParamInterface<Op> {
protected:
    void SetUp() override {
        RecorderTest::SetUp();
        // Two packets per reply, so that a fault can fall between them.
        packet = (GetParam().reply.size() + 1) / 2;
        id = vsim::plug(
            {.model = "VX001", .serial = "SN1000001_1", .packet_size = packet, .values = {}});
        vsim::set_handler(GetParam().keyword,
                          [this](vsim::Recorder &, const std::string &) { return reply; });
        dev = open("VX001");
        ASSERT_NE(dev, nullptr);
    }
    // A closed record opened again, on a device that is back on the bus.
    void reopen(const Case &c) {
        const int old_devnum = vsim::devnum(id);
        if (c.gone) id = vsim::replug(id);
        if (c.replug) id = vsim::replugged_as(id);
        ASSERT_GT(id, 0);
        if (c.gone || c.replug) {
            ASSERT_NE(vsim::devnum(id), old_devnum);
        }
        forget(dev);
        VX_UnInitDev(dev);
        dev = open("VX001");
        ASSERT_NE(dev, nullptr);
    }
    std::size_t packet = 0;
    std::string reply;
};

// Every transfer has a time-out (0 would wait for ever), and the time-outs
// that ran out add up to one flush read's and one reply read's at most: a
// real device would have held the caller no longer than that.
void ExpectBoundedWaits(std::size_t area) {
    const auto transfers = vsim::transfers();
    int waited = 0;
    for (const auto &t : transfers) {
        EXPECT_GT(t.timeout, 0);
        EXPECT_LE(t.timeout, std::max(vx::kReadTimeoutMs, vx::kWriteTimeoutMs));
        if (t.result == vsim::kTimedOut) waited += t.timeout;
    }
    EXPECT_LE(waited, vx::kFlushTimeoutMs + vx::kReadTimeoutMs);
    EXPECT_LE(transfers.size(),
              std::size_t(vx::kMaxFlushReads + vx::kMaxWrites + vx::kMaxEmptyReads) + area);
}

// The bus answers at once (its time-outs too): an operation that takes
// longer than every time-out of one exchange together waited on something
// else (a sleep, a lock, a retry loop). Generous, never near a real figure.
constexpr auto kLongestExchange = std::chrono::milliseconds(
    vx::kFlushTimeoutMs + vx::kMaxWrites * vx::kWriteTimeoutMs + vx::kReadTimeoutMs);

TEST_P(FaultMatrix, EveryFaultAtEveryStep) {
    const Op &op = GetParam();
    reply = op.reply;
    Outs clean;
    ASSERT_EQ(op.call(dev, kPwd, clean), 1u);  // logs in, and the outputs of a success
    const std::size_t text_room = std::min<std::size_t>(op.area, sizeof dev->errStr) - 1;
    const std::vector<Case> cases = Cases(op, packet);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.fault + " at " + c.step);
        reply = c.reply;
        vx::g_device_change_state = 0;
        vsim::clear_record();
        vsim::set_faults(id, c.faults);
        Outs outs;
        const auto began = std::chrono::steady_clock::now();
        const uint32_t result = op.call(dev, kPwd, outs);
        EXPECT_LT(std::chrono::steady_clock::now() - began, kLongestExchange);
        ExpectBoundedWaits(op.area);
        vsim::set_faults(id, {});
        if (c.fate == Fate::Done) {
            EXPECT_EQ(result, 1u);
            EXPECT_TRUE(outs.same_as(clean)) << "outputs differ from a clean run's";
            continue;
        }
        EXPECT_EQ(result, 0u);
        EXPECT_EQ(VX_GetErrNo(dev), VX_STATUS_FAILED);
        std::string text = VX_GetErrStr(dev);
        if (c.fills) {
            EXPECT_EQ(text.substr(0, c.text.size()), c.text);
            EXPECT_EQ(text.size(), text_room);
        } else {
            EXPECT_EQ(text, c.text);
        }
        EXPECT_TRUE(outs.same_as(Outs())) << "an output written by a failed operation";
        if (c.fate == Fate::Kept) {
            EXPECT_EQ(VX_CheckDevHandle(dev), 1u) << "record closed by a time-out";
            EXPECT_EQ(vx::g_device_change_state.load(), 0);
        } else {
            EXPECT_EQ(VX_CheckDevHandle(dev), 0u) << "record of a lost device left open";
            EXPECT_EQ(dev->devNum, -1);
            EXPECT_EQ(vx::g_device_change_state.load(), 2) << "no refresh requested";
            reopen(c);
            if (HasFatalFailure()) return;
        }
        // The next operation works and gives what a clean one gives.
        reply = op.reply;
        Outs next;
        EXPECT_EQ(op.call(dev, kPwd, next), 1u);
        EXPECT_EQ(VX_GetErrNo(dev), VX_STATUS_OK);
        EXPECT_TRUE(next.same_as(clean)) << "the next operation's outputs differ";
    }
    std::printf("[ matrix   ] %s: %zu cases\n", op.name, cases.size());
}

void PrintTo(const Op &op, std::ostream *os) { *os << op.name; }

std::string OpName(const ::testing::TestParamInfo<Op> &p) { return p.param.name; }
INSTANTIATE_TEST_SUITE_P(Ops, FaultMatrix, ::testing::ValuesIn(Ops()), OpName);

}  // namespace
