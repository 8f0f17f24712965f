// The time-zone catalogue through the C interface: the block's layout, the
// listed rows, both lookups and their edge cases, and concurrent use.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstddef>
#include <cstring>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "LibVestra.h"
#include "support/log_capture.h"
#include "support/tz_block.h"

using namespace tztest;

namespace {

// The result, then the region, country and city indexes.
using Found = std::array<int32_t, 4>;

Found find(const char *name) {
    Found f{-7, -7, -7, -7};
    f[0] = GetTimeZoneIndex(name, &f[1], &f[2], &f[3]);
    return f;
}

std::string text(int32_t r, int32_t c, int32_t z, int32_t *result = nullptr) {
    char out[VX_TZ_TEXT_MIN] = {};
    int32_t got = GetTimeZoneStr(r, c, z, out);
    if (result != nullptr) *result = got;
    return std::string(out, ::strnlen(out, sizeof out));
}

// Lookups with their answers: a few found names, then the near misses.
struct Lookup {
    std::string name;
    Found want;
};
const Lookup kLookups[] = {
    {"America/Argentina/Buenos_Aires", {1, 1, 2, 0}},
    {"Asia/Shanghai", {1, 0, 9, 0}},
    {"Europe/Kiev", {1, 6, 47, 0}},
    {"America/Indiana/Knox", {1, 1, 47, 11}},
    {"Atlantic/Longyearbyen", {1, 5, 9, 0}},
    {"Indian/Mayotte", {1, 8, 10, 0}},
    // Exact, case-sensitive match of both parts.
    {"asia/Shanghai", {0, -1, -1, 1}},
    {"Europe/kiev", {0, 6, -1, 1}},
    {"Asia/Shangha", {0, 0, -1, 1}},
    {"Asia/ShanghaiX", {0, 0, -1, 1}},
    {"Asia/Shanghai ", {0, 0, -1, 1}},
    {"Asi/Shanghai", {0, -1, -1, 1}},
    // A region alone, or with an empty location, finds no zone.
    {"Europe", {0, 6, -1, 1}},
    {"Europe/", {0, 6, -1, 1}},
    {"", {0, -1, -1, 1}},
    {"/Kiev", {0, -1, -1, 1}},
    // The code is not part of a name: GetTimeZoneStr's text is not found.
    {"CN/Asia/Shanghai", {0, -1, -1, 1}},
    // A location under the wrong region.
    {"Europe/Shanghai", {0, 6, -1, 1}},
    // Parts wider than their fields, or near misses of them, match nothing.
    {"Antarctica1/McMurdo", {0, -1, -1, 1}},
    {"Asia/" + std::string(28, 'x'), {0, 0, -1, 1}},
    {"Europe/Kiev" + std::string(600, 'x'), {0, 6, -1, 1}},
    {std::string(600, 'A'), {0, -1, -1, 1}},
};

}  // namespace

// First, so that in a fresh process the block is built under contention.
TEST(TimeZoneThreads, ConcurrentFirstUseGivesTheSameAnswersEverywhere) {
    std::vector<int> faults(8, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&, t] {
            std::vector<unsigned char> copy(kBlock);
            for (int round = 0; round < 200; ++round) {
                const Lookup &l = kLookups[std::size_t(t + round) % std::size(kLookups)];
                if (!(find(l.name.c_str()) == l.want)) ++faults[t];
                if (text(0, 9, 0) != "CN/Asia/Shanghai") ++faults[t];
                if (round % 50 == 0) {
                    GetAllTimeZone(copy.data());
                    if (std::memcmp(copy.data() + 4, "Asia", 5) != 0) ++faults[t];
                }
            }
        });
    }
    for (auto &th : threads) th.join();
    for (int t = 0; t < 8; ++t) EXPECT_EQ(faults[t], 0) << "thread " << t;
}

TEST(TimeZoneBlock, CopiesExactlyTheBlockAndNothingBeyond) {
    std::vector<unsigned char> area(kBlock + 64, 0xA5);
    GetAllTimeZone(area.data());
    EXPECT_TRUE(
        std::all_of(area.begin() + kBlock, area.end(), [](unsigned char b) { return b == 0xA5; }));
    EXPECT_EQ(std::vector<unsigned char>(area.begin(), area.begin() + kBlock), Block().bytes);
    // The public structs overlay the same bytes.
    EXPECT_EQ(sizeof(TimeZoneRegion) * VX_TZ_REGIONS, std::size_t(VX_TZ_BLOCK_SIZE));
    EXPECT_EQ(sizeof(TimeZoneCountry), kCountry);
    EXPECT_EQ(sizeof(TimeZoneCity), kZone);
    EXPECT_EQ(offsetof(TimeZoneRegion, countries), 16u);
    EXPECT_EQ(offsetof(TimeZoneCountry, cities), 28u);
}

TEST(TimeZoneBlock, SlotsFollowTheLayoutInvariants) {
    Block b;
    std::size_t longest_location = 0, longest_region = 0;
    auto zeros = [&](std::size_t off, std::size_t size) {
        return std::all_of(b.bytes.begin() + off, b.bytes.begin() + off + size,
                           [](unsigned char x) { return x == 0; });
    };
    // A slot of `size` bytes at `off`, its text `width` bytes at 4. Filled:
    // index = position, text zero-padded; from the first empty one on (the
    // text empty) `ended`, and all zero.
    auto filled = [&](std::size_t off, std::size_t size, std::size_t width, std::size_t index,
                      bool &ended) {
        const std::size_t n = ::strnlen(reinterpret_cast<const char *>(&b.bytes[off + 4]), width);
        ended = ended || n == 0;
        if (ended) {
            EXPECT_TRUE(zeros(off, size)) << "empty slot at " << off;
            return false;
        }
        EXPECT_EQ(b.int32_at(off), int32_t(index)) << off;
        EXPECT_LT(n, width) << "no terminator at " << off;
        EXPECT_TRUE(zeros(off + 4 + n, width - n)) << "padding at " << off;
        return true;
    };
    for (std::size_t r = 0; r < kRegions; ++r) {
        bool regions_ended = false, countries_ended = false;
        ASSERT_TRUE(filled(region_at(r), kRegion, 12, r, regions_ended));
        longest_region = std::max(longest_region, b.region_name(r).size());
        for (std::size_t c = 0; c < kCountries; ++c) {
            if (!filled(country_at(r, c), kCountry, 24, c, countries_ended)) continue;
            std::string code = b.code(r, c);
            EXPECT_TRUE(code.size() == 2 && std::isupper(code[0]) && std::isupper(code[1])) << code;
            bool zones_ended = false;
            for (std::size_t z = 0; z < kZones; ++z)
                if (filled(zone_at(r, c, z), kZone, 28, z, zones_ended))
                    longest_location = std::max(longest_location, b.location(r, c, z).size());
            EXPECT_FALSE(b.location(r, c, 0).empty()) << "country without zones " << r << "/" << c;
        }
    }
    EXPECT_EQ(longest_location, 22u);  // Argentina/Rio_Gallegos
    EXPECT_EQ(longest_region, 10u);    // Antarctica
}

TEST(TimeZoneBlock, RegionsAndCountsAsListed) {
    struct Row {
        const char *name;
        int countries, zones;
    };
    const Row rows[] = {{"Asia", 51, 78},      {"America", 53, 148}, {"Africa", 50, 51},
                        {"Antarctica", 1, 11}, {"Australia", 1, 12}, {"Atlantic", 10, 11},
                        {"Europe", 49, 55},    {"Pacific", 28, 38},  {"Indian", 11, 11}};
    Block b;
    auto all = zones(b);
    EXPECT_EQ(all.size(), 415u);
    for (int r = 0; r < 9; ++r) {
        EXPECT_EQ(b.region_name(r), rows[r].name);
        int countries = 0, count = 0;
        for (const Zone &z : all)
            if (z.r == r) {
                ++count;
                countries = std::max(countries, z.c + 1);
            }
        EXPECT_EQ(countries, rows[r].countries) << rows[r].name;
        EXPECT_EQ(count, rows[r].zones) << rows[r].name;
    }
    // The first country of America, its code 20 bytes in (its index, 0 at
    // 16, is one of the slot invariants).
    EXPECT_EQ(b.text_at(kRegion + 20, 24), "AG");
}

// Every zone's text and every name's indexes agree with the block; a repeated
// name resolves to its first occurrence, and only the listed ones repeat.
TEST(TimeZoneLookup, EveryZoneRoundTrips) {
    std::map<std::string, std::string> shadowed;
    for (const Zone &z : zones(Block())) {
        int32_t result = 0;
        EXPECT_EQ(text(z.r, z.c, z.z, &result), z.code + "/" + z.name());
        EXPECT_EQ(result, 1);
        Found f = find(z.name().c_str());
        ASSERT_EQ(f[0], 1) << z.name();
        EXPECT_EQ(f[1], z.r);
        if (f[2] != z.c || f[3] != z.z)
            shadowed[z.name() + " " + std::to_string(z.c)] = std::to_string(f[2]);
    }
    std::map<std::string, std::string> want = {{"Asia/Kabul 3", "1"}, {"Asia/Thimphu 11", "8"}};
    EXPECT_EQ(shadowed, want);
}

TEST(TimeZoneLookup, IndexEdgeCases) {
    for (const Lookup &c : kLookups)
        EXPECT_EQ(find(c.name.c_str()), c.want) << "'" << c.name << "'";
}

TEST(TimeZoneLookup, IndexReadsAtMost511Characters) {
    // No terminator within the first 511 bytes: the lookup must stop there
    // (an address-sanitizer build catches a read past the allocation).
    std::vector<char> unterminated(511, 'x');
    std::memcpy(unterminated.data(), "Asia/", 5);
    EXPECT_EQ(find(unterminated.data()), (Found{0, 0, -1, 1}));
}

TEST(TimeZoneLookup, TextEdgeCases) {
    struct Case {
        int32_t r, c, z, result;
        const char *text;
    };
    const Case cases[] = {
        // Empty slots inside the ranges are not refused.
        {3, 1, 0, 1, "/Antarctica/"},
        {0, 0, 31, 1, "AE/Asia/"},
        {8, 53, 31, 1, "/Indian/"},
        // Out of range: result 0, the output untouched.
        {9, 0, 0, 0, "untouched"},
        {-1, 0, 0, 0, "untouched"},
        {0, 54, 0, 0, "untouched"},
        {0, -1, 0, 0, "untouched"},
        {0, 0, 32, 0, "untouched"},
        {0, 0, -1, 0, "untouched"},
        {INT32_MIN, INT32_MAX, 0, 0, "untouched"},
    };
    for (const Case &c : cases) {
        char out[VX_TZ_TEXT_MIN + 8];
        std::memset(out, '#', sizeof out);
        std::strcpy(out, "untouched");
        EXPECT_EQ(GetTimeZoneStr(c.r, c.c, c.z, out), c.result) << c.r << "," << c.c << "," << c.z;
        EXPECT_STREQ(out, c.text);
        // Nothing written past the terminator.
        std::size_t end = std::strlen(out) + 1;
        for (std::size_t i = std::max<std::size_t>(end, 10); i < sizeof out; ++i)
            ASSERT_EQ(out[i], '#') << "byte " << i << " for " << c.r << "," << c.c << "," << c.z;
    }
}

TEST(TimeZoneLookup, EveryTextFitsSixtyFourBytes) {
    for (int32_t r = 0; r < 9; ++r)
        for (int32_t c = 0; c < 54; ++c)
            for (int32_t z = 0; z < 32; ++z) {
                char out[VX_TZ_TEXT_MIN + 16];
                std::memset(out, '#', sizeof out);
                ASSERT_EQ(GetTimeZoneStr(r, c, z, out), 1);
                ASSERT_LT(std::strlen(out), std::size_t(VX_TZ_TEXT_MIN))
                    << r << "," << c << "," << z;
                ASSERT_EQ(out[VX_TZ_TEXT_MIN], '#');
            }
}

// Null pointers are refused, and no failure is logged.
TEST(TimeZoneLookup, NullPointersAndFailuresAreRefusedQuietly) {
    testsupport::LogCapture log;
    GetAllTimeZone(nullptr);
    EXPECT_EQ(GetTimeZoneStr(0, 9, 0, nullptr), 0);
    Found f{9, 9, 9, 9};
    EXPECT_EQ(GetTimeZoneIndex(nullptr, &f[1], &f[2], &f[3]), 0);
    EXPECT_EQ(f, (Found{9, -1, -1, 1}));
    EXPECT_EQ(GetTimeZoneIndex("Asia/Dubai", nullptr, &f[2], &f[3]), 0);
    EXPECT_EQ(GetTimeZoneIndex("Asia/Dubai", &f[1], nullptr, &f[3]), 0);
    EXPECT_EQ(GetTimeZoneIndex("Asia/Dubai", &f[1], &f[2], nullptr), 0);
    find("asia/Shanghai");
    find("Europe");
    text(9, 0, 0);
    GetTimeZoneIndex(nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(log.text(), "");
}
