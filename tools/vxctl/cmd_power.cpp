// vxctl format / reset / reboot / poweroff (behind --yes) and the harmless
// actions disk-mode, log-export, powersave: one row each.
#include <memory>
#include <string>

#include "commands.h"
#include "output.h"
#include "target.h"

namespace vxctl {
namespace {

using Action = uint32_t (*)(VestraInfo *, const char *);

struct PowerOp {
    const char *name;
    Action run;
    bool needs_yes;  // loses data or the connection
    const char *about;
};

const PowerOp kPowerOps[] = {
    {"reset", VX_FReset, true, "restore the factory settings"},
    {"reboot", VX_CtrlReboot, true, "restart the recorder"},
    {"poweroff", VX_CtrlPowerOff, true, "switch the recorder off"},
    {"powersave", VX_CtrlPowerSave, false, "put the recorder into power saving"},
    {"disk-mode", VX_EnterDiskMode, false, "show the recorder's storage as a USB disk"},
    {"log-export", VX_ExportDevLog, false, "have the recorder export its own log"},
};

struct FileSystem {
    const char *name;
    int32_t type;
};
const FileSystem kFileSystems[] = {{"fat32", 1}, {"exfat", 2}};

void RequireYes(bool yes, const std::string &what) {
    if (!yes) UsageError(what + " needs --yes (it cannot be undone from here)");
}

int Run(const PowerOp &op, VestraInfo *dev, const char *pw) {
    if (!op.run(dev, pw)) return Failed(dev, op.name);
    return PrintDone(op.name);
}

int Format(const std::string &fs, VestraInfo *dev, const char *pw) {
    int32_t type = 0;
    for (const FileSystem &f : kFileSystems)
        if (fs == f.name) type = f.type;
    if (!VX_FormatUdisk(dev, pw, type)) return Failed(dev, "format");
    return PrintDone("format " + fs);
}

}  // namespace

void AddPowerCommands(CLI::App &app) {
    for (const PowerOp &op : kPowerOps) {
        auto yes = std::make_shared<bool>(false);
        auto *cmd = AddDeviceCommand(
            app, op.name, op.about, [&op](VestraInfo *d, const char *pw) { return Run(op, d, pw); },
            [&op, yes] {
                if (op.needs_yes) RequireYes(*yes, op.name);
            });
        if (op.needs_yes) cmd->add_flag("--yes", *yes, "really do it");
    }

    auto fs = std::make_shared<std::string>();
    auto yes = std::make_shared<bool>(false);
    auto *format = AddDeviceCommand(
        app, "format", "erase the recorder's storage with a new file system",
        [fs](VestraInfo *d, const char *pw) { return Format(*fs, d, pw); },
        [yes] { RequireYes(*yes, "format"); });
    format->add_option("--fs", *fs, "fat32 or exfat")
        ->required()
        ->check(CLI::IsMember({"fat32", "exfat"}));
    format->add_flag("--yes", *yes, "really erase");
}

}  // namespace vxctl
