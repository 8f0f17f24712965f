// The lines operations leave in the log.
#include <string>

#include "log/log_reader.h"

namespace {

using OperationLines = logtest::LogLines;

TEST_F(OperationLines, RefusalsAndFailedOpens) {
    VX_Cmd(nullptr, "888888", "VX+UID?\r\n");
    EXPECT_TRUE(logged("] No Find Device\n"));
    EXPECT_EQ(VX_InitDev("VX999"), nullptr);
    EXPECT_TRUE(logged("] GetPidVid Failed\n"));
    EXPECT_EQ(VX_InitDev("VX001"), nullptr);
    EXPECT_TRUE(logged("] error opening device: \n"));
    VestraInfo closed{};
    VX_Cmd(&closed, "888888", "VX+UID?\r\n");
    EXPECT_TRUE(logged("] Device not Open\n"));
}

TEST_F(OperationLines, TransfersAndBusWalk) {
    plug("VX001", "1234567");
    char code[8];
    ASSERT_EQ(VX_ProbeDevEx(code), 1u);
    std::string text = log();
    EXPECT_NE(text.find(" [CheckPidVidExist]: bus:  dirname=001,location=1\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find("[CheckPidVidExist]:  5E31:0001 ,filename=001,devnum=1 ,num_children=0 \n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("[Open_Device]: success: device 0001:5E31 opened\n"), std::string::npos);
    EXPECT_NE(text.find("[Open_Device]: success: set configuration #1\n"), std::string::npos);
    EXPECT_NE(text.find("[Open_Device]: success: claim_interface #0\n"), std::string::npos);
    EXPECT_NE(text.find("[WriteFullDev]: usb_bulk_write VX+GBIDCODE?\r\n \n"), std::string::npos);
    EXPECT_NE(text.find("[ReadFullDev]: readbuf [23]:+GBIDCODE:1234567\r\nOK\r\n\n"),
              std::string::npos);
}

}  // namespace
