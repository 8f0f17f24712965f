// Login forms, logout and release through the C interface.
#include <cstring>

#include "ops_support.h"

namespace {

class Login : public ops_test::OpsTest {
protected:
    void SetUp() override {
        OpsTest::SetUp();
        vsim::clear_record();
    }
    std::vector<std::string> sent() { return vsim::commands(id); }  // the login lines included
};

// The login line before the first command is the row table's
// (Operation.LogsInFirstWithItsPassword).
TEST_F(Login, AutomaticLoginOnceThenNoMoreTraffic) {
    vsim::set_value(id, "DEVNAME", "cam-7");
    ASSERT_EQ(VX_Cmd(dev, "888888", "VX+DEVNAME?\r\n"), 1u);
    EXPECT_EQ(VX_IsLogin(dev), 1);
    // Logged in: later operations skip the login, whatever password they pass.
    vsim::clear_record();
    EXPECT_EQ(VX_Login(dev, "wrong"), 1u);
    ASSERT_EQ(VX_Cmd(dev, "wrong", "VX+DEVNAME?\r\n"), 1u);
    EXPECT_EQ(sent(), std::vector<std::string>{"VX+DEVNAME?\r\n"});
}

// A login is tried up to ten times: a success in the tenth is reported, a
// short reply counts as no reply (and leaves no text), and "para is error" ends the attempts at
// once and is kept. The status number is left alone.
TEST_F(Login, AttemptsUntilTheTenth) {
    const struct {
        const char *refusal;  // the reply to the attempts before the successful one
        int succeed_at;       // 0: never
        int attempts;
        const char *text;  // the error text afterwards
    } cases[] = {
        {"+LOGIN:Fail\r\nError: password error\r\n", 3, 3, ""},
        {"+LOGIN:Fail\r\nError: password error\r\n", 10, 10, ""},
        {"+LOG", 0, 10, ""},
        {"Error: para is error\r\n", 0, 1, "Error: para is error\r\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.refusal);
        int calls = 0;
        vsim::set_handler("LOGIN", [&calls, c](vsim::Recorder &r, const std::string &) {
            if (c.succeed_at == 0 || ++calls < c.succeed_at) return std::string(c.refusal);
            r.logged_in = true;
            return std::string("+LOGIN:Sucess\r\nOK\r\n");
        });
        dev->isLogin = 0;
        vsim::clear_record();
        EXPECT_EQ(VX_Login(dev, "888888"), c.succeed_at != 0 ? 1u : 0u);
        EXPECT_EQ(VX_IsLogin(dev), c.succeed_at != 0 ? 1 : 0);
        EXPECT_EQ(count_commands(id, "VX+LOGIN="), c.attempts);
        EXPECT_EQ(VX_GetErrNo(dev), 0);
        EXPECT_STREQ(VX_GetErrStr(dev), c.text);
    }
}

TEST_F(Login, LoginExNamesTheAccount) {
    int other = vsim::plug(
        {.model = "VX002", .serial = "", .user = "operator", .password = "s3cret", .values = {}});
    VestraInfo *d2 = open("VX002");
    ASSERT_NE(d2, nullptr);
    EXPECT_EQ(VX_LoginEx(d2, nullptr, "s3cret"), 0u);
    EXPECT_EQ(VX_LoginEx(d2, "operator", nullptr), 0u);
    EXPECT_TRUE(vsim::commands(other).empty());
    EXPECT_EQ(VX_LoginEx(d2, "operator", "s3cret"), 1u);
    EXPECT_EQ(vsim::commands(other),
              std::vector<std::string>{"VX+LOGIN=operator:33E1B232A4E6FA0028A6670753749A17\r\n"});
    EXPECT_EQ(VX_IsLogin(d2), 1);
}

// Fault: a login line longer than the command area sent cut. Nothing is
// sent, the result is 0 and the error text says why.
TEST_F(Login, LoginLineTooLongForTheCommandAreaIsNotSent) {
    const std::string user(5000, 'u');
    EXPECT_EQ(VX_LoginEx(dev, user.c_str(), "888888"), 0u);
    EXPECT_TRUE(writes().empty());
    EXPECT_STREQ(VX_GetErrStr(dev), "command too long for its area: not sent");
    EXPECT_EQ(VX_IsLogin(dev), 0);
}

TEST_F(Login, TwoStepLogin) {
    EXPECT_EQ(VX_LoginIDPwd(dev, nullptr), 0u);
    EXPECT_EQ(VX_GetErrNo(dev), VX_STATUS_NO_LOGIN);
    EXPECT_STREQ(VX_GetErrStr(dev), "No Login Device");

    vsim::clear_record();
    ASSERT_EQ(VX_LoginIDPwd(dev, "PWD0001"), 1u);
    EXPECT_EQ(sent(), std::vector<std::string>{"VX+LOGINPWD=PWD0001\r\n"});  // sent unchanged
    EXPECT_EQ(VX_IsLogin(dev), 1);

    // Logged in: 1, without traffic, the output untouched.
    vsim::clear_record();
    char login_id[VX_LOGIN_ID_LEN];
    std::memset(login_id, '#', sizeof login_id);
    EXPECT_EQ(VX_GetLoginID(dev, login_id), 1u);
    EXPECT_EQ(login_id[0], '#');
    EXPECT_TRUE(sent().empty());
}

// The login ID is taken from a reply that holds it, even beside a para error
// (the error text then stays as it was); one that does not fit its area is
// refused after one line, a reply without the key after ten.
TEST_F(Login, LoginIdReplies) {
    const struct {
        std::string reply;  // empty: the recorder's own
        uint32_t result;
        std::string login_id;  // empty: not written
        std::size_t lines;
    } cases[] = {
        {"", 1, "LID0001", 1},
        {"+LOGINID:LID9\r\nError: para is error\r\n", 1, "LID9", 1},
        {"+LOGINID:" + std::string(35, 'i') + "\r\nOK\r\n", 1, std::string(35, 'i'), 1},
        {"+LOGINID:" + std::string(36, 'i') + "\r\nOK\r\n", 0, "", 1},
        {"no id here, OK\r\n", 0, "", 10},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.reply);
        if (!c.reply.empty()) vsim::script(id, "VX+LOGINID?\r\n", c.reply);
        vsim::clear_record();
        set_err_text("prior");
        char login_id[VX_LOGIN_ID_LEN];
        std::memset(login_id, '#', sizeof login_id);
        EXPECT_EQ(VX_GetLoginID(dev, login_id), c.result);
        if (c.result == 1) {
            EXPECT_EQ(std::string(login_id), c.login_id);
            EXPECT_STREQ(VX_GetErrStr(dev), "prior");
        } else {
            EXPECT_EQ(login_id[0], '#');
        }
        EXPECT_EQ(sent(), std::vector<std::string>(c.lines, "VX+LOGINID?\r\n"));
    }
}

TEST_F(Login, Logout) {
    EXPECT_EQ(VX_Logout(dev), 1u);  // not logged in: nothing sent
    EXPECT_TRUE(sent().empty());

    ASSERT_EQ(VX_Login(dev, "888888"), 1u);
    vsim::clear_record();
    EXPECT_EQ(VX_Logout(dev), 1u);
    EXPECT_EQ(sent(), std::vector<std::string>{"VX+LOGOUT\r\n"});
    EXPECT_EQ(VX_IsLogin(dev), 0);
    EXPECT_FALSE(vsim::logged_in(id));
}

TEST_F(Login, NullAndClosedRecords) {
    EXPECT_EQ(VX_Login(nullptr, "888888"), 0u);
    EXPECT_EQ(VX_LoginEx(nullptr, "admin", "888888"), 0u);
    EXPECT_EQ(VX_GetLoginID(nullptr, nullptr), 0u);
    EXPECT_EQ(VX_LoginIDPwd(nullptr, "x"), 0u);
    EXPECT_EQ(VX_Logout(nullptr), 0u);
    EXPECT_EQ(VX_IsLogin(nullptr), 0);
    VX_UnInitDev(nullptr);

    EXPECT_EQ(VX_Login(dev, nullptr), 0u);
    vsim::unplug(id);
    EXPECT_EQ(VX_Login(dev, "888888"), 0u);  // the transfers fail and close the record
    EXPECT_EQ(VX_CheckDevHandle(dev), 0u);
    EXPECT_EQ(VX_Login(dev, "888888"), 0u);
    EXPECT_EQ(VX_GetErrNo(dev), VX_STATUS_NOT_OPEN);
    EXPECT_STREQ(VX_GetErrStr(dev), "Device not Open");
}

TEST_F(Login, UnInitLogsOutClosesAndReleases) {
    ASSERT_EQ(VX_Login(dev, "888888"), 1u);
    forget(dev);
    vsim::clear_record();
    VX_UnInitDev(dev);
    EXPECT_EQ(sent(), std::vector<std::string>{"VX+LOGOUT\r\n"});
    std::string sid = std::to_string(id);
    auto calls = vsim::calls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[calls.size() - 2], "release_interface " + sid + " 0");
    EXPECT_EQ(calls.back(), "close " + sid);
}

TEST_F(Login, UnInitOfAnUnpluggedRecordStillReleasesIt) {
    ASSERT_EQ(VX_Login(dev, "888888"), 1u);
    forget(dev);
    vsim::unplug(id);
    VX_Cmd(dev, "888888", "VX+DEVNAME?\r\n");  // closes the record
    ASSERT_EQ(VX_CheckDevHandle(dev), 0u);
    VX_UnInitDevEx(dev);  // logout takes the not-open road, then the record is freed (ASan checks)
}

TEST_F(Login, UnInitOfTheLibraryRecordOnlyClosesIt) {
    VestraInfo *gb = VX_GetGBDev();
    ASSERT_NE(gb, nullptr);
    VX_UnInitDev(gb);
    EXPECT_EQ(VX_GetErrNo(gb), VX_STATUS_NOT_OPEN);  // the logout found it closed
    EXPECT_EQ(gb->devNum, -1);
}

}  // namespace
