// The virtual bus's contract with the library's tests: the fault kinds they
// arm must act as armed. A fault that silently stopped acting would let the
// library test that relies on it pass against a healthy device.
#include "transport/models.h"

#include <gtest/gtest.h>

#include <string>

#include "vsim.h"

namespace {

struct SimBus : ::testing::Test {
    void SetUp() override {
        vsim::reset();
        usb_init();
        usb_find_busses();
    }
    void TearDown() override {
        if (h) usb_close(h);
        vsim::reset();
    }
    static struct usb_device *find(int devnum) {
        for (usb_bus *b = usb_get_busses(); b; b = b->next)
            for (struct usb_device *d = b->devices; d; d = d->next)
                if (d->devnum == devnum) return d;
        return nullptr;
    }
    // Plugs a recorder (or takes one plugged) and opens it as the library does.
    void open(int id) {
        if (h) usb_close(h);
        usb_find_devices();
        h = usb_open(find(vsim::devnum(id)));
        ASSERT_NE(h, nullptr);
        ASSERT_EQ(usb_set_configuration(h, 1), 0);
        ASSERT_EQ(usb_claim_interface(h, 0), 0);
    }
    int plug(const char *model = "VX001") {
        int id = vsim::plug({.model = model, .serial = "AAA_1", .values = {}});
        open(id);
        return id;
    }
    int write(const std::string &s) {
        return usb_bulk_write(h, 0x01, s.data(), static_cast<int>(s.size()), 1000);
    }
    int read(int size = 64) { return usb_bulk_read(h, 0x81, buf, size, 1000); }
    // A line written and its whole reply read.
    void exchange(const std::string &s) {
        write(s);
        while (read() > 0) {}
    }

    usb_dev_handle *h = nullptr;
    char buf[2048];
};

// Faults: the replug does not give the device a new number (the library could
// not tell it from the same device); a delayed fault acting before its
// transfer, or dropping the faults armed before it.
TEST_F(SimBus, ReplugAndDelayedFaults) {
    int a = plug();
    vsim::set_faults(a, {.reply_split = {3}});
    // Write, first reply packet, then gone.
    vsim::set_faults(a, {.reply_split = {}, .replug_now = true, .from_transfer = 3});
    EXPECT_EQ(write("VX+GBIDCODE?\r\n"), 14);
    EXPECT_EQ(read(), 3);  // split still armed
    EXPECT_EQ(read(), vsim::kNoDevice);
    int b = vsim::replugged_as(a);
    ASSERT_GT(b, a);
    EXPECT_EQ(vsim::devnum(b), 2);
}

// Faults: a stale stream that ends or completes a reply (the library's read
// bound would never be reached); empty packets that carry data; a power-off
// that leaves the bus without being asked to, or before its reply. (A write
// chunk or reply split not honoured fails the transport tests' exact counts.)
TEST_F(SimBus, ReadAndWriteFaultsActAsArmed) {
    int id = plug();
    vsim::set_faults(id, {.reply_split = {}, .stale_stream = true});
    EXPECT_EQ(write("VX+GBIDCODE?\r\n"), 14);
    for (int i = 0; i < 300; ++i) {
        ASSERT_EQ(read(sizeof buf), 512);  // a full packet, every time
        std::string got(buf, 512);
        ASSERT_EQ(got.find("OK\r\n"), std::string::npos);
        ASSERT_EQ(got.find("Error:"), std::string::npos);
    }
    vsim::set_faults(id, {.reply_split = {}, .zero_length_reads = true});
    for (int i = 0; i < 20; ++i) ASSERT_EQ(read(), 0);
    vsim::set_faults(id, {});
    EXPECT_EQ(read(), 23);  // "+GBIDCODE:3400001\r\nOK\r\n" waited behind the faults

    vsim::set_faults(id, {.reply_split = {}, .leave_on_power_off = true});
    exchange("VX+LOGINPWD=PWD0001\r\n");
    EXPECT_EQ(write("VX+POWEROFF=1\r\n"), 15);
    EXPECT_GT(read(), 0);  // its reply first
    EXPECT_EQ(write("VX+BATVAL?\r\n"), vsim::kNoDevice);

    id = plug();  // without the fault it stays
    exchange("VX+LOGINPWD=PWD0001\r\n");
    exchange("VX+POWEROFF=1\r\n");
    EXPECT_EQ(write("VX+BATVAL?\r\n"), 12);
}

}  // namespace
