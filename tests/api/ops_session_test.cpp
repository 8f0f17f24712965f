// What an operation does around its exchange: the logout's confirmation, and
// the caps that keep a device which never stops sending from holding the
// caller forever.
#include "ops_support.h"

namespace {

using namespace ops_test;

TEST_F(OpsTest, LogoutNeedsTheConfirmationInAnAcceptedReply) {
    login();
    struct Case {
        const char *reply;
        int32_t logged_in;
    } cases[] = {
        {"+LOGOUT:Fail\r\nOK\r\n", 1},             // accepted, not confirmed
        {"+LOGOUT:Sucess\r\nError: busy\r\n", 1},  // confirmed, not accepted
        {"+LOGOUT:Sucess\r\nOK\r\n", 0},
    };
    for (const Case &c : cases) {
        vsim::script(id, "VX+LOGOUT\r\n", c.reply);
        EXPECT_EQ(VX_Logout(dev), 1u) << c.reply;
        EXPECT_EQ(VX_IsLogin(dev), c.logged_in) << c.reply;
        EXPECT_STREQ(VX_GetErrStr(dev), c.reply);
    }
}

TEST_F(OpsTest, StaleStreamIsFlushedAtMostTwoHundredFiftySixReads) {
    login();
    vsim::Faults faults;
    faults.stale_stream = true;
    vsim::set_faults(id, faults);
    char name[VX_TEXT_AREA] = {};
    EXPECT_EQ(VX_GetDevName(dev, kPwd, name), 0u);

    int flush_reads = 0, reply_reads = 0;
    for (const auto &t : reads()) {
        if (t.timeout == 100) {
            ++flush_reads;
            EXPECT_EQ(t.size, 4096);
        } else {
            ++reply_reads;
        }
    }
    EXPECT_EQ(flush_reads, 256);
    EXPECT_EQ(writes().size(), 1u) << "the command still goes out";
    EXPECT_GE(reply_reads, 1);
    EXPECT_EQ(VX_GetErrNo(dev), 0);
    EXPECT_EQ(std::strlen(VX_GetErrStr(dev)),
              std::size_t(VX_TEXT_AREA - 1));  // the area filled with stale bytes
    EXPECT_EQ(VX_CheckDevHandle(dev), 1u);
}

TEST_F(OpsTest, EmptyPacketsEndTheReplyAfterSixteen) {
    login();
    vsim::Faults faults;
    faults.zero_length_reads = true;
    vsim::set_faults(id, faults);
    set_err_text("prior");
    char name[VX_TEXT_AREA] = {};
    EXPECT_EQ(VX_GetDevName(dev, kPwd, name), 0u);

    int flush_reads = 0, reply_reads = 0;
    for (const auto &t : reads()) (t.timeout == 100 ? flush_reads : reply_reads) += 1;
    EXPECT_EQ(flush_reads, 256);
    EXPECT_EQ(reply_reads, 16);
    EXPECT_EQ(VX_GetErrNo(dev), 0);
    EXPECT_STREQ(VX_GetErrStr(dev), "");
    EXPECT_EQ(VX_CheckDevHandle(dev), 1u);
}

}  // namespace
