// The raw command exchange and the outcome it leaves in a record.
#include <cstring>
#include <string>
#include <type_traits>

#include "ops_support.h"

namespace {

class Exchange : public ops_test::OpsTest {
protected:
    void SetUp() override {
        OpsTest::SetUp();
        vsim::set_value(id, "DEVNAME", "cam-5");
    }
};

TEST_F(Exchange, FreshNullAndClosedRecordsAndNoCommandText) {
    EXPECT_EQ(VX_GetErrNo(dev), 0);
    EXPECT_STREQ(VX_GetErrStr(dev), "");
    static_assert(std::is_same<decltype(VX_GetErrStr(nullptr)), char *>::value, "writable text");
    EXPECT_EQ(VX_GetErrStr(dev), dev->errStr);
    EXPECT_EQ(VX_GetErrNo(nullptr), 0);
    EXPECT_EQ(VX_GetErrStr(nullptr), nullptr);
    EXPECT_EQ(VX_Cmd(nullptr, "888888", "VX+DEVNAME?\r\n"), 0u);
    EXPECT_EQ(VX_Cmd(nullptr, "888888", nullptr), 0u);
    VestraInfo closed{};
    EXPECT_EQ(VX_Cmd(&closed, "888888", nullptr), 0u);
    EXPECT_EQ(VX_GetErrNo(&closed), VX_STATUS_NOT_OPEN);
    EXPECT_STREQ(VX_GetErrStr(&closed), "Device not Open");

    // An open record and no text: refused with status 0, not even a login is sent.
    vsim::clear_record();
    dev->errNo = 1;
    EXPECT_EQ(VX_Cmd(dev, "888888", nullptr), 0u);
    EXPECT_EQ(VX_GetErrNo(dev), 0);
    EXPECT_TRUE(vsim::transfers().empty());
    EXPECT_EQ(VX_IsLogin(dev), 0);
}

TEST_F(Exchange, SuccessLeavesTheReplyAsText) {
    ASSERT_EQ(VX_Cmd(dev, "888888", "VX+DEVNAME?\r\n"), 1u);
    EXPECT_EQ(VX_GetErrNo(dev), 1);
    EXPECT_STREQ(VX_GetErrStr(dev), "+DEVNAME:cam-5\r\nOK\r\n");
}

// The completeness rule and its verdict, as the reply read sees them. Faults:
// a reply taken as complete too early (4- or 6-byte "OK", data without a
// status line, an "Error:" without its line end) or never (the read would go
// on to its empty-read cap: reads beyond the reply's own); an "Error:" line
// not ending the read at once; "Error:" winning over a later "OK"; a failed
// reply not kept as the error text with status 0.
TEST_F(Exchange, CompletenessAndVerdictOfTheReply) {
    const struct {
        const char *reply;
        uint32_t result;
        bool complete;  // the read ends with the reply's own packet
    } cases[] = {
        {.reply = "+A:1\r\nOK\r\n", .result = 1, .complete = true},
        {.reply = "xxxOK\r\n", .result = 1, .complete = true},  // 7 characters, OK anywhere
        {.reply = "Error: x\r\nOK\r\n", .result = 1, .complete = true},  // OK wins over Error:
        {.reply = "Error: para is error\r\n", .result = 0, .complete = true},
        {.reply = "OK\r\n", .result = 0, .complete = false},      // 4 characters: never complete
        {.reply = "\r\nOK\r\n", .result = 0, .complete = false},  // 6 characters
        {.reply = "Error: para is error", .result = 0, .complete = false},  // no line end after it
        {.reply = "\r\nError: late", .result = 0, .complete = false},  // the line end must follow
        // Data without a status line.
        {.reply = "+DEVNAME:abc\r\n", .result = 0, .complete = false},
        {.reply = "OK\n and more", .result = 0, .complete = false},
        {.reply = "garbage without end", .result = 0, .complete = false},
        {.reply = "+DEVNAME:x\r\nError: busy\r\n", .result = 0, .complete = true},
    };
    ASSERT_EQ(VX_Login(dev, "888888"), 1u);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.reply);
        vsim::script(id, "VX+DEVNAME?\r\n", c.reply);
        vsim::clear_record();
        EXPECT_EQ(VX_Cmd(dev, "888888", "VX+DEVNAME?\r\n"), c.result);
        EXPECT_EQ(VX_GetErrNo(dev), c.result == 1 ? 1 : 0);
        EXPECT_STREQ(VX_GetErrStr(dev), c.reply);
        EXPECT_EQ(VX_CheckDevHandle(dev), 1u);
        auto t = vsim::transfers();
        std::size_t last_write = 0;
        for (std::size_t i = 0; i < t.size(); ++i)
            if (t[i].kind == vsim::Transfer::Write) last_write = i;
        EXPECT_EQ(t.size() - 1 - last_write == 1, c.complete)
            << t.size() - 1 - last_write << " reads after the write";
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
    EXPECT_EQ(wire(), longer);
    EXPECT_EQ(std::strlen(dev->lastCmd), 1023u);  // the kept copy is cut to its field
}

TEST_F(Exchange, TwoRecordsKeepTheirOwnOutcome) {
    int other = plug("VX005", "5000005", 1);
    VestraInfo *second = open("VX005");
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

}  // namespace
