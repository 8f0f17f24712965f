// Which recorder a device command talks to, and opening it.
#pragma once

#include <CLI/CLI.hpp>

#include <functional>
#include <memory>
#include <string>

#include "LibVestra.h"

namespace vxctl {

struct Target {
    std::string model;    // open the first recorder of this model
    std::string id_code;  // or the first attached recorder, if it has this ID code
    std::string password = "888888";
};

// Runs one operation on the opened recorder and gives the exit code.
using DeviceAction = std::function<int(VestraInfo *dev, const char *password)>;

struct RecordCloser {
    void operator()(VestraInfo *dev) const { VX_UnInitDev(dev); }
};
using Record = std::unique_ptr<VestraInfo, RecordCloser>;

void AddTargetOptions(CLI::App *cmd, Target &t, bool with_password = true);
// Null (after a message on standard error) when no recorder could be opened.
Record OpenTarget(const Target &t);
// Opens the target and runs the action; exit code 1 when nothing opened.
int WithDevice(const Target &t, const DeviceAction &action);

// A subcommand that talks to a recorder: target options added, and on parse
// the action runs on the opened recorder. The action may read the options
// the caller adds to the returned subcommand. The check, when given, runs
// before anything is opened, so usage errors never wait for a recorder.
CLI::App *AddDeviceCommand(CLI::App &parent, const char *name, const char *about,
                           const DeviceAction &action,
                           const std::function<void()> &check = nullptr);

}  // namespace vxctl
