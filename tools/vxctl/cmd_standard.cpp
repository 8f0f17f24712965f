// vxctl gb ... and gbcmd ...: the national-standard function set and the
// maintenance commands, with their status values printed in words.
#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "commands.h"
#include "output.h"

namespace vxctl {
namespace {

struct Word {
    int32_t status;
    const char *text;
};
const Word kGbWords[] = {
    {1, "done"},
    {2, "no device"},
    {4, "login failed"},
    {5, "clock set"},
    {6, "clock refused"},
    {7, "U-disk mode entered"},
    {8, "U-disk mode refused"},
    {9, "no ID code given"},
};
const Word kGbCmdWords[] = {
    {0, "done"},
    {-1, "no matching recorder"},
    {-2, "login refused"},
    {-3, "command not delivered"},
    {-4, "claiming the recorder failed"},
    {-5, "out of memory"},
    {-6, "battery query refused"},
    {-7, "not supported"},
};

template <std::size_t N>
std::string InWords(const Word (&words)[N], int32_t status) {
    for (const Word &w : words)
        if (w.status == status) return w.text;
    return "status " + std::to_string(status);
}

// Prints the outcome; exit 0 on result 1, else 1 with the status in words.
template <std::size_t N>
int Report(const Word (&words)[N], const char *what, int32_t result, int32_t status, Json data) {
    if (result != 1) return Failed(what, status, InWords(words, status));
    data["status"] = InWords(words, status);
    Print(data);
    return kOk;
}

struct GbOptions {
    std::string code;  // empty: accept the table's code
    std::string password = "888888";
    ZFYInfo info{};
    std::string fields[5];
};

// Opens the standard set's record, runs body, releases the record.
int WithGbDevice(const GbOptions &o, const std::function<int(const char *pw)> &body) {
    char code[8] = {};
    std::strncpy(code, o.code.c_str(), sizeof code - 1);
    int32_t status = 0;
    if (Init_Device(code, &status) != 1)
        return Failed("Init_Device", status, InWords(kGbWords, status));
    int exit = body(o.password.c_str());
    int32_t ignored = 0;
    UnInit_Device(&ignored);
    return exit;
}

using GbBody = std::function<int(const GbOptions &, const char *pw)>;

struct GbVerb {
    const char *name;
    const char *about;
    GbBody run;
};

// NOLINTNEXTLINE(cert-err58-cpp): a start-up allocation failure ends the tool
const GbVerb kGbVerbs[] = {
    {"info", "read the identity record (VX+GBCFG?)",
     [](const GbOptions &, const char *pw) {
         ZFYInfo z{};
         int32_t st = 0;
         int32_t r = GetZFYInfo(&z, pw, &st);
         return Report(kGbWords, "GetZFYInfo", r, st,
                       Json{{"serial", z.serial},
                            {"userNo", z.userNo},
                            {"userName", z.userName},
                            {"unitNo", z.unitNo},
                            {"unitName", z.unitName}});
     }},
    {"write-info", "write the identity record (empty serial: the one read last)",
     [](const GbOptions &o, const char *pw) {
         ZFYInfo z{};
         char *dst[5] = {z.serial, z.userNo, z.userName, z.unitNo, z.unitName};
         const std::size_t size[5] = {sizeof z.serial, sizeof z.userNo, sizeof z.userName,
                                      sizeof z.unitNo, sizeof z.unitName};
         for (int i = 0; i < 5; ++i) std::strncpy(dst[i], o.fields[i].c_str(), size[i] - 1);
         int32_t st = 0;
         int32_t r = WriteZFYInfo(&z, pw, &st);
         return Report(kGbWords, "WriteZFYInfo", r, st, Json::object());
     }},
    {"sync-time", "set the recorder's clock to the host's UTC time",
     [](const GbOptions &, const char *pw) {
         int32_t st = 0;
         int32_t r = SyncDevTime(pw, &st);
         return Report(kGbWords, "SyncDevTime", r, st, Json::object());
     }},
    {"msdc", "switch the recorder to U-disk mode (closes it)",
     [](const GbOptions &, const char *pw) {
         int32_t st = 0;
         int32_t r = SetMSDC(pw, &st);
         return Report(kGbWords, "SetMSDC", r, st, Json::object());
     }},
    {"resolution", "read the main stream's width and height",
     [](const GbOptions &, const char *pw) {
         int32_t w = 0, h = 0, st = 0;
         int32_t r = ReadDeviceResolution(&w, &h, pw, &st);
         return Report(kGbWords, "ReadDeviceResolution", r, st, Json{{"width", w}, {"height", h}});
     }},
    {"battery", "read the battery level",
     [](const GbOptions &, const char *pw) {
         int32_t level = 0, st = 0;
         int32_t r = ReadDeviceBatteryDumpEnergy(&level, pw, &st);
         return Report(kGbWords, "ReadDeviceBatteryDumpEnergy", r, st, Json{{"battery", level}});
     }},
};

void AddGb(CLI::App &app) {
    auto *gb = app.add_subcommand("gb", "the national-standard function set (one recorder)");
    gb->require_subcommand(1);
    auto opts = std::make_shared<GbOptions>();

    auto *init = gb->add_subcommand("init", "open the recorder, check or read its ID code");
    init->add_option("CODE", opts->code, "ID code to check (default: read it)");
    init->callback([opts] {
        char code[8] = {};
        std::strncpy(code, opts->code.c_str(), sizeof code - 1);
        int32_t st = 0;
        int32_t r = Init_Device(code, &st);
        ExitCode() = Report(kGbWords, "Init_Device", r, st, Json{{"id_code", code}});
        int32_t ignored = 0;
        UnInit_Device(&ignored);
    });

    for (const GbVerb &verb : kGbVerbs) {
        auto *cmd = gb->add_subcommand(verb.name, verb.about);
        cmd->add_option("--code", opts->code, "ID code to check first (default: any)");
        cmd->add_option("--password", opts->password, "login password")->capture_default_str();
        if (std::strcmp(verb.name, "write-info") == 0) {
            const char *names[5] = {"--serial", "--user-no", "--user-name", "--unit-no",
                                    "--unit-name"};
            for (int i = 0; i < 5; ++i) cmd->add_option(names[i], opts->fields[i]);
        }
        cmd->callback([opts, &verb] {
            ExitCode() = WithGbDevice(*opts, [&](const char *pw) { return verb.run(*opts, pw); });
        });
    }
}

struct GbCmdVerb {
    const char *name;
    const char *about;
    bool needs_yes;
    int32_t (*run)(const char *serial, const char *pw, int32_t *status);
};

const GbCmdVerb kGbCmdVerbs[] = {
    {"download", "put the recorder into download mode", true, GBCmd_EnterDownLoadMode},
    {"poweroff", "switch the recorder off", true, GBCmd_PowerOff},
};

void AddGbCmd(CLI::App &app) {
    auto *gbcmd = app.add_subcommand("gbcmd", "maintenance commands for VX005 recorders by serial");
    gbcmd->require_subcommand(1);
    auto serial = std::make_shared<std::string>();
    auto password = std::make_shared<std::string>("888888");
    auto yes = std::make_shared<bool>(false);

    auto *battery = gbcmd->add_subcommand("battery", "read the battery level");
    battery->add_option("SERIAL", *serial, "text the recorder's serial contains")->required();
    battery->add_option("--password", *password, "login password")->capture_default_str();
    battery->callback([serial, password] {
        uint32_t level = 0;
        int32_t st = 0;
        int32_t r = GBCmd_GetBatteryVal(serial->c_str(), password->c_str(), &level, &st);
        ExitCode() = Report(kGbCmdWords, "battery", r, st, Json{{"battery", level}});
    });

    for (const GbCmdVerb &verb : kGbCmdVerbs) {
        auto *cmd = gbcmd->add_subcommand(verb.name, verb.about);
        cmd->add_option("SERIAL", *serial, "text the recorder's serial contains")->required();
        cmd->add_option("--password", *password, "login password")->capture_default_str();
        cmd->add_flag("--yes", *yes, "really do it");
        cmd->callback([serial, password, yes, &verb] {
            if (verb.needs_yes && !*yes) UsageError(std::string(verb.name) + " needs --yes");
            int32_t st = 0;
            int32_t r = verb.run(serial->c_str(), password->c_str(), &st);
            ExitCode() = Report(kGbCmdWords, verb.name, r, st, Json::object());
        });
    }
}

}  // namespace

void AddStandardCommands(CLI::App &app) {
    AddGb(app);
    AddGbCmd(app);
}

}  // namespace vxctl
