// The OSD read of a value of two or more digits: the whole number is the
// value and the text still begins behind its comma, not inside the number.
#include "ops_support.h"

namespace {

using namespace ops_test;

TEST_F(OpsTest, OsdTextOfAMultiDigitValueBeginsBehindItsComma) {
    login();
    vsim::script(id, "VX+VIDEOOSD1?\r\n", "+VIDEOOSD1:12,Unit\r\nOK\r\n");
    Outs o;
    EXPECT_EQ(VX_GetVideoOsd(dev, kPwd, 1, &o.n[0], o.t[0], 64), 1u);
    EXPECT_EQ(VX_GetErrNo(dev), 1);
    EXPECT_EQ(o.n[0], 12u);
    EXPECT_TRUE(Term(o.t[0], "Unit"));
    vsim::script(id, "VX+VIDEOOSD1?\r\n", "+VIDEOOSD1:123\r\nOK\r\n");  // no text at all
    Outs none;
    EXPECT_EQ(VX_GetVideoOsd(dev, kPwd, 1, &none.n[0], none.t[0], 8), 1u);
    EXPECT_EQ(none.n[0], 123u);
    EXPECT_EQ(std::string(none.t[0], 8), std::string(7, '\0') + char(kFill));
}

}  // namespace
