// Time texts and path-text conversions.
#include <gtest/gtest.h>

#include <string>

#include "common/codepage.h"
#include "common/timeutil.h"
#include "support/local_zone.h"

namespace {

TEST(TimeText, FourteenDigitsUtcWhateverTheZone) {
    char text[32];
    {
        const testsupport::LocalZone zone("EST5EDT", "America/New_York");
        vx::UtcTimeText(std::time_t(1798761599), text, sizeof text);
        EXPECT_STREQ(text, "20261231235959");
        vx::UtcTimeText(std::time_t(1801451045), text, sizeof text);  // zero padding
        EXPECT_STREQ(text, "20270201030405");
        vx::LocalTimeText(std::time_t(1798761599), text, sizeof text);
        EXPECT_STREQ(text, "20261231185959");
    }

    vx::GetUtcTimeStr(text, sizeof text);
    EXPECT_EQ(std::string(text).size(), 14u);
    char small[10] = "untouched";
    vx::GetUtcTimeStr(small, sizeof small);  // does not fit: empty, never past the area
    EXPECT_STREQ(small, "");
}

TEST(CodePage, AnsiToWideNeedsRoomForTheTerminator) {
    std::string path(259, 'p');
    char16_t wide[260];
    EXPECT_EQ(vx::AnsiToWide(path.c_str(), wide, 260), 1);
    EXPECT_EQ(wide[258], u'p');
    EXPECT_EQ(wide[259], u'\0');

    std::string longer(260, 'q');
    wide[0] = u'x';
    EXPECT_EQ(vx::AnsiToWide(longer.c_str(), wide, 260), 0);
    EXPECT_EQ(wide[0], u'x');  // nothing written
}

#if defined(_WIN32)
// The system's code pages: the suite runs with the US English ones (ANSI
// 1252, OEM 437), which wine takes from an English or C locale.
TEST(CodePage, AnsiAndOemAreTheSystemsCodePages) {
    const char *text = "caf\xE9 \x80";  // e-acute and the euro sign in 1252
    char16_t wide[32];
    ASSERT_EQ(vx::AnsiToWide(text, wide, 32), 1);
    EXPECT_EQ(wide[3], u'\u00E9');
    EXPECT_EQ(wide[5], u'\u20AC');
    char back[32];
    ASSERT_EQ(vx::WideToOem(wide, back, 32), 1);
    EXPECT_STREQ(back, "caf\x82 ?");  // 437 has e-acute at 0x82, no euro sign
    EXPECT_EQ(vx::WideToOem(wide, back, 5), 0);
}
#else
// POSIX narrow texts are UTF-8.
TEST(CodePage, RoundTripAndReplacement) {
    const char *text =
        "caf\xC3\xA9/\xE2\x82\xAC/\xF0\x9F\x8E\xA5";  // e-acute, euro sign, a 4-byte character
    char16_t wide[32];
    ASSERT_EQ(vx::AnsiToWide(text, wide, 32), 1);
    EXPECT_EQ(wide[3], u'\u00E9');
    EXPECT_EQ(wide[5], u'\u20AC');
    EXPECT_EQ(wide[7], char16_t(0xD83C));  // surrogate pair
    char back[32];
    ASSERT_EQ(vx::WideToOem(wide, back, 32), 1);
    EXPECT_STREQ(back, text);
    EXPECT_EQ(vx::WideToOem(wide, back, 5), 0);

    ASSERT_EQ(vx::AnsiToWide("a\xFF"
                             "b",
                             wide, 32),
              1);  // malformed byte
    EXPECT_EQ(wide[1], char16_t(0xFFFD));
    EXPECT_EQ(wide[2], u'b');
}
#endif

}  // namespace
