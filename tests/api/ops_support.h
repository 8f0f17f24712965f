// What the device-operation tests share: a logged-in recorder, the caller's
// output areas filled with a pattern (so a byte the library writes or leaves
// is seen), and wire helpers.
#pragma once

#include <cstddef>
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

// The areas after a call that wrote texts t[0], t[1], ... (null: not written;
// terminated or as bytes only) and numbers n[0], n[1], ...; the rest as filled.
inline Outs Image(const std::vector<const char *> &texts, const std::vector<uint32_t> &nums,
                  bool terminated) {
    Outs want;
    for (std::size_t i = 0; i < texts.size(); ++i)
        if (texts[i] != nullptr)
            std::memcpy(want.t[i], texts[i], std::strlen(texts[i]) + (terminated ? 1 : 0));
    for (std::size_t i = 0; i < nums.size(); ++i) want.n[i] = nums[i];
    return want;
}

// Where two images first differ, by area.
inline ::testing::AssertionResult SameOuts(const Outs &want, const Outs &got) {
    const char *w = reinterpret_cast<const char *>(&want),
               *g = reinterpret_cast<const char *>(&got);
    const struct {
        const char *name;
        std::size_t at;
    } areas[] = {{"t", offsetof(Outs, t)},       {"n", offsetof(Outs, n)},
                 {"z", offsetof(Outs, z)},       {"list", offsetof(Outs, list)},
                 {"user", offsetof(Outs, user)}, {"end", sizeof want}};
    for (std::size_t i = 0; i < sizeof want; ++i) {
        if (w[i] == g[i]) continue;
        std::size_t a = 0;
        while (areas[a + 1].at <= i) ++a;
        return ::testing::AssertionFailure()
               << "area " << areas[a].name << " byte " << i - areas[a].at << ": " << int(g[i])
               << ", want " << int(w[i]);
    }
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
