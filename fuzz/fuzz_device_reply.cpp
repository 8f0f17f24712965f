// Whatever a recorder answers, the library must neither crash nor write past
// an area: the reply under test answers every command of the identify, login,
// logout and raw-command paths, delivered in packets of a size the input picks.
#include <cstdint>
#include <string>

#include "LibVestra.h"
#include "vsim.h"

namespace {

std::string g_reply;

VestraInfo *device() {
    static VestraInfo *dev = [] {
        VX_SetLibLog(VX_LOG_OFF);
        vsim::reset();
        vsim::add_bus("001", 1);
        vsim::DeviceSpec spec;
        spec.model = "VX001";
        vsim::plug(spec);
        for (const char *keyword : {"GBIDCODE", "LOGIN", "LOGINID", "LOGINPWD", "LOGOUT", "FUZZ"})
            vsim::set_handler(keyword,
                              [](vsim::Recorder &, const std::string &) { return g_reply; });
        return VX_InitDev("VX001");
    }();
    return dev;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    VestraInfo *dev = device();
    if (dev == nullptr || size == 0) return 0;
    vsim::Faults faults;
    faults.reply_split = {std::size_t(data[0] % 64) + 1};
    vsim::set_faults(1, faults);
    g_reply.assign(reinterpret_cast<const char *>(data + 1), size - 1);
    vsim::clear_record();

    char code[VX_ID_CODE_LEN];
    char login_id[VX_LOGIN_ID_LEN];
    VX_GetIDCode(dev, code);
    dev->isLogin = 0;
    VX_GetLoginID(dev, login_id);
    VX_LoginIDPwd(dev, "PWD0001");
    dev->isLogin = 0;
    VX_Login(dev, "888888");
    dev->isLogin = 1;  // the raw command and the logout run whatever the login said
    VX_Cmd(dev, "888888", "VX+FUZZ?\r\n");
    VX_Logout(dev);
    return 0;
}
