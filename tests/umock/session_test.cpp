// A recorder opened by model, identified, logged in and asked one value,
// through the shipped library on the system's libusb 0.1: the URBs, claims
// and string reads are the real library's, their answers umockdev's.
#include <cstring>
#include <memory>

#include "LibVestra.h"
#include "umock/testbed.h"
#include "umock/umock_fixture.h"

namespace umock {
namespace {

// MD5 of "abc" (RFC 1321 suite), as the library writes a digest.
constexpr const char *kPassword = "abc";
constexpr const char *kDigest = "900150983CD24FB0D6963F7D28E17F72";

class RealLibusb : public ::testing::Test {
protected:
    void SetUp() override {
        if (!InChild()) return;
        VX_SetLibLog(VX_LOG_OFF);
        testbed_ = std::make_unique<Testbed>();
        ASSERT_TRUE(testbed_->Plug(recorder_, false));
        dev_.reset(VX_InitDev("VX006"));
        ASSERT_NE(nullptr, dev_);
    }

    // Model VX006: interface 2, bulk IN 0x83, OUT 0x02, so that endpoints or
    // an interface taken from anywhere but the model's row show.
    UsbfsDevice recorder_{{.vendor = 0x3A7C,
                           .product = 0x0C06,
                           .bulk_in = 0x83,
                           .bulk_out = 0x02,
                           .interface_no = 2,
                           .devnum = 5,
                           .serial = "A1234567_1"},
                          {.digest = kDigest}};
    std::unique_ptr<Testbed> testbed_;
    // The recorder opened by model, given back at the end.
    std::unique_ptr<VestraInfo, decltype(&VX_UnInitDev)> dev_{nullptr, VX_UnInitDev};
};

// Faults: the suite quietly running on the virtual bus (or another libusb)
// instead of the system's libusb 0.1.
TEST_F(RealLibusb, TheLibraryRunsOnTheSystemLibusb) {
    if (RunUnderUmockdev()) return;
    EXPECT_EQ(SystemLibusb(), LoadedLibusb());
}

// Faults: configuration, interface or endpoints not the model's; a command
// split or padded on the wire; the digest not MD5 in upper case; a reply
// read past its URB or not reaped; payloads or status numbers wrong; the
// release of a record not logging out or releasing another interface.
TEST_F(RealLibusb, OpenIdentifyLoginAndGet) {
    if (RunUnderUmockdev()) return;
    EXPECT_EQ(std::vector<int>{1}, recorder_.Seen().configurations);
    EXPECT_EQ(std::vector<int>{2}, recorder_.Seen().claims);
    EXPECT_EQ(1, VX_CheckDevHandle(dev_.get()));

    char id[VX_ID_CODE_LEN] = {};
    EXPECT_EQ(1u, VX_GetIDCode(dev_.get(), id));
    EXPECT_STREQ("3400001", id);
    EXPECT_EQ(0, VX_IsLogin(dev_.get()));

    char name[VX_TEXT_AREA] = {};
    EXPECT_EQ(1u, VX_GetDevName(dev_.get(), kPassword, name));
    EXPECT_STREQ("Patrol 7", name);
    EXPECT_EQ(VX_STATUS_OK, VX_GetErrNo(dev_.get()));
    EXPECT_EQ(1, VX_IsLogin(dev_.get()));

    std::vector<std::string> wire = {
        "VX+GBIDCODE?\r\n", std::string("VX+LOGIN=admin:") + kDigest + "\r\n", "VX+DEVNAME?\r\n"};
    EXPECT_EQ(wire, recorder_.Written());
    for (const Transfer &t : recorder_.Transfers())
        EXPECT_TRUE(t.endpoint == 0x83 || t.endpoint == 0x02) << int(t.endpoint);
    // Before each command the flush read times out: libusb discards its URB.
    EXPECT_GE(recorder_.Seen().discards, 3);

    dev_.reset();
    wire.push_back("VX+LOGOUT\r\n");
    EXPECT_EQ(wire, recorder_.Written());
    EXPECT_EQ(std::vector<int>{2}, recorder_.Seen().releases);
}

// Faults: a read time-out (libusb 0.1 on Linux: -ETIMEDOUT, its URB
// discarded) taken for a broken device and the record closed; the
// discarded URB's completion leaking into the next exchange.
TEST_F(RealLibusb, ASilentRecorderTimesOutAndStaysOpen) {
    if (RunUnderUmockdev()) return;
    recorder_.Silence("VX+DEVNAME?");  // sent first after the open
    char name[VX_TEXT_AREA] = {};
    EXPECT_EQ(0u, VX_GetDevName(dev_.get(), kPassword, name));
    EXPECT_EQ(VX_STATUS_FAILED, VX_GetErrNo(dev_.get()));
    EXPECT_STREQ("", VX_GetErrStr(dev_.get()));
    EXPECT_STREQ("", name);
    EXPECT_EQ(1, VX_CheckDevHandle(dev_.get()));

    char id[VX_ID_CODE_LEN] = {};
    EXPECT_EQ(1u, VX_GetIDCode(dev_.get(), id));
    EXPECT_STREQ("3400001", id);
}

// Faults: the -ENODEV of a vanished device not closing the record; a
// later operation reaching the bus instead of failing with -101.
TEST_F(RealLibusb, AnUnpluggedRecorderClosesItsRecord) {
    if (RunUnderUmockdev()) return;
    char id[VX_ID_CODE_LEN] = {};
    ASSERT_EQ(1u, VX_GetIDCode(dev_.get(), id));
    testbed_->Unplug(recorder_);

    char name[VX_TEXT_AREA] = {};
    EXPECT_EQ(0u, VX_GetDevName(dev_.get(), kPassword, name));
    EXPECT_EQ(VX_STATUS_NO_LOGIN, VX_GetErrNo(dev_.get()));  // the login met the gone device
    EXPECT_EQ(0, VX_CheckDevHandle(dev_.get()));
    EXPECT_EQ(0u, VX_GetDevName(dev_.get(), kPassword, name));
    EXPECT_EQ(VX_STATUS_NOT_OPEN, VX_GetErrNo(dev_.get()));
    EXPECT_STREQ("Device not Open", VX_GetErrStr(dev_.get()));
    EXPECT_EQ(std::vector<std::string>{"VX+GBIDCODE?\r\n"}, recorder_.Written());
}

}  // namespace
}  // namespace umock
