// Device commands: probe the bus, identify, log in, send a command line.
#include <cstdio>
#include <memory>
#include <string>

#include "LibVestra.h"
#include "commands.h"
#include "output.h"
#include "target.h"

namespace vxctl {
namespace {

std::string Printable(const char *text) {
    std::string out;
    for (const char *p = text; *p; ++p) {
        if (*p == '\r')
            out += "\\r";
        else if (*p == '\n')
            out += "\\n\n";
        else
            out += *p;
    }
    return out;
}

int Probe() {
    if (!VX_CheckDevExist()) {
        std::printf("no supported recorder attached\n");
        return kFailed;
    }
    char name[VX_MODEL_NAME_LEN] = {};
    char code[VX_ID_CODE_LEN] = {};
    if (VX_ProbeDev(name)) std::printf("first recorder on the bus: model %s\n", name);
    if (VX_ProbeDevEx(code))
        std::printf("first recorder by model order: ID code %s\n", code);
    else
        std::printf("first recorder by model order: no ID code\n");
    return kOk;
}

int IdCode(const Target &t) {
    Record dev = OpenTarget(t);
    if (!dev) return kFailed;
    char code[VX_ID_CODE_LEN] = {};
    if (!VX_GetIDCode(dev.get(), code)) {
        std::fprintf(stderr, "vxctl: the recorder did not report an ID code\n");
        return kFailed;
    }
    std::printf("model %s, ID code %s\n", dev->model.name, code);
    return kOk;
}

int Login(const Target &t, const std::string &user) {
    Record dev = OpenTarget(t);
    if (!dev) return kFailed;
    uint32_t ok = user.empty() ? VX_Login(dev.get(), t.password.c_str())
                               : VX_LoginEx(dev.get(), user.c_str(), t.password.c_str());
    if (!ok) {
        std::fprintf(stderr, "vxctl: login refused%s%s\n", dev->errStr[0] ? ": " : "", dev->errStr);
        return kFailed;
    }
    std::printf("logged in to %s as %s\n", dev->model.name, user.empty() ? "admin" : user.c_str());
    VX_Logout(dev.get());
    return kOk;
}

int Cmd(VestraInfo *dev, const char *password, std::string line, bool raw) {
    if (!raw) line += "\r\n";
    if (!VX_Cmd(dev, password, line.c_str())) return Failed(dev, "command");
    std::printf("%s", Printable(VX_GetErrStr(dev)).c_str());
    return kOk;
}

}  // namespace

void AddDeviceCommands(CLI::App &app) {
    app.add_subcommand("probe", "look for supported recorders on the bus")->callback([] {
        ExitCode() = Probe();
    });

    auto id_target = std::make_shared<Target>();
    auto *idcode = app.add_subcommand("idcode", "open a recorder and read its ID code");
    AddTargetOptions(idcode, *id_target, false);
    idcode->callback([id_target] { ExitCode() = IdCode(*id_target); });

    auto login_target = std::make_shared<Target>();
    auto user = std::make_shared<std::string>();
    auto *login = app.add_subcommand("login", "open a recorder and log in");
    AddTargetOptions(login, *login_target);
    login->add_option("--user", *user, "account name (default: admin)");
    login->callback([login_target, user] { ExitCode() = Login(*login_target, *user); });

    auto line = std::make_shared<std::string>();
    auto raw = std::make_shared<bool>(false);
    auto *cmd = AddDeviceCommand(
        app, "cmd", "log in and send one command line, print the reply",
        [line, raw](VestraInfo *dev, const char *pw) { return Cmd(dev, pw, *line, *raw); });
    cmd->add_option("line", *line, "the command, e.g. \"VX+DEVNAME?\"")->required();
    cmd->add_flag("--raw", *raw, "send the line exactly as given (no \\r\\n appended)");
}

}  // namespace vxctl
