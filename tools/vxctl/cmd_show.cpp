// vxctl show: a recorder's whole state at once. Each item is read on its
// own; one that fails is shown unavailable with its status number and the
// rest still run.
#include <string>
#include <vector>

#include "commands.h"
#include "network.h"
#include "op_table.h"
#include "output.h"
#include "service_table.h"
#include "target.h"

namespace vxctl {
namespace {

using Filler = bool (*)(VestraInfo *, const char *, Json &);

bool ReadServices(VestraInfo *dev, const char *pw, Json &value) {
    bool any = false;
    for (const ServiceOp &s : ServiceOps()) any |= ReadService(s, dev, pw, value[s.name]);
    return any;
}

bool ReadApSection(VestraInfo *dev, const char *pw, Json &value) {
    if (ReadAccessPoints(dev, pw, value)) return true;
    value = Unavailable(dev);
    return false;
}

// A section is either keys of the op table (a section named as its only key
// stands for itself) or a filler of its own.
struct Section {
    const char *name;
    std::vector<const char *> keys;
    Filler fill;
};

// NOLINTNEXTLINE(cert-err58-cpp): a start-up allocation failure ends the tool
const std::vector<Section> kSections{
    {"identity", {"devname", "uid", "uuid", "vid", "did", "zfyinfo"}, nullptr},
    {"time", {"time"}, nullptr},
    {"battery", {"battery"}, nullptr},  // the one battery query this record may make in 20 s
    {"encoders", {"video-main", "video-sub"}, nullptr},
    {"network", {"apn", "vpn", "servaddr", "ssid"}, nullptr},
    {"wifi", {}, ReadApSection},
    {"switches", {"udiskauth", "pfptt", "heartbeat", "gps"}, nullptr},
    {"services", {}, ReadServices},
    {"storage", {"loglevel"}, nullptr},
};

int Show(VestraInfo *dev, const char *pw) {
    Json state{{"model", dev->model.name}};
    bool any = false;
    for (const Section &section : kSections) {
        Json &value = state[section.name];
        if (section.fill) {
            any |= section.fill(dev, pw, value);
            continue;
        }
        for (const char *key : section.keys) {
            Json &item = section.name == std::string(key) ? value : value[key];
            any |= ReadOp(*FindOp(key), dev, pw, item);
            // Not open or not logged in: no other item can be read either.
            if (!any &&
                (VX_GetErrNo(dev) == VX_STATUS_NOT_OPEN || VX_GetErrNo(dev) == VX_STATUS_NO_LOGIN))
                return Failed(dev, "show");
        }
    }
    if (!any) return Failed(dev, "show");
    Print(state);
    return kOk;
}

}  // namespace

void AddShowCommand(CLI::App &app) {
    AddDeviceCommand(app, "show",
                     "a recorder's whole state: identity, clock, battery, encoders, network, "
                     "Wi-Fi, switches, services, storage",
                     Show);
}

}  // namespace vxctl
