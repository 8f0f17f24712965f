// The virtual recorders must be the models the library knows, row for row:
// a drift between the tables would make every virtual test pass against ids
// no real recorder has.
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

}  // namespace
