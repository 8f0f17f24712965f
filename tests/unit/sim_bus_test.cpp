// Self-test of the virtual bus: the libusb behaviour the library relies on.
#include "transport/models.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

#include "vsim.h"

namespace {

struct SimBus : ::testing::Test {
    void SetUp() override {
        vsim::reset();
        usb_init();
        usb_find_busses();
    }
    void TearDown() override { vsim::reset(); }

    static int plug(const std::string &model, int bus, const std::string &serial) {
        vsim::DeviceSpec s;
        s.model = model;
        s.bus = bus;
        s.serial = serial;
        return vsim::plug(s);
    }
    static struct usb_device *find(uint8_t devnum, const char *dirname = "001") {
        for (usb_bus *b = usb_get_busses(); b; b = b->next)
            for (struct usb_device *d = b->devices; d; d = d->next)
                if (d->devnum == devnum && std::string(b->dirname) == dirname) return d;
        return nullptr;
    }
    // Opens and claims the device, as the library does.
    static usb_dev_handle *open(int id, int interface = 0) {
        usb_find_devices();
        usb_dev_handle *h = usb_open(find(static_cast<uint8_t>(vsim::devnum(id))));
        if (h && (usb_set_configuration(h, 1) < 0 || usb_claim_interface(h, interface) < 0)) {
            usb_close(h);
            return nullptr;
        }
        return h;
    }
    static int write(usb_dev_handle *h, const std::string &s) {
        return usb_bulk_write(h, 0x01, s.data(), static_cast<int>(s.size()), 1000);
    }
    // Everything the device has queued, read in reads of `size` bytes.
    static std::string read_all(usb_dev_handle *h, int size = 512) {
        std::string all;
        char buf[4096];
        int n;
        while ((n = usb_bulk_read(h, 0x81, buf, size, 1000)) > 0)
            all.append(buf, static_cast<std::size_t>(n));
        EXPECT_EQ(n, vsim::kTimedOut);
        return all;
    }
    static std::string exchange(usb_dev_handle *h, const std::string &cmd) {
        EXPECT_EQ(write(h, cmd), static_cast<int>(cmd.size()));
        return read_all(h);
    }
};

TEST_F(SimBus, ListsFollowPlugAndUnplugAtTheNextRescan) {
    int bus = vsim::add_bus("002", 7);
    ASSERT_NE(usb_get_busses(), nullptr);  // visible without usb_find_busses
    EXPECT_STREQ(usb_get_busses()->dirname, "002");
    EXPECT_EQ(usb_get_busses()->location, 7u);

    int a = plug("VX007", bus, "AAA_1"), b = plug("VX006", bus, "BBB_0");
    EXPECT_EQ(vsim::devnum(a), 1);
    EXPECT_EQ(vsim::devnum(b), 2);
    EXPECT_EQ(usb_get_busses()->devices, nullptr);  // not before the rescan
    EXPECT_EQ(usb_find_devices(), 2);
    EXPECT_EQ(usb_find_devices(), 0);

    struct usb_device *da = find(1, "002");
    ASSERT_NE(da, nullptr);
    EXPECT_EQ(da->next, find(2, "002"));  // plug order
    EXPECT_STREQ(da->filename, "001");
    EXPECT_EQ(da->descriptor.bLength, 18);
    EXPECT_EQ(da->descriptor.idVendor, 0x3A7C);
    EXPECT_EQ(da->descriptor.idProduct, 0x0C07);
    EXPECT_EQ(da->bus, usb_get_busses());
    EXPECT_EQ(da->num_children, 0);

    usb_dev_handle *h = usb_open(da);
    ASSERT_NE(h, nullptr);
    char serial[8];
    EXPECT_EQ(usb_get_string_simple(h, da->descriptor.iSerialNumber, serial, sizeof serial), 5);
    EXPECT_STREQ(serial, "AAA_1");
    EXPECT_EQ(usb_get_string_simple(h, 3, serial, 4), 3);  // bounded by the buffer
    EXPECT_STREQ(serial, "AAA");

    vsim::unplug(a);
    EXPECT_EQ(write(h, "VX+GBIDCODE?\r\n"), vsim::kNoDevice);  // at once
    EXPECT_EQ(find(1, "002"), da);                             // still listed until the rescan
    EXPECT_EQ(usb_find_devices(), 1);
    EXPECT_EQ(find(1, "002"), nullptr);
    EXPECT_EQ(da->descriptor.idProduct, 0x0C07);  // the struct stays valid
    EXPECT_EQ(usb_open(da), nullptr);
    EXPECT_EQ(usb_close(h), 0);

    int c = plug("VX001", bus, "CCC_1");
    EXPECT_EQ(vsim::devnum(c), 1);  // lowest free number
    usb_find_devices();
    EXPECT_EQ(usb_get_busses()->devices->devnum, 2);  // b first, then c
    EXPECT_EQ(usb_get_busses()->devices->next->devnum, 1);
}

// Faults: a replug under the old device number (the library could not tell
// it from the same device); plug_again while the old struct is still listed
// (the library would never see the removal); a delayed fault acting before
// its transfer or the faults armed before it dropped early.
TEST_F(SimBus, ReplugAndDelayedFaults) {
    int a = plug("VX001", 0, "AAA_1");
    usb_dev_handle *h = open(a);
    ASSERT_NE(h, nullptr);
    vsim::Faults split;
    split.reply_split = {3};
    vsim::set_faults(a, split);
    vsim::Faults later;
    later.replug_now = true;
    later.from_transfer = 3;  // write, first reply packet, then gone
    vsim::set_faults(a, later);
    EXPECT_EQ(write(h, "VX+GBIDCODE?\r\n"), 14);
    char buf[64];
    EXPECT_EQ(usb_bulk_read(h, 0x81, buf, sizeof buf, 1000), 3);  // split still armed
    EXPECT_EQ(usb_bulk_read(h, 0x81, buf, sizeof buf, 1000), vsim::kNoDevice);
    int b = vsim::replugged_as(a);
    ASSERT_GT(b, a);
    EXPECT_EQ(vsim::devnum(a), 1);
    EXPECT_EQ(vsim::devnum(b), 2);
    usb_close(h);

    usb_find_devices();
    vsim::unplug(b);
    EXPECT_FALSE(vsim::plug_again(b));  // still on the list until the rescan
    usb_find_devices();
    struct usb_device *old = find(2);
    EXPECT_EQ(old, nullptr);
    ASSERT_TRUE(vsim::plug_again(b));
    EXPECT_EQ(vsim::devnum(b), 1);      // lowest free number (a left too)
    EXPECT_FALSE(vsim::plug_again(b));  // plugged already
    h = open(b);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(exchange(h, "VX+GBIDCODE?\r\n"), "+GBIDCODE:3400001\r\nOK\r\n");
    usb_close(h);
}

TEST_F(SimBus, PipesFrameCommandsAndSplitReplies) {
    int id = plug("VX007", 0, "S_1");
    usb_dev_handle *h = open(id);
    ASSERT_NE(h, nullptr);
    char buf[16];
    EXPECT_EQ(usb_bulk_read(h, 0x81, buf, sizeof buf, 1000), vsim::kTimedOut);
    EXPECT_LT(usb_bulk_read(h, 0x82, buf, sizeof buf, 1000), 0);
    EXPECT_LT(usb_bulk_write(h, 0x02, "x", 1, 1000), 0);

    // Two lines in one write; one line over two writes.
    EXPECT_EQ(exchange(h, "VX+GBIDCODE?\r\nVX+LOGINID?\r\n"),
              "+GBIDCODE:3400001\r\nOK\r\n+LOGINID:LID0001\r\nOK\r\n");
    EXPECT_EQ(write(h, "VX+GBID"), 7);
    EXPECT_EQ(usb_bulk_read(h, 0x81, buf, 5, 1000), 5);  // unterminated: taken as is
    EXPECT_EQ(std::string(buf, 5), "Error");
    read_all(h);
    EXPECT_EQ(vsim::commands(id).back(), "VX+GBID");

    vsim::Faults f;
    f.write_chunk = 4;
    f.reply_split = {3, 5};
    vsim::set_faults(id, f);
    std::string cmd = "VX+GBIDCODE?\r\n";
    for (std::size_t at = 0; at < cmd.size(); at += 4)
        EXPECT_EQ(write(h, cmd.substr(at)),
                  static_cast<int>(std::min<std::size_t>(4, cmd.size() - at)));
    EXPECT_EQ(vsim::commands(id).back(), cmd);
    int sizes[] = {3, 5, 5, 5};  // the last size repeats
    for (int n : sizes) EXPECT_EQ(usb_bulk_read(h, 0x81, buf, sizeof buf, 1000), n);
    EXPECT_EQ(usb_bulk_read(h, 0x81, buf, 2, 1000), 2);  // what does not fit stays queued
    EXPECT_EQ(usb_bulk_read(h, 0x81, buf, sizeof buf, 1000), 3);
    EXPECT_EQ(usb_bulk_read(h, 0x81, buf, sizeof buf, 1000), vsim::kTimedOut);

    vsim::queue_stale(id, "+OLD:x\r\n");
    EXPECT_EQ(usb_bulk_read(h, 0x81, buf, sizeof buf, 100), 3);
    usb_close(h);

    auto t = vsim::transfers();
    ASSERT_FALSE(t.empty());
    EXPECT_EQ(t.back().kind, vsim::Transfer::Read);
    EXPECT_EQ(t.back().timeout, 100);
    EXPECT_EQ(t.back().data, "+OL");
    EXPECT_EQ(vsim::calls().front(), "open 1");
    EXPECT_EQ(vsim::calls()[1], "set_configuration 1 1");
    EXPECT_EQ(vsim::calls()[2], "claim_interface 1 0");
    EXPECT_EQ(vsim::calls().back(), "close 1");
}

TEST_F(SimBus, RealtimeReadWaitsForDataOrTimeout) {
    int id = plug("VX007", 0, "S_1");
    usb_dev_handle *h = open(id);
    vsim::set_realtime(true);
    char buf[64];
    auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(usb_bulk_read(h, 0x81, buf, sizeof buf, 50), vsim::kTimedOut);
    EXPECT_GE(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(50));
    std::thread late([id] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        vsim::queue_stale(id, "late");
    });
    EXPECT_EQ(usb_bulk_read(h, 0x81, buf, sizeof buf, 5000), 4);
    late.join();
    usb_close(h);
}

TEST_F(SimBus, ScenarioFilesLoadOrFailWhole) {
    std::string path = ::testing::TempDir() + "sim_bus_test.json";
    std::ofstream(path) << R"({"busses": [{"dirname": "003", "location": 3}],
        "devices": [{"name": "a", "model": "VX005", "serial": "Q_1", "values": {"DEVNAME": "cam"},
                     "script": {"VX+X?\r\n": "+X:1\r\nOK\r\n"}},
                    {"name": "b", "vid": "0x1234", "pid": 5, "plugged": false}],
        "events": [{"at_ms": 0, "action": "plug", "device": "b"},
                   {"at_ms": 10, "action": "unplug", "device": "a"}]})";
    std::string error;
    ASSERT_TRUE(vsim::load_scenario(path, &error)) << error;
    EXPECT_EQ(vsim::value(1, "DEVNAME"), "cam");
    usb_find_devices();
    ASSERT_NE(find(1, "003"), nullptr);
    EXPECT_EQ(find(1, "003")->descriptor.idProduct, 0x0C05);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < deadline && (!find(2, "003") || find(1, "003"))) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        usb_find_devices();
    }
    ASSERT_NE(find(2, "003"), nullptr);
    EXPECT_EQ(find(2, "003")->descriptor.idVendor, 0x1234);
    EXPECT_EQ(find(1, "003"), nullptr);

    vsim::reset();
    std::ofstream(path) << R"({"devices": [{"name": "a", "model": "VX003"}]})";
    EXPECT_FALSE(vsim::load_scenario(path, &error));
    EXPECT_NE(error.find("VX003"), std::string::npos) << error;
    std::ofstream(path) << R"({"devices": [)";
    EXPECT_FALSE(vsim::load_scenario(path, &error));
    EXPECT_EQ(usb_get_busses(), nullptr);  // nothing applied
    std::remove(path.c_str());
}

}  // namespace
