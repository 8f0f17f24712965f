// Probing, opening and identifying recorders through the C interface.
#include "recorder_fixture.h"

#include <cstring>

namespace {

using OpenIdentify = RecorderTest;

// Nothing attached, then only a recorder whose ids the table lacks: nothing
// is found, opened or written.
TEST_F(OpenIdentify, NothingKnownAttached) {
    for (bool unknown : {false, true}) {
        // No model 003 in the table.
        if (unknown)
            vsim::plug({.model = "", .vid = 0x3A7C, .pid = 0x0C03, .serial = "", .values = {}});
        char name[8] = "unset", code[8] = "unset";
        EXPECT_EQ(VX_CheckDevExist(), 0u);
        EXPECT_EQ(VX_ProbeDev(name), 0u);
        EXPECT_EQ(VX_ProbeDevEx(code), 0u);
        EXPECT_STREQ(name, "unset");
        EXPECT_EQ(VX_InitDev("VX001"), nullptr);
        EXPECT_EQ(VX_InitDevEx("3400001"), nullptr);
    }
}

// InitDevEx, like ProbeDevEx, looks only at the first recorder in table order.
TEST_F(OpenIdentify, ProbeReportsBusOrderProbeExAndInitDevExTableOrder) {
    plug("VX001", "1111111", 0);  // first on the bus
    plug("VX007", "7777777", 1);  // first in the model table
    char name[8] = {}, code[8] = {};
    EXPECT_EQ(VX_CheckDevExist(), 1u);
    EXPECT_EQ(VX_ProbeDev(name), 1u);
    EXPECT_STREQ(name, "VX001");
    EXPECT_EQ(VX_ProbeDevEx(code), 1u);
    EXPECT_STREQ(code, "7777777");
    EXPECT_EQ(VX_InitDevEx("1111111"), nullptr);  // the other recorder's code
    EXPECT_EQ(VX_InitDevEx("7777778"), nullptr);
    EXPECT_EQ(VX_InitDevEx(nullptr), nullptr);
    VestraInfo *dev = VX_InitDevEx("7777777");
    ASSERT_NE(dev, nullptr);
    EXPECT_STREQ(dev->model.name, "VX007");
    VX_UnInitDev(dev);
}

TEST_F(OpenIdentify, ProbeExOpensOnlyForTheQueryWithoutLogin) {
    int id = plug("VX005", "5555555");
    char code[8] = {};
    ASSERT_EQ(VX_ProbeDevEx(code), 1u);
    EXPECT_EQ(vsim::commands(id), std::vector<std::string>{"VX+GBIDCODE?\r\n"});
    auto calls = vsim::calls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), "close " + std::to_string(id));

    VestraInfo *dev = VX_InitDevEx("5555555");  // it can be opened again afterwards
    ASSERT_NE(dev, nullptr);
    EXPECT_STREQ(dev->idCode, "5555555");
    EXPECT_EQ(VX_CheckDevHandle(dev), 1u);
    VX_UnInitDev(dev);
    // Neither no record nor one never opened is a device handle.
    EXPECT_EQ(VX_CheckDevHandle(nullptr), 0u);
    VestraInfo blank{};
    EXPECT_EQ(VX_CheckDevHandle(&blank), 0u);
}

// Opening configures and claims without traffic; closing releases the
// interface that was claimed.
TEST_F(OpenIdentify, InitDevClaimsWithoutTrafficAndUnInitDevReleases) {
    int id = plug("VX004");
    VestraInfo *dev = VX_InitDev("VX004");
    ASSERT_NE(dev, nullptr);
    EXPECT_EQ(dev->model.vendorId, 0x3A7Cu);
    EXPECT_EQ(dev->model.productId, 0x0C04u);
    EXPECT_EQ(dev->model.interfaceNo, 2u);
    EXPECT_EQ(dev->model.bulkIn, 0x83u);
    EXPECT_EQ(dev->model.bulkOut, 0x02u);
    EXPECT_STREQ(dev->model.name, "VX004");
    EXPECT_EQ(dev->isLogin, 0);
    EXPECT_EQ(dev->idCode[0], '\0');
    EXPECT_EQ(dev->errNo, 0);
    EXPECT_EQ(dev->devNum, 0);
    EXPECT_TRUE(vsim::transfers().empty());
    const std::string sid = std::to_string(id);
    EXPECT_EQ(vsim::calls(),
              (std::vector<std::string>{"open " + sid, "set_configuration " + sid + " 1",
                                        "claim_interface " + sid + " 2"}));
    vsim::clear_record();
    VX_UnInitDev(dev);
    EXPECT_EQ(vsim::calls(),
              (std::vector<std::string>{"release_interface " + sid + " 2", "close " + sid}));
}

TEST_F(OpenIdentify, InitDevFailures) {
    EXPECT_EQ(VX_InitDev("VX003"), nullptr);  // not in the table
    EXPECT_EQ(VX_InitDev("vx001"), nullptr);  // names are case-sensitive
    EXPECT_EQ(VX_InitDev(nullptr), nullptr);
    EXPECT_EQ(VX_InitDev("VX001"), nullptr);  // in the table, not attached

    int id = plug("VX001");
    vsim::set_faults(id, {.reply_split = {}, .set_configuration_error = -5});
    EXPECT_EQ(VX_InitDev("VX001"), nullptr);
    vsim::set_faults(id, {.reply_split = {}, .claim_interface_error = -16});
    EXPECT_EQ(VX_InitDev("VX001"), nullptr);
    // Each failed open closed its handle again.
    int opens = 0, closes = 0;
    for (const auto &c : vsim::calls()) {
        opens += c.rfind("open ", 0) == 0;
        closes += c.rfind("close ", 0) == 0;
    }
    EXPECT_EQ(opens, 2);
    EXPECT_EQ(closes, 2);
}

TEST_F(OpenIdentify, IdCodeMustHaveFiveToSevenCharacters) {
    int id = plug("VX002");
    VestraInfo *dev = open("VX002");
    ASSERT_NE(dev, nullptr);
    char code[8];

    struct Case {
        const char *reply;
        uint32_t want;
        const char *code;
    } cases[] = {
        {"+GBIDCODE:12345\r\nOK\r\n", 1, "12345"},
        {"+GBIDCODE:1234567\r\nOK\r\n", 1, "1234567"},
        {"+GBIDCODE:1234\r\nOK\r\n", 0, nullptr},      // too short although OK
        {"+GBIDCODE:12345678\r\nOK\r\n", 0, nullptr},  // does not fit: refused, not cut
        {"+GBIDCODE:1234567890123456789012345\r\nOK\r\n", 0, nullptr},
        {"+GBIDCODE:12345\r\nError: busy\r\n", 0, nullptr},
        {"OK\r\n+GBIDCODE:12345", 0, nullptr},  // line end missing
        {"Error: para is error\r\n", 0, nullptr},
    };
    for (const auto &c : cases) {
        vsim::script(id, "VX+GBIDCODE?\r\n", c.reply);
        std::memset(code, '#', sizeof code);
        EXPECT_EQ(VX_GetIDCode(dev, code), c.want) << c.reply;
        if (c.code) {
            EXPECT_STREQ(code, c.code);
            EXPECT_STREQ(dev->idCode, c.code);
        } else {
            EXPECT_EQ(code[0], '#') << "output written on failure";
        }
        EXPECT_EQ(dev->errNo, 0) << "status untouched";
    }
    EXPECT_EQ(VX_GetIDCode(nullptr, code), 0u);
}

}  // namespace
