// The command groups of vxctl. Each adds its subcommands to the app; a
// subcommand's callback sets the process exit code through exit_code().
#pragma once

#include <CLI/CLI.hpp>

namespace vxctl {

enum Exit { kOk = 0, kFailed = 1, kUsage = 2 };
int &exit_code();

void add_device_commands(CLI::App &app);
void add_list_commands(CLI::App &app);

}  // namespace vxctl

void add_media_commands(CLI::App &app);
void add_timezone_commands(CLI::App &app);
