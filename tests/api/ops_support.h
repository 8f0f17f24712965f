// What the device-operation tests share: a logged-in recorder, the caller's
// output areas filled with a pattern (so a byte the library writes or leaves
// is seen), and wire helpers.
#pragma once

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "recorder_fixture.h"

namespace ops_test {

constexpr const char *kPwd = "888888";
constexpr char kFill = '#';                 // text areas before a call
constexpr uint32_t kNumFill = 0xA5A5A5A5u;  // number outputs before a call

// Every output area an operation may write, filled with the pattern.
struct Outs {
    char t[8][VX_TEXT_AREA];
    uint32_t n[4];
    ZFYInfo z;
    char list[VX_AP_LIST_AREA];
    char user[VX_USER_REPLY_AREA];
    Outs() { fill(); }
    void fill() {
        std::memset(this, kFill, sizeof *this);
        for (uint32_t &v : n) v = kNumFill;
    }
    bool same_as(const Outs &other) const { return std::memcmp(this, &other, sizeof *this) == 0; }
};

// The bytes written at the start of an area that had the pattern: exactly
// text, with the byte behind it still the pattern (no terminator written).
inline ::testing::AssertionResult Raw(const char *area, const std::string &text) {
    if (std::string(area, text.size()) != text)
        return ::testing::AssertionFailure() << "area starts \"" << std::string(area, text.size())
                                             << "\", want \"" << text << "\"";
    if (area[text.size()] != kFill)
        return ::testing::AssertionFailure()
               << "byte " << text.size() << " written: " << int(area[text.size()]);
    return ::testing::AssertionSuccess();
}
// text and its terminator.
inline ::testing::AssertionResult Term(const char *area, const std::string &text) {
    if (std::string(area, text.size()) != text || area[text.size()] != '\0')
        return ::testing::AssertionFailure()
               << "area holds \"" << std::string(area, text.size() + 1) << "\", want \"" << text
               << "\" and a terminator";
    return ::testing::AssertionSuccess();
}
// Not written at all.
inline ::testing::AssertionResult Untouched(const char *area, std::size_t size = VX_TEXT_AREA) {
    for (std::size_t i = 0; i < size; ++i)
        if (area[i] != kFill) return ::testing::AssertionFailure() << "byte " << i << " written";
    return ::testing::AssertionSuccess();
}

// A recorder of model VX001 on the bus and its record, open; logged in when
// the test wants it (the traffic record is cleared after the login).
class OpsTest : public RecorderTest {
protected:
    void SetUp() override {
        RecorderTest::SetUp();
        id = plug("VX001", "1000001");
        dev = open("VX001");
        ASSERT_NE(dev, nullptr);
    }
    void login() {
        ASSERT_EQ(VX_Login(dev, kPwd), 1u);
        vsim::clear_record();
    }
    // Commands after the login: the login's own lines left out.
    std::vector<std::string> sent() const {
        std::vector<std::string> out;
        for (const auto &c : vsim::commands(id))
            if (c.rfind("VX+LOGIN=", 0) != 0) out.push_back(c);
        return out;
    }
    std::string wire() const {
        std::string all;
        for (const auto &t : writes()) all += t.data;
        return all;
    }
    void set_err_text(const char *text) {
        std::snprintf(dev->errStr, sizeof dev->errStr, "%s", text);
    }

    int id = 0;
    VestraInfo *dev = nullptr;
};

}  // namespace ops_test
