// The command groups of vxctl. Each adds its subcommands to the app; a
// subcommand's callback sets the process exit code through ExitCode(). Every
// group keeps its option values in storage owned by its callbacks, so one
// process can build and run several apps (see batch).
#pragma once

#include <CLI/CLI.hpp>

namespace vxctl {

enum Exit { kOk = 0, kFailed = 1, kUsage = 2 };
int &ExitCode();

// Adds every command group and the global options to a fresh app.
void BuildApp(CLI::App &app);

void AddDeviceCommands(CLI::App &app);
void AddOpCommands(CLI::App &app);
void AddShowCommand(CLI::App &app);
void AddClockCommands(CLI::App &app);
void AddNetworkCommands(CLI::App &app);
void AddServiceCommands(CLI::App &app);
void AddConfigCommands(CLI::App &app);
void AddDataCommands(CLI::App &app);
void AddPowerCommands(CLI::App &app);
void AddBatchCommand(CLI::App &app);
void AddMediaCommands(CLI::App &app);
void AddTimezoneCommands(CLI::App &app);

}  // namespace vxctl
