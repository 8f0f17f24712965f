// What an operation does around its exchange: the logout's confirmation, and
// the caps that keep a device which never stops sending from holding the
// caller forever.
#include <climits>

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

// A stale stream is flushed at most 256 reads of 4096 bytes (time-out 100),
// and the reply read behind it fills the error text; empty packets end the
// reply after sixteen. Either way the command still goes out once, and the
// call fails with status 0 and keeps the record open.
TEST_F(OpsTest, EndlessStreamsAreCapped) {
    login();
    const struct {
        const char *what;
        bool stale, empty;
        int min_reply_reads, max_reply_reads;
        std::size_t text_length;
    } cases[] = {
        {"stale stream", true, false, 1, INT_MAX, VX_TEXT_AREA - 1},
        {"empty packets", false, true, 16, 16, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        vsim::set_faults(
            id, {.reply_split = {}, .stale_stream = c.stale, .zero_length_reads = c.empty});
        vsim::clear_record();
        set_err_text("prior");
        char name[VX_TEXT_AREA] = {};
        EXPECT_EQ(VX_GetDevName(dev, kPwd, name), 0u);
        int flush_reads = 0, reply_reads = 0;
        for (const auto &t : reads()) {
            if (t.timeout != 100) {
                ++reply_reads;
                continue;
            }
            ++flush_reads;
            EXPECT_EQ(t.size, 4096);
        }
        EXPECT_EQ(flush_reads, 256);
        EXPECT_EQ(writes().size(), 1u);
        EXPECT_GE(reply_reads, c.min_reply_reads);
        EXPECT_LE(reply_reads, c.max_reply_reads);
        EXPECT_EQ(VX_GetErrNo(dev), 0);
        EXPECT_EQ(std::strlen(VX_GetErrStr(dev)), c.text_length);
        EXPECT_EQ(VX_CheckDevHandle(dev), 1u);
    }
}

}  // namespace
