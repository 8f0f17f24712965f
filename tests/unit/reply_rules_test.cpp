// Reply completeness and the single-value payload rule.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "protocol/exchange.h"
#include "protocol/payload.h"
#include "transport/completeness.h"

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

TEST(FormatCommand, BoundedByTheCommandArea) {
    EXPECT_EQ(vx::FormatCommand("VX+DEVNAME=%s\r\n", "x"), "VX+DEVNAME=x\r\n");
    std::string big(5000, 'a');
    std::string cmd = vx::FormatCommand("VX+DEVNAME=%s\r\n", big.c_str());
    EXPECT_EQ(cmd.size(), std::size_t(vx::kCommandArea - 1));
}

}  // namespace
