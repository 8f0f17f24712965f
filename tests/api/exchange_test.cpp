// The raw command exchange and the outcome it leaves in a record.
#include "recorder_fixture.h"

#include <cstring>

namespace {

class Exchange : public RecorderTest {
protected:
    void SetUp() override {
        RecorderTest::SetUp();
        id = plug("VX005", "5000005");
        dev = open("VX005");
        ASSERT_NE(dev, nullptr);
        vsim::set_value(id, "DEVNAME", "cam-5");
    }
    int id = 0;
    VestraInfo *dev = nullptr;
};

TEST_F(Exchange, FreshAndNullRecords) {
    EXPECT_EQ(VX_GetErrNo(dev), 0);
    EXPECT_STREQ(VX_GetErrStr(dev), "");
    EXPECT_EQ(VX_GetErrNo(nullptr), 0);
    EXPECT_EQ(VX_GetErrStr(nullptr), nullptr);
    EXPECT_EQ(VX_Cmd(nullptr, "888888", "VX+DEVNAME?\r\n"), 0u);
    EXPECT_EQ(VX_Cmd(dev, "888888", nullptr), 0u);
    EXPECT_TRUE(vsim::commands(id).empty());
}

TEST_F(Exchange, SuccessLeavesTheReplyAsText) {
    ASSERT_EQ(VX_Cmd(dev, "888888", "VX+DEVNAME?\r\n"), 1u);
    EXPECT_EQ(VX_GetErrNo(dev), 1);
    EXPECT_STREQ(VX_GetErrStr(dev), "+DEVNAME:cam-5\r\nOK\r\n");
    // A set is seen by the next get.
    ASSERT_EQ(VX_Cmd(dev, "888888", "VX+DEVNAME=front door\r\n"), 1u);
    ASSERT_EQ(VX_Cmd(dev, "888888", "VX+DEVNAME?\r\n"), 1u);
    EXPECT_STREQ(VX_GetErrStr(dev), "+DEVNAME:front door\r\nOK\r\n");
}

TEST_F(Exchange, FailedRepliesAreKeptWithStatusZero) {
    struct Case {
        const char *reply;
        const char *kept;
    } cases[] = {
        {"Error: para is error\r\n", "Error: para is error\r\n"},  // ends the read at once
        {"\r\nOK\r\n", "\r\nOK\r\n"},                              // 6 bytes never complete
        {"+DEVNAME:x\r\nError: busy\r\n", "+DEVNAME:x\r\nError: busy\r\n"},
        {"garbage without end", "garbage without end"},
    };
    for (const auto &c : cases) {
        vsim::script(id, "VX+DEVNAME?\r\n", c.reply);
        EXPECT_EQ(VX_Cmd(dev, "888888", "VX+DEVNAME?\r\n"), 0u) << c.reply;
        EXPECT_EQ(VX_GetErrNo(dev), 0);
        EXPECT_STREQ(VX_GetErrStr(dev), c.kept);
        EXPECT_EQ(VX_CheckDevHandle(dev), 1u);
    }
}

TEST_F(Exchange, CommandIsSentUnchanged) {
    vsim::clear_record();
    VX_Cmd(dev, "888888", "VX+DEVNAME?");  // no line end added
    auto w = writes();
    ASSERT_FALSE(w.empty());
    EXPECT_EQ(w.back().data, "VX+DEVNAME?");

    std::string longer = "VX+DEVNAME=" + std::string(1500, 'n') + "\r\n";
    vsim::clear_record();
    VX_Cmd(dev, "888888", longer.c_str());
    std::string sent;
    for (const auto &t : writes()) sent += t.data;
    EXPECT_EQ(sent, longer);
    EXPECT_EQ(std::strlen(dev->lastCmd), 1023u);  // the kept copy is cut to its field
}

TEST_F(Exchange, TwoRecordsKeepTheirOwnOutcome) {
    int other = plug("VX001", "1000001", 1);
    VestraInfo *second = open("VX001");
    ASSERT_NE(second, nullptr);
    vsim::set_value(other, "DEVNAME", "cam-1");

    ASSERT_EQ(VX_Cmd(dev, "888888", "VX+DEVNAME?\r\n"), 1u);
    vsim::script(other, "VX+DEVNAME?\r\n", "Error: para is error\r\n");
    ASSERT_EQ(VX_Cmd(second, "888888", "VX+DEVNAME?\r\n"), 0u);
    EXPECT_EQ(VX_GetErrNo(dev), 1);
    EXPECT_STREQ(VX_GetErrStr(dev), "+DEVNAME:cam-5\r\nOK\r\n");
    EXPECT_EQ(VX_GetErrNo(second), 0);
    EXPECT_STREQ(VX_GetErrStr(second), "Error: para is error\r\n");

    EXPECT_EQ(VX_Cmd(second, "wrong", "VX+DEVNAME?\r\n"),
              0u);  // logged in already: not a login failure
    EXPECT_EQ(VX_GetErrNo(dev), 1);
}

TEST_F(Exchange, UnpluggedRecordFailsThenReportsNotOpen) {
    ASSERT_EQ(VX_Cmd(dev, "888888", "VX+DEVNAME?\r\n"), 1u);
    vsim::unplug(id);
    EXPECT_EQ(VX_Cmd(dev, "888888", "VX+DEVNAME?\r\n"), 0u);
    EXPECT_EQ(VX_GetErrNo(dev), 0);
    EXPECT_STREQ(VX_GetErrStr(dev), "");
    EXPECT_EQ(VX_Cmd(dev, "888888", "VX+DEVNAME?\r\n"), 0u);
    EXPECT_EQ(VX_GetErrNo(dev), VX_STATUS_NOT_OPEN);
    EXPECT_STREQ(VX_GetErrStr(dev), "Device not Open");
}

}  // namespace
