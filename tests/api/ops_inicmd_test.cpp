// Breaking INI command texts into a UmsIniCmd record (no device).
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "LibVestra.h"

namespace {

// A zero-filled record whose value texts are released at the end.
struct Cmd : UmsIniCmd {
    Cmd() : UmsIniCmd() {}
    ~Cmd() { VX_ReleaseUmsIniCmd(this); }
    std::string value(int i) const { return items[i].valueText ? items[i].valueText : "<null>"; }
};

struct Entry {
    const char *key;
    int32_t kind;
    const char *value;
};  // value null: no value text

struct Case {
    std::string text;
    uint32_t result;
    int32_t op;
    const char *section;
    std::vector<Entry> entries;
};

TEST(IniCommand, Texts) {
    const Case cases[] = {
        {" Ne t . A pn = cm net ", 1, 1, "Net", {{"Apn", 2, "cmnet"}}},  // spaces anywhere
        {"Net.Apn=?", 1, 0, "Net", {{"Apn", 0, nullptr}}},
        {"Net.List+=a", 1, 3, "Net", {{"List", 2, "a"}}},
        {"Net.List-=a", 1, 4, "Net", {{"List", 2, "a"}}},
        {"Net.Apn=", 0, 0, "", {}},  // the first entry ends at its "="
        {"Net.A=1|.B=", 1, 1, "Net", {{"A", 2, "1"}, {"B", 2, ""}}},  // later: empty value taken
        // A later section is skipped.
        {"Net.Apn=x|Video.Rate=25", 1, 1, "Net", {{"Apn", 2, "x"}, {"Rate", 2, "25"}}},
        {"Net.Url=http://a.b.c|.X=1.5", 1, 1, "Net", {{"Url", 2, "http://a.b.c"}, {"X", 2, "1.5"}}},
        // The first entry's op rules.
        {"S.a=?|.b=1", 1, 0, "S", {{"a", 0, nullptr}, {"b", 0, nullptr}}},
        {"S.a=1|.b+=2|.c-=3", 1, 1, "S", {{"a", 2, "1"}, {"b", 2, "2"}, {"c", 2, "3"}}},
        {"S.a=1|x", 1, 1, "S", {{"a", 2, "1"}}},    // no dot behind the "|"
        {"S.a=1|.=2", 1, 1, "S", {{"a", 2, "1"}}},  // an empty key ends the parsing
        {"S.=1", 0, 0, "", {}},
        {"Sa=1", 0, 0, "", {}},
        {"S.a", 0, 0, "", {}},
        {"", 0, 0, "", {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        Cmd cmd;
        EXPECT_EQ(VX_UmsIniStr2IniCmd(c.text.c_str(), &cmd), c.result);
        EXPECT_EQ(cmd.op, c.op);
        EXPECT_STREQ(cmd.section, c.section);
        ASSERT_EQ(cmd.count, int32_t(c.entries.size()));
        for (std::size_t i = 0; i < c.entries.size(); ++i) {
            EXPECT_STREQ(cmd.items[i].keyName, c.entries[i].key) << i;
            EXPECT_EQ(cmd.items[i].kind, c.entries[i].kind) << i;
            EXPECT_EQ(cmd.value(int(i)), c.entries[i].value ? c.entries[i].value : "<null>") << i;
        }
        for (int i = int(c.entries.size()); i < VX_INI_ITEMS; ++i) {
            EXPECT_EQ(cmd.items[i].keyName[0], '\0') << i;
            EXPECT_EQ(cmd.items[i].valueText, nullptr) << i;
        }
    }
}

TEST(IniCommand, SeventeenEntriesFillSixteen) {
    std::string text = "S.k1=1";
    for (int i = 2; i <= 17; ++i) text += "|.k" + std::to_string(i) + "=" + std::to_string(i);
    Cmd cmd;
    EXPECT_EQ(VX_UmsIniStr2IniCmd(text.c_str(), &cmd), 1u);
    ASSERT_EQ(cmd.count, 16);
    EXPECT_STREQ(cmd.items[15].keyName, "k16");
    EXPECT_EQ(cmd.value(15), "16");
}

TEST(IniCommand, ARecordPassedAgainContinuesAtItsCount) {
    Cmd cmd;
    ASSERT_EQ(VX_UmsIniStr2IniCmd("S.a=1", &cmd), 1u);
    ASSERT_EQ(VX_UmsIniStr2IniCmd("T.b+=2", &cmd), 1u);
    EXPECT_EQ(cmd.count, 2);
    EXPECT_EQ(cmd.op, 1);  // kept from the first entry
    EXPECT_STREQ(cmd.section, "S");
    EXPECT_STREQ(cmd.items[1].keyName, "b");
    EXPECT_EQ(cmd.value(1), "2");

    // Nothing fits any more: 0, nothing written.
    Cmd full;
    full.count = VX_INI_ITEMS;
    std::memset(full.section, 'x', sizeof full.section - 1);
    EXPECT_EQ(VX_UmsIniStr2IniCmd("S.a=1", &full), 0u);
    EXPECT_EQ(full.count, VX_INI_ITEMS);
    EXPECT_EQ(full.op, 0);
    EXPECT_EQ(std::string(full.section), std::string(31, 'x'));
    for (const UmsIniItem &item : full.items) EXPECT_EQ(item.valueText, nullptr);

    EXPECT_EQ(VX_UmsIniStr2IniCmd(nullptr, &cmd), 0u);
    EXPECT_EQ(VX_UmsIniStr2IniCmd("S.a=1", nullptr), 0u);
}

TEST(IniCommand, LongNamesAreCutToThirtyOneCharacters) {
    const std::string section(40, 's'), key(40, 'k');
    Cmd cmd;
    cmd.items[1].keyName[0] = 'z';  // the next entry's bytes stay as they were
    ASSERT_EQ(VX_UmsIniStr2IniCmd((section + "." + key + "=v").c_str(), &cmd), 1u);
    EXPECT_EQ(std::string(cmd.section, sizeof cmd.section), std::string(31, 's') + '\0');
    EXPECT_EQ(std::string(cmd.items[0].keyName, sizeof cmd.items[0].keyName),
              std::string(31, 'k') + '\0');
    EXPECT_EQ(cmd.items[1].keyName[0], 'z');
    EXPECT_EQ(cmd.value(0), "v");
}

// A value text already in an entry is released before the new one is kept;
// a leak here only shows under the address sanitizer.
TEST(IniCommand, ReplacedValueTextIsReleased_LeakSeenOnlyByAsan) {
    Cmd cmd;
    cmd.items[0].valueText = static_cast<char *>(std::malloc(8));
    std::strcpy(cmd.items[0].valueText, "old");
    ASSERT_EQ(VX_UmsIniStr2IniCmd("S.a=new", &cmd), 1u);
    EXPECT_EQ(cmd.value(0), "new");

    // A query leaves an entry's value text as it was.
    Cmd query;
    query.items[0].valueText = static_cast<char *>(std::malloc(8));
    std::strcpy(query.items[0].valueText, "kept");
    ASSERT_EQ(VX_UmsIniStr2IniCmd("S.a=?", &query), 1u);
    EXPECT_EQ(query.value(0), "kept");
}

// The release clears every pointer; that the texts are freed only the address
// sanitizer's leak check sees.
TEST(IniCommand, ReleaseClearsValueTexts_FreeSeenOnlyByAsan) {
    UmsIniCmd cmd{};
    ASSERT_EQ(VX_UmsIniStr2IniCmd("S.a=1|.b=2", &cmd), 1u);
    ASSERT_NE(cmd.items[1].valueText, nullptr);
    VX_ReleaseUmsIniCmd(&cmd);
    for (const UmsIniItem &item : cmd.items) EXPECT_EQ(item.valueText, nullptr);
    EXPECT_EQ(cmd.count, 2);
    VX_ReleaseUmsIniCmd(nullptr);
}

}  // namespace
