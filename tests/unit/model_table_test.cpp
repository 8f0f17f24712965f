// The virtual recorders must be the models the library knows, row for row,
// and plugging one must show its row's descriptors: a drift between the
// tables would make every virtual test pass against ids no real recorder has.
#include <gtest/gtest.h>

#include <string>

#include "transport/models.h"
#include "vsim.h"

namespace {

TEST(ModelTable, VirtualRecordersMatchTheLibraryRows) {
    auto sim = vsim::models();
    std::size_t filled = 0;
    for (const DevModel &row : vx::DevModelTable) {
        if (row.vendorId == 0) continue;
        ++filled;
        SCOPED_TRACE(row.name);
        const vsim::ModelInfo *m = nullptr;
        for (const auto &s : sim)
            if (s.name == row.name) m = &s;
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->vid, row.vendorId);
        EXPECT_EQ(m->pid, row.productId);
        EXPECT_EQ(uint32_t(m->configuration), row.configuration);
        EXPECT_EQ(uint32_t(m->interface_no), row.interfaceNo);
        EXPECT_EQ(uint32_t(m->ep_in), row.bulkIn);
        EXPECT_EQ(uint32_t(m->ep_out), row.bulkOut);
    }
    EXPECT_EQ(filled, sim.size());
}

TEST(ModelTable, PluggedRecordersShowTheirRow) {
    vsim::reset();
    usb_init();
    usb_find_busses();
    for (const vsim::ModelInfo &m : vsim::models()) {
        SCOPED_TRACE(m.name);
        vsim::DeviceSpec spec;
        spec.model = m.name;
        int id = vsim::plug(spec);
        ASSERT_GT(id, 0);
        usb_find_devices();
        struct usb_device *d = nullptr;
        for (struct usb_device *x = usb_get_busses()->devices; x; x = x->next)
            if (x->devnum == vsim::devnum(id)) d = x;
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->descriptor.idVendor, m.vid);
        EXPECT_EQ(d->descriptor.idProduct, m.pid);
        EXPECT_EQ(d->config->bConfigurationValue, m.configuration);
        const usb_interface_descriptor &a = d->config->interface->altsetting[0];
        EXPECT_EQ(a.bInterfaceNumber, m.interface_no);
        EXPECT_EQ(a.endpoint[0].bEndpointAddress, m.ep_in);
        EXPECT_EQ(a.endpoint[1].bEndpointAddress, m.ep_out);
    }
    vsim::reset();
}

}  // namespace
