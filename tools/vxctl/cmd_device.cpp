// Device commands: probe the bus, identify, log in, send a command line.
#include <cstdio>
#include <memory>
#include <string>

#include "LibVestra.h"
#include "commands.h"

namespace vxctl {
namespace {

// Which recorder a command talks to.
struct Target {
    std::string model;     // open the first recorder of this model
    std::string id_code;   // or the first attached recorder, if it has this ID code
    std::string password = "888888";
};

struct RecordCloser {
    void operator()(VestraInfo *dev) const { VX_UnInitDev(dev); }
};
using Record = std::unique_ptr<VestraInfo, RecordCloser>;

void add_target_options(CLI::App *cmd, Target &t, bool with_password) {
    auto *model = cmd->add_option("--model", t.model, "model name, e.g. VX001 (default: the first found)");
    cmd->add_option("--id", t.id_code, "ID code of the recorder to open")->excludes(model);
    if (with_password) cmd->add_option("--password", t.password, "login password")->capture_default_str();
}

Record open_target(const Target &t) {
    VestraInfo *dev = nullptr;
    if (!t.id_code.empty()) {
        dev = VX_InitDevEx(t.id_code.c_str());
        if (!dev) std::fprintf(stderr, "vxctl: no recorder with ID code %s is the first attached\n", t.id_code.c_str());
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
    dev = VX_InitDev(model.c_str());
    if (!dev) std::fprintf(stderr, "vxctl: cannot open a %s recorder\n", model.c_str());
    return Record(dev);
}

// The outcome of an operation as the user sees it: status number and text.
int report_failure(VestraInfo *dev, const char *what) {
    std::string text = VX_GetErrStr(dev);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    std::fprintf(stderr, "vxctl: %s failed (status %d): %s\n", what, VX_GetErrNo(dev),
                 text.empty() ? "no reply" : text.c_str());
    return kFailed;
}

std::string printable(const char *text) {
    std::string out;
    for (const char *p = text; *p; ++p) {
        if (*p == '\r') out += "\\r";
        else if (*p == '\n') out += "\\n\n";
        else out += *p;
    }
    return out;
}

int do_probe() {
    if (!VX_CheckDevExist()) {
        std::printf("no supported recorder attached\n");
        return kFailed;
    }
    char name[VX_MODEL_NAME_LEN] = {};
    char code[VX_ID_CODE_LEN] = {};
    if (VX_ProbeDev(name)) std::printf("first recorder on the bus: model %s\n", name);
    if (VX_ProbeDevEx(code)) std::printf("first recorder by model order: ID code %s\n", code);
    else std::printf("first recorder by model order: no ID code\n");
    return kOk;
}

int do_idcode(const Target &t) {
    Record dev = open_target(t);
    if (!dev) return kFailed;
    char code[VX_ID_CODE_LEN] = {};
    if (!VX_GetIDCode(dev.get(), code)) {
        std::fprintf(stderr, "vxctl: the recorder did not report an ID code\n");
        return kFailed;
    }
    std::printf("model %s, ID code %s\n", dev->model.name, code);
    return kOk;
}

int do_login(const Target &t, const std::string &user) {
    Record dev = open_target(t);
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

int do_cmd(const Target &t, std::string line, bool raw) {
    if (!raw) line += "\r\n";
    Record dev = open_target(t);
    if (!dev) return kFailed;
    uint32_t ok = VX_Cmd(dev.get(), t.password.c_str(), line.c_str());
    if (!ok) return report_failure(dev.get(), "command");
    std::printf("%s", printable(VX_GetErrStr(dev.get())).c_str());
    return kOk;
}

}  // namespace

void add_device_commands(CLI::App &app) {
    static Target target;
    static std::string user, line;
    static bool raw = false;

    app.add_subcommand("probe", "look for supported recorders on the bus")
        ->callback([] { exit_code() = do_probe(); });

    auto *idcode = app.add_subcommand("idcode", "open a recorder and read its ID code");
    add_target_options(idcode, target, false);
    idcode->callback([] { exit_code() = do_idcode(target); });

    auto *login = app.add_subcommand("login", "open a recorder and log in");
    add_target_options(login, target, true);
    login->add_option("--user", user, "account name (default: admin)");
    login->callback([] { exit_code() = do_login(target, user); });

    auto *cmd = app.add_subcommand("cmd", "log in and send one command line, print the reply");
    add_target_options(cmd, target, true);
    cmd->add_option("line", line, "the command, e.g. \"VX+DEVNAME?\"")->required();
    cmd->add_flag("--raw", raw, "send the line exactly as given (no \\r\\n appended)");
    cmd->callback([] { exit_code() = do_cmd(target, line, raw); });
}

}  // namespace vxctl
