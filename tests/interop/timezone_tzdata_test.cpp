// The catalogue's names against the system's tzdata (/usr/share/zoneinfo):
// every Region/Location must be a real zone or link there, and each country
// code must agree with tzdata's zone.tab, apart from the known exceptions.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "support/tz_block.h"

using namespace tztest;

namespace {

const std::string kZoneinfo = "/usr/share/zoneinfo/";

// tzdata files Longyearbyen under Arctic/; the catalogue keeps Atlantic/.
const std::map<std::string, std::string> kFiledElsewhere = {
    {"Atlantic/Longyearbyen", "Arctic/Longyearbyen"}};

bool is_tzif(const std::string &name) {
    std::ifstream in(kZoneinfo + name, std::ios::binary);
    char magic[4] = {};
    return in.read(magic, 4) && std::string(magic, 4) == "TZif";
}

std::vector<std::vector<std::string>> read_table(const std::string &file, char sep) {
    std::ifstream in(kZoneinfo + file);
    EXPECT_TRUE(in) << kZoneinfo + file << " missing: is the tzdata package installed?";
    std::vector<std::vector<std::string>> rows;
    std::string line, field;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> row;
        std::istringstream fields(line);
        while (std::getline(fields, field, sep))
            if (!field.empty()) row.push_back(field);
        rows.push_back(row);
    }
    return rows;
}

// tzdata.zi lines "Z name ..." (zones) and "L target name" (links).
struct Names {
    std::set<std::string> zones;
    std::map<std::string, std::string> links;
};

Names tzdata_names() {
    Names n;
    for (const auto &row : read_table("tzdata.zi", ' ')) {
        if (row.size() >= 2 && row[0] == "Z") n.zones.insert(row[1]);
        if (row.size() >= 3 && row[0] == "L") n.links[row[2]] = row[1];
    }
    return n;
}

}  // namespace

TEST(TimeZoneTzdata, EveryNameIsAZoneOrLinkExceptLongyearbyen) {
    Names tz = tzdata_names();
    ASSERT_FALSE(tz.zones.empty());
    for (const Zone &z : zones(Block())) {
        std::string name = z.name();
        auto moved = kFiledElsewhere.find(name);
        if (moved != kFiledElsewhere.end()) {
            // The exception must still be one: gone from Atlantic/, present under Arctic/.
            EXPECT_FALSE(is_tzif(name)) << name << " is now in tzdata: drop the exception";
            EXPECT_TRUE(is_tzif(moved->second)) << moved->second;
            continue;
        }
        EXPECT_TRUE(is_tzif(name)) << name << " is not a zone file under " << kZoneinfo;
        EXPECT_TRUE(tz.zones.count(name) || tz.links.count(name)) << name << " not in tzdata.zi";
    }
}

TEST(TimeZoneTzdata, LegacyNamesAreTzdataLinks) {
    // Names tzdata keeps only as links to the zone now in use (Rangoon ->
    // Yangon, Kiev -> Kyiv, Godthab -> Nuuk, ...). Newer tzdata may add more.
    const std::set<std::string> legacy = {
        "Asia/Harbin",           "Asia/Chongqing",        "Asia/Kashgar",
        "Asia/Rangoon",          "Asia/Choibalsan",       "America/St_Barthelemy",
        "America/Kralendijk",    "America/Montreal",      "America/Nipigon",
        "America/Thunder_Bay",   "America/Pangnirtung",   "America/Rainy_River",
        "America/Yellowknife",   "America/Godthab",       "America/Marigot",
        "America/Santa_Isabel",  "America/Lower_Princes", "America/Shiprock",
        "Antarctica/South_Pole", "Australia/Currie",      "Europe/Mariehamn",
        "Europe/Podgorica",      "Europe/Bratislava",     "Europe/San_Marino",
        "Europe/Kiev",           "Europe/Uzhgorod",       "Europe/Zaporozhye",
        "Europe/Vatican",        "Pacific/Enderbury",     "Pacific/Johnston"};
    Names tz = tzdata_names();
    std::set<std::string> linked;
    for (const Zone &z : zones(Block()))
        if (tz.links.count(z.name())) linked.insert(z.name());
    for (const std::string &name : legacy)
        EXPECT_TRUE(linked.count(name)) << name << " is no longer a tzdata link";
    for (const std::string &name : linked)
        if (!legacy.count(name)) std::cout << "  also a tzdata link now: " << name << "\n";
}

TEST(TimeZoneTzdata, CodesAgreeWithZoneTab) {
    // Pairings the catalogue keeps as callers know them though tzdata differs.
    const std::map<std::string, std::string> kept = {{"CY Asia/Tbilisi", "GE"},
                                                     {"GE Asia/Thimphu", "BT"},
                                                     {"CD Africa/Gaborone", "BW"},
                                                     {"CF Africa/Lubumbashi", "CD"},
                                                     {"AQ Antarctica/Macquarie", "AU"}};
    std::map<std::string, std::set<std::string>> tab;
    for (const auto &row : read_table("zone.tab", '\t'))
        if (row.size() >= 3) tab[row[2]].insert(row[0]);
    std::set<std::string> iso;
    for (const auto &row : read_table("iso3166.tab", '\t'))
        if (!row.empty()) iso.insert(row[0]);

    std::map<std::string, std::string> differing;
    std::size_t compared = 0;
    for (const Zone &z : zones(Block())) {
        EXPECT_TRUE(iso.count(z.code)) << z.code << " is not an ISO 3166 code";
        auto moved = kFiledElsewhere.find(z.name());
        auto row = tab.find(moved != kFiledElsewhere.end() ? moved->second : z.name());
        if (row == tab.end()) continue;  // a legacy link: zone.tab lists current names only
        ++compared;
        if (!row->second.count(z.code)) differing[z.code + " " + z.name()] = *row->second.begin();
    }
    EXPECT_EQ(differing, kept);
    EXPECT_GT(compared, 380u);
}
