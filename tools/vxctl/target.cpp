#include "target.h"

#include <cstdio>

#include "commands.h"

namespace vxctl {

void AddTargetOptions(CLI::App *cmd, Target &t, bool with_password) {
    auto *model =
        cmd->add_option("--model", t.model, "model name, e.g. VX001 (default: the first found)");
    cmd->add_option("--id", t.id_code, "ID code of the recorder to open")->excludes(model);
    if (with_password)
        cmd->add_option("--password", t.password, "login password")->capture_default_str();
}

Record OpenTarget(const Target &t) {
    if (!t.id_code.empty()) {
        VestraInfo *dev = VX_InitDevEx(t.id_code.c_str());
        if (!dev)
            std::fprintf(stderr, "vxctl: no recorder with ID code %s is the first attached\n",
                         t.id_code.c_str());
        return Record(dev);
    }
    std::string model = t.model;
    if (model.empty()) {
        char name[VX_MODEL_NAME_LEN] = {};
        if (!VX_ProbeDev(name)) {
            std::fprintf(stderr, "vxctl: no supported recorder found\n");
            return Record(nullptr);
        }
        model = name;
    }
    VestraInfo *dev = VX_InitDev(model.c_str());
    if (!dev) std::fprintf(stderr, "vxctl: cannot open a %s recorder\n", model.c_str());
    return Record(dev);
}

int WithDevice(const Target &t, const DeviceAction &action) {
    Record dev = OpenTarget(t);
    if (!dev) return kFailed;
    return action(dev.get(), t.password.c_str());
}

CLI::App *AddDeviceCommand(CLI::App &parent, const char *name, const char *about,
                           const DeviceAction &action, const std::function<void()> &check) {
    auto target = std::make_shared<Target>();
    CLI::App *cmd = parent.add_subcommand(name, about);
    AddTargetOptions(cmd, *target);
    cmd->callback([target, action, check] {
        if (check) check();
        ExitCode() = WithDevice(*target, action);
    });
    return cmd;
}

}  // namespace vxctl
