// vxctl ap list|add|del|select: the recorder's Wi-Fi access points. The
// library reports some outcomes as success with a status of its own (-110 to
// -113); they are told here in words.
#include <memory>
#include <string>

#include "commands.h"
#include "network.h"
#include "output.h"
#include "target.h"

namespace vxctl {
namespace {

struct ApArgs {
    std::string ssid, password;
    bool all = false;
};

int List(VestraInfo *dev, const char *pw) {
    Json value;
    if (!ReadAccessPoints(dev, pw, value)) return Failed(dev, "ap list");
    Print(value);
    return kOk;
}

int Add(const ApArgs &a, VestraInfo *dev, const char *pw) {
    if (!VX_AddAp(dev, pw, a.ssid.c_str(), a.password.c_str())) return Failed(dev, "ap add");
    return PrintDone("ap add " + a.ssid);
}

int Del(const ApArgs &a, VestraInfo *dev, const char *pw) {
    uint32_t ok = a.all ? VX_DelAllAp(dev, pw) : VX_DelAp(dev, pw, a.ssid.c_str());
    const std::string what = "ap del " + (a.all ? std::string("--all") : a.ssid);
    if (!ok) return Failed(dev, what);
    if (VX_GetErrNo(dev) == VX_STATUS_AP_NOT_DELETED)
        return Failed(what, VX_STATUS_AP_NOT_DELETED,
                      "the recorder did not confirm the deletion (unknown access point?)");
    return PrintDone(what);
}

int Select(const ApArgs &a, VestraInfo *dev, const char *pw) {
    const std::string what = "ap select " + a.ssid;
    if (!VX_SetSelAp(dev, pw, a.ssid.c_str())) return Failed(dev, what);
    if (VX_GetErrNo(dev) == VX_STATUS_AP_NOT_SELECTED)
        return Failed(what, VX_STATUS_AP_NOT_SELECTED,
                      "the recorder did not confirm the selection (unknown access point?)");
    return PrintDone(what);
}

}  // namespace

void AddNetworkCommands(CLI::App &app) {
    auto *ap = app.add_subcommand("ap", "the recorder's Wi-Fi access points");
    ap->require_subcommand(1);
    AddDeviceCommand(*ap, "list", "the access points and the one selected", List);

    auto add_args = std::make_shared<ApArgs>();
    auto *add = AddDeviceCommand(
        *ap, "add", "add an access point, or change a known one's password",
        [add_args](VestraInfo *d, const char *pw) { return Add(*add_args, d, pw); });
    add->add_option("SSID", add_args->ssid)->required();
    add->add_option("PASSWORD", add_args->password)->required();

    auto del_args = std::make_shared<ApArgs>();
    auto *del = AddDeviceCommand(
        *ap, "del", "delete an access point (or all with --all)",
        [del_args](VestraInfo *d, const char *pw) { return Del(*del_args, d, pw); },
        [del_args] {
            if (del_args->all != del_args->ssid.empty())
                UsageError("usage: vxctl ap del (SSID | --all)");
        });
    del->add_option("SSID", del_args->ssid);
    del->add_flag("--all", del_args->all, "delete every access point");

    auto sel_args = std::make_shared<ApArgs>();
    auto *sel = AddDeviceCommand(
        *ap, "select", "select the access point the recorder joins",
        [sel_args](VestraInfo *d, const char *pw) { return Select(*sel_args, d, pw); });
    sel->add_option("SSID", sel_args->ssid)->required();
}

}  // namespace vxctl
