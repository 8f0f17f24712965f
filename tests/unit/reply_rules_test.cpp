// Reply completeness and the single-value payload rule.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ops/rows.h"
#include "protocol/command.h"
#include "protocol/framing.h"
#include "protocol/payload.h"

namespace {

TEST(CheckCmdResult, CompletenessAndVerdict) {
    struct Case {
        const char *reply;
        int want;
    } cases[] = {
        {"", 0},
        {"OK\r\n", 0},      // 4 characters: never complete
        {"\r\nOK\r\n", 0},  // 6 characters
        {"+A:1\r\nOK\r\n", 1},
        {"xxxOK\r\n", 1},  // 7 characters, OK anywhere
        {"Error: para is error\r\n", -1},
        {"Error: para is error", 0},  // no line end after it
        {"\r\nError: late", 0},       // the line end must follow the Error:
        {"Error: x\r\nOK\r\n", 1},    // OK wins over Error:
        {"+DEVNAME:abc\r\n", 0},      // data without a status line
        {"OK\n and more", 0},
    };
    for (const auto &c : cases) EXPECT_EQ(vx::CheckCmdResult(c.reply), c.want) << c.reply;
    EXPECT_EQ(vx::CheckCmdResult(nullptr), 0);
}

TEST(Payload, SingleValueRule) {
    std::string_view p;
    EXPECT_TRUE(vx::FindPayload("+DEVNAME:cam 7\r\nOK\r\n", "+DEVNAME:", &p));
    EXPECT_EQ(p, "cam 7");
    EXPECT_TRUE(vx::FindPayload("junk+DEVNAME:\r\nOK\r\n", "+DEVNAME:", &p));
    EXPECT_EQ(p, "");
    EXPECT_FALSE(vx::FindPayload("+DEVNAME:abc", "+DEVNAME:", &p));  // no line end
    EXPECT_FALSE(vx::FindPayload("+DEVNAMEX:abc\r\n", "+DEVNAME:", &p));
    // The first occurrence wins.
    EXPECT_TRUE(vx::FindPayload("+K:1\r\n+K:2\r\n", "+K:", &p));
    EXPECT_EQ(p, "1");
}

// Fault: a line longer than its area sent cut (the device would act on the
// cut line). The builder refuses it whole, with the text the operations report.
TEST(BuildCommand, LineThatDoesNotFitItsAreaIsRefused) {
    namespace ops = vx::ops;
    std::string line;
    const ops::Arg fits[] = {std::string(1024 - 14, 'a')};  // "VX+DEVNAME=" + CR LF: 1023
    EXPECT_EQ(ops::BuildCommand(ops::rows::kSetDevName, fits, &line), nullptr);
    EXPECT_EQ(line.size(), 1023u);
    const ops::Arg too_long[] = {std::string(1024 - 13, 'a')};
    EXPECT_STREQ(ops::BuildCommand(ops::rows::kSetDevName, too_long, &line),
                 "command too long for its area: not sent");
}

}  // namespace
