// Get operations end to end through the C interface, against a virtual
// recorder whose scripted reply is the input. Every output is a heap block of
// the exact size the operation documents (a ZFYInfo alone, text areas of
// 1024 or 2048 bytes, the OSD text and configuration answer of the size
// passed), so ASan catches a write one byte past it.
// Byte 0 picks the operation, byte 1 the reply's packet size, byte 2 an
// index or a size; the rest is the reply.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "LibVestra.h"
#include "vsim.h"

namespace {

constexpr int kDevice = 1;  // the id plug() gives the only recorder
constexpr char kPwd[] = "888888";

VestraInfo *Device() {
    static VestraInfo *dev = [] {
        VX_SetLibLog(VX_LOG_OFF);
        vsim::reset();
        vsim::add_bus("001", 1);
        vsim::DeviceSpec spec;
        spec.model = "VX001";
        vsim::plug(spec);
        VestraInfo *d = VX_InitDev("VX001");
        if (d != nullptr && !VX_Login(d, kPwd)) return static_cast<VestraInfo *>(nullptr);
        return d;
    }();
    return dev;
}

// Blocks of exact sizes, released at the end of the input.
class Areas {
public:
    char *Text(std::size_t n) {
        blocks_.emplace_back(new char[n]());
        return blocks_.back().get();
    }
    uint32_t *Num() { return reinterpret_cast<uint32_t *>(Text(sizeof(uint32_t))); }

private:
    std::vector<std::unique_ptr<char[]>> blocks_;
};

// One operation: the command line it sends and the call, given byte 2.
struct Op {
    std::string (*command)(uint8_t arg);
    uint32_t (*call)(VestraInfo *dev, uint8_t arg, Areas &a);
};

std::string Osd(uint8_t arg) { return "VX+VIDEOOSD" + std::to_string(arg % 8) + "?\r\n"; }
uint32_t OsdSize(uint8_t arg) { return arg % 64; }  // 0 is refused; small sizes matter
int32_t AnswerSize(uint8_t arg) { return int32_t(arg) * 4 + 1; }  // 1 .. 1021

const Op kOps[] = {
    {[](uint8_t) -> std::string { return "VX+GBCFG?\r\n"; },
     [](VestraInfo *d, uint8_t, Areas &) {
         auto info = std::make_unique<ZFYInfo>();  // alone: nothing behind it to hide an overrun
         return VX_GetDevInfo(d, kPwd, info.get());
     }},
    {[](uint8_t) -> std::string { return "VX+GB28181CFG?\r\n"; },
     [](VestraInfo *d, uint8_t, Areas &a) {
         return VX_GetGb28181Cfg(d, kPwd, a.Num(), a.Text(VX_TEXT_AREA), a.Text(VX_TEXT_AREA),
                                 a.Text(VX_TEXT_AREA), a.Text(VX_TEXT_AREA), a.Text(VX_TEXT_AREA),
                                 a.Text(VX_TEXT_AREA), a.Text(VX_TEXT_AREA));
     }},
    {[](uint8_t) -> std::string { return "VX+PTYTCFG?\r\n"; },
     [](VestraInfo *d, uint8_t, Areas &a) {
         return VX_GetPtytCfg(d, kPwd, a.Num(), a.Text(VX_TEXT_AREA), a.Text(VX_TEXT_AREA),
                              a.Text(VX_TEXT_AREA), a.Text(VX_TEXT_AREA), a.Text(VX_TEXT_AREA),
                              a.Num());
     }},
    {Osd,
     [](VestraInfo *d, uint8_t arg, Areas &a) {
         const uint32_t size = OsdSize(arg);
         return VX_GetVideoOsd(d, kPwd, arg % 8, a.Num(), size ? a.Text(size) : nullptr, size);
     }},
    {[](uint8_t) -> std::string { return "VX+APLIST?\r\n"; },
     [](VestraInfo *d, uint8_t, Areas &a) {
         return VX_GetApList(d, kPwd, a.Text(VX_AP_LIST_AREA));
     }},
    {[](uint8_t) -> std::string { return "VX+APSEL?\r\n"; },
     [](VestraInfo *d, uint8_t, Areas &a) { return VX_GetSelAp(d, kPwd, a.Text(VX_TEXT_AREA)); }},
    {[](uint8_t) -> std::string { return "VX+UMSJSON={}\r\n"; },
     [](VestraInfo *d, uint8_t arg, Areas &a) {
         return VX_DevCfgJsonStr(d, kPwd, "{}", a.Text(AnswerSize(arg)), AnswerSize(arg));
     }},
    {[](uint8_t) -> std::string { return "VX+UMSINI=A.b=?\r\n"; },
     [](VestraInfo *d, uint8_t arg, Areas &a) {
         return VX_DevCfgIniStr(d, kPwd, "A.b=?", a.Text(AnswerSize(arg)), AnswerSize(arg));
     }},
    {[](uint8_t) -> std::string { return "VX+DEVNAME?\r\n"; },
     [](VestraInfo *d, uint8_t, Areas &a) { return VX_GetDevName(d, kPwd, a.Text(VX_TEXT_AREA)); }},
    {[](uint8_t) -> std::string { return "VX+SYSTIME?\r\n"; },
     [](VestraInfo *d, uint8_t, Areas &a) {
         return VX_GetDevTimeCfg(d, kPwd, a.Text(VX_TEXT_AREA), a.Num(), a.Num(),
                                 a.Text(VX_TEXT_AREA));
     }},
    {[](uint8_t) -> std::string { return "VX+VPN?\r\n"; },
     [](VestraInfo *d, uint8_t, Areas &a) {
         return VX_GetVpn(d, kPwd, a.Text(VX_TEXT_AREA), a.Text(VX_TEXT_AREA),
                          a.Text(VX_TEXT_AREA));
     }},
    {[](uint8_t) -> std::string { return "VX+SERVADDR?\r\n"; },
     [](VestraInfo *d, uint8_t, Areas &a) {
         return VX_GetServAddr(d, kPwd, a.Text(VX_TEXT_AREA), a.Num());
     }},
    {[](uint8_t) -> std::string { return "VX+MVEINFO?\r\n"; },
     [](VestraInfo *d, uint8_t, Areas &a) {
         return VX_GetMasterVEInfo(d, kPwd, a.Num(), a.Num(), a.Num(), a.Num());
     }},
    {[](uint8_t) -> std::string { return "VX+LOGLEVEL?\r\n"; },
     [](VestraInfo *d, uint8_t, Areas &a) { return VX_GetDevLogLevel(d, kPwd, a.Num()); }},
};

bool StatusAllowed(uint32_t result, int32_t status) {
    if (result == 1)
        return status == 1 ||
               (status <= VX_STATUS_AP_NOT_DELETED && status >= VX_STATUS_AP_EMPTY_LIST);
    return status == VX_STATUS_FAILED;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    VestraInfo *dev = Device();
    if (dev == nullptr || size < 3) return 0;
    const Op &op = kOps[data[0] % (sizeof kOps / sizeof kOps[0])];
    vsim::Faults faults;
    faults.reply_split = {std::size_t(data[1] % 64) + 1};
    vsim::set_faults(kDevice, faults);
    vsim::script(kDevice, op.command(data[2]),
                 std::string(reinterpret_cast<const char *>(data + 3), size - 3));
    vsim::clear_record();

    dev->isLogin = 1;
    Areas areas;
    const uint32_t result = op.call(dev, data[2], areas);
    if (result > 1 || !StatusAllowed(result, dev->errNo)) std::abort();
    if (::strnlen(dev->errStr, sizeof dev->errStr) == sizeof dev->errStr) std::abort();
    return 0;
}
