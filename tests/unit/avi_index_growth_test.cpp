// The index rebuilt by scanning: it grows geometrically and never beyond what
// the file's bytes can hold, so a hostile file of many empty chunks costs
// linear time and bounded memory.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "media/avi.h"
#include "media/avi_index.h"
#include "unit/avi_builder.h"

namespace {

using testavi::FrameSpec;

TEST(AviIndexGrowth, DoublesAndStopsAtTheBound) {
    EXPECT_EQ(vx::NextIndexCapacity(0, 1u << 20), 4096u);
    std::size_t cap = 0;
    int steps = 0;
    const std::size_t bound = 10'000'000;
    while (cap < bound) {
        std::size_t next = vx::NextIndexCapacity(cap, bound);
        ASSERT_GT(next, cap);
        ASSERT_LE(next, bound);
        if (next < bound) {
            ASSERT_GE(next, cap * 2) << "growth must be geometric";
        }
        cap = next;
        ++steps;
    }
    EXPECT_LE(steps, 13);  // 4096 doubled up to ten million: logarithmic
    // Below the first step, a small file gets only what it can hold.
    EXPECT_EQ(vx::NextIndexCapacity(0, 10), 10u);
    // At the bound, one more (the scan ends before it is used).
    EXPECT_EQ(vx::NextIndexCapacity(10, 10), 11u);
}

TEST(AviIndexGrowth, ManyEmptyChunksAreAllIndexedWithinTheFilesBound) {
    const std::size_t n = 200'000;
    // No idx1: the index is rebuilt by scanning.
    testavi::Built b = testavi::build_avi(
        {.index = testavi::Index::none, .frames = std::vector<FrameSpec>(n, {"00dc", 0, 0})});
    auto r = vx::AVI_open_input_stream(
        std::make_unique<std::istringstream>(std::string(b.bytes.begin(), b.bytes.end())));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->video_frames, int32_t(n));
    EXPECT_GE(r->idx.size(), n);
    const std::size_t bound = (b.bytes.size() - b.movi) / 8;
    EXPECT_LE(r->idx.capacity(), bound);
}

}  // namespace
