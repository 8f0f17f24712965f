// What goes over the wire for one exchange, and how a failed write ends (the
// time-out and the lost device of every operation are the row table's).
#include "recorder_fixture.h"

namespace {

class Transport : public RecorderTest {
protected:
    void SetUp() override {
        RecorderTest::SetUp();
        id = plug("VX006", "6000006");  // endpoints 0x83 / 0x02
        dev = open("VX006");
        ASSERT_NE(dev, nullptr);
        vsim::clear_record();
    }
    int id = 0;
    VestraInfo *dev = nullptr;
};

TEST_F(Transport, FlushWriteReadOnTheModelsEndpoints) {
    vsim::queue_stale(id, "stale +GBIDCODE:9999999\r\nOK\r\n");
    char code[8] = {};
    ASSERT_EQ(VX_GetIDCode(dev, code), 1u);
    EXPECT_STREQ(code, "6000006");  // the stale reply was flushed, never read as the answer

    auto all = vsim::transfers();
    ASSERT_GE(all.size(), 4u);
    // Flush: 4096-byte reads with 100 ms until one fails.
    std::size_t i = 0;
    for (; all[i].kind == vsim::Transfer::Read && all[i].timeout == 100; ++i) {
        EXPECT_EQ(all[i].endpoint, 0x83);
        EXPECT_EQ(all[i].size, 4096);
    }
    ASSERT_GE(i, 2u);
    EXPECT_EQ(all[i - 1].result, vsim::kTimedOut);
    // One write of the whole line with 1000 ms.
    ASSERT_EQ(all[i].kind, vsim::Transfer::Write);
    EXPECT_EQ(all[i].endpoint, 0x02);
    EXPECT_EQ(all[i].data, "VX+GBIDCODE?\r\n");
    EXPECT_EQ(all[i].timeout, 1000);
    // The reply read with 1000 ms, at most capacity - 1 bytes.
    ASSERT_EQ(all[i + 1].kind, vsim::Transfer::Read);
    EXPECT_EQ(all[i + 1].endpoint, 0x83);
    EXPECT_EQ(all[i + 1].timeout, 1000);
    EXPECT_EQ(all[i + 1].size, 1023);
    EXPECT_EQ(all[i + 1].data, "+GBIDCODE:6000006\r\nOK\r\n");
    EXPECT_EQ(all.size(), i + 2);
}

TEST_F(Transport, ReplyJoinedFromSeveralPackets) {
    vsim::set_faults(id, {.reply_split = {2, 5}});  // "+G", "BIDCO", "DE:60", ...
    char code[8] = {};
    ASSERT_EQ(VX_GetIDCode(dev, code), 1u);
    EXPECT_STREQ(code, "6000006");
    auto r = reads();
    std::string joined;
    int reply_reads = 0;
    for (const auto &t : r) {
        if (t.timeout != 1000) continue;
        ++reply_reads;
        EXPECT_EQ(t.size, 1023 - int(joined.size())) << "each read asks for the room left";
        joined += t.data;
    }
    EXPECT_EQ(joined, "+GBIDCODE:6000006\r\nOK\r\n");
    EXPECT_EQ(reply_reads, 6);  // 2 + 5*4 = 22 < 24, then the last 2 bytes
}

TEST_F(Transport, PartialWritesAreContinuedUpToSevenTransfers) {
    vsim::set_faults(id, {.reply_split = {}, .write_chunk = 4});
    char code[8] = {};
    ASSERT_EQ(VX_GetIDCode(dev, code), 1u);  // 14 bytes in 4 writes
    auto w = writes();
    ASSERT_EQ(w.size(), 4u);
    EXPECT_EQ(w[0].data, "VX+G");
    EXPECT_EQ(w[0].size, 14);
    EXPECT_EQ(w[1].size, 10);
    EXPECT_EQ(w[2].data, "ODE?");
    EXPECT_EQ(w[3].data, "\r\n");

    // A line that needs more than seven transfers is cut after the seventh.
    vsim::set_faults(id, {.reply_split = {}, .write_chunk = 1});
    vsim::clear_record();
    EXPECT_EQ(VX_GetIDCode(dev, code), 0u);
    w = writes();
    ASSERT_EQ(w.size(), 7u);
    std::string sent;
    for (const auto &t : w) sent += t.data;
    EXPECT_EQ(sent, "VX+GBID");
    EXPECT_EQ(VX_CheckDevHandle(dev), 1u);
}

TEST_F(Transport, WriteErrorClosesTheRecord) {
    ASSERT_EQ(VX_Login(dev, "888888"), 1u);
    vsim::set_faults(id, {.reply_split = {}, .write_error = -5, .write_error_count = 1});
    EXPECT_EQ(VX_Cmd(dev, "888888", "VX+DEVNAME?\r\n"), 0u);
    EXPECT_EQ(VX_GetErrNo(dev), 0);
    EXPECT_EQ(VX_CheckDevHandle(dev), 0u);
    EXPECT_EQ(reads().back().timeout, 100) << "no reply read after the failed write";
}

}  // namespace
