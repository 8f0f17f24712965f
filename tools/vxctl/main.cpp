// vxctl: try LibVestra from the command line, against recorders on the USB
// bus or against virtual ones described by a scenario file.
#include <cstdlib>
#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif
#include <string>

#include "LibVestra.h"
#include "commands.h"
#include "output.h"
#include "simulation.h"

namespace vxctl {

int &ExitCode() {
    static int code = kOk;
    return code;
}

void BuildApp(CLI::App &app) {
    app.require_subcommand(1);
    app.allow_windows_style_options(false);  // "/path" is a path, not an option
    app.fallthrough();                       // --json and --log may follow the command too
    app.add_option("--scenario",
                   "use virtual recorders described by this JSON file instead of the USB bus");
    app.add_option("--log", "library log: 0 off, 1 file LibVestra.log beside vxctl, 2 console")
        ->check(CLI::Range(0, 3))
        // NOLINTNEXTLINE(cert-err34-c): the range check above took only 0 to 3
        ->each([](const std::string &v) { VX_SetLibLog(std::atoi(v.c_str())); });
    app.add_flag("--json", g_json_output, "print one JSON object instead of readable lines");

    AddDeviceCommands(app);
    AddListCommands(app);
    AddOpCommands(app);
    AddShowCommand(app);
    AddClockCommands(app);
    AddNetworkCommands(app);
    AddServiceCommands(app);
    AddConfigCommands(app);
    AddDataCommands(app);
    AddPowerCommands(app);
    AddStandardCommands(app);
    AddBatchCommand(app);
    AddMediaCommands(app);
    AddTimezoneCommands(app);
}

}  // namespace vxctl

namespace {
// The scenario decides which libusb the process runs on, so it is handled
// before anything touches the library.
std::string ScenarioArgument(int argc, char **argv) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--scenario" && i + 1 < argc) return argv[i + 1];
        if (arg.rfind("--scenario=", 0) == 0) return arg.substr(11);
    }
    return std::string();
}
}  // namespace

// An exception other than the parser's is a bug: std::terminate names it.
// NOLINTNEXTLINE(bugprone-exception-escape)
int main(int argc, char **argv) {
#if defined(_WIN32)
    // Lines end in "\n" on every platform, so output compares and pipes alike.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    std::string wanted = ScenarioArgument(argc, argv);
    if (!wanted.empty() && !vxctl::VirtualBusLoaded()) vxctl::UseScenario(wanted, argv);
    VX_SetLibLog(VX_LOG_OFF);

    CLI::App app{"vxctl - find, identify, configure and talk to recorders; decrypt recordings"};
    vxctl::BuildApp(app);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp &e) {
        return app.exit(e);
    } catch (const CLI::RuntimeError &e) {  // a command's own failure, message already shown
        return e.get_exit_code();
    } catch (const CLI::ParseError &e) {
        app.exit(e);
        return vxctl::kUsage;
    }
    return vxctl::ExitCode();
}
