// vxctl datapack, osd get|set, user-cmd: the data channel, on-screen
// display texts and the caller's own command lines.
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "commands.h"
#include "output.h"
#include "read_text.h"
#include "target.h"

namespace vxctl {
namespace {

int32_t ParseInt(const std::string &word, const char *what) {
    errno = 0;
    char *end = nullptr;
    long value = std::strtol(word.c_str(), &end, 10);
    if (word.empty() || *end != '\0' || errno == ERANGE || value < INT32_MIN || value > INT32_MAX)
        UsageError(std::string(what) + " must be an integer, not '" + word + "'");
    return static_cast<int32_t>(value);
}

struct PackArgs {
    std::vector<std::string> words;
    std::string file;
    int first = 1;
};

// Numbered packs of at most VX_DATA_PACK_MAX bytes, the first numbered --first.
int DataPack(const PackArgs &a, VestraInfo *dev, const char *pw) {
    const std::string data = TextOrFile(a.words, a.file, " ");
    int32_t pack = a.first;
    for (std::size_t at = 0; at < data.size(); at += VX_DATA_PACK_MAX, ++pack) {
        const std::size_t n = std::min<std::size_t>(VX_DATA_PACK_MAX, data.size() - at);
        if (!VX_SendDataPack(dev, pw, pack, reinterpret_cast<const uint8_t *>(data.data() + at),
                             int32_t(n)))
            return Failed(dev, "datapack " + std::to_string(pack));
    }
    Print(Json{{"packs", pack - a.first}, {"bytes", data.size()}, {"first", a.first}});
    return kOk;
}

struct OsdArgs {
    std::string index, value, text;
};

int OsdGet(const OsdArgs &a, VestraInfo *dev, const char *pw) {
    uint32_t value = 0;
    char text[VX_TEXT_AREA] = {};
    if (!VX_GetVideoOsd(dev, pw, ParseInt(a.index, "INDEX"), &value, text, sizeof text))
        return Failed(dev, "osd get " + a.index);
    Print(Json{{"osd" + a.index, {{"value", value}, {"text", text}}}});
    return kOk;
}

int OsdSet(const OsdArgs &a, VestraInfo *dev, const char *pw) {
    if (!VX_SetVideoOsd(dev, pw, ParseInt(a.index, "INDEX"), ParseInt(a.value, "VALUE"),
                        a.text.c_str()))
        return Failed(dev, "osd set " + a.index);
    return PrintDone("osd set " + a.index);
}

int UserCmd(std::string line, VestraInfo *dev, const char *pw) {
    std::vector<char> cmd(line.begin(), line.end());
    cmd.push_back('\0');
    std::vector<char> reply(VX_USER_REPLY_AREA, '\0');
    if (!VX_SendUserCmd(dev, pw, cmd.data(), reply.data())) return Failed(dev, "user-cmd");
    std::string text;
    for (const char *c = reply.data(); *c; ++c)
        if (*c != '\r') text += *c;
    if (g_json_output)
        Print(Json{{"reply", text}});
    else
        std::fputs(text.c_str(), stdout);
    return kOk;
}

}  // namespace

void AddDataCommands(CLI::App &app) {
    auto pack = std::make_shared<PackArgs>();
    auto *datapack = AddDeviceCommand(
        app, "datapack", "send a text or a file as numbered data packs of at most 76800 bytes",
        [pack](VestraInfo *d, const char *pw) { return DataPack(*pack, d, pw); },
        [pack] {
            if (TextOrFile(pack->words, pack->file, " ").empty()) UsageError("nothing to send");
        });
    datapack->add_option("TEXT", pack->words, "the data as text");
    datapack->add_option("--file", pack->file, "send this file's bytes");
    datapack->add_option("--first", pack->first, "number of the first pack")->capture_default_str();

    auto *osd = app.add_subcommand("osd", "on-screen display texts, by index");
    osd->require_subcommand(1);
    auto get = std::make_shared<OsdArgs>();
    AddDeviceCommand(
        *osd, "get", "read the value and text at INDEX",
        [get](VestraInfo *d, const char *pw) { return OsdGet(*get, d, pw); },
        [get] { ParseInt(get->index, "INDEX"); })
        ->add_option("INDEX", get->index)
        ->required();
    auto set = std::make_shared<OsdArgs>();
    auto *osd_set = AddDeviceCommand(
        *osd, "set", "write VALUE and TEXT at INDEX",
        [set](VestraInfo *d, const char *pw) { return OsdSet(*set, d, pw); },
        [set] { ParseInt(set->index, "INDEX"), ParseInt(set->value, "VALUE"); });
    osd_set->add_option("INDEX", set->index)->required();
    osd_set->add_option("VALUE", set->value)->required();
    osd_set->add_option("TEXT", set->text)->required();

    auto line = std::make_shared<std::string>();
    AddDeviceCommand(app, "user-cmd",
                     "send your own VX+ line through the library and print the whole reply",
                     [line](VestraInfo *d, const char *pw) { return UserCmd(*line, d, pw); })
        ->add_option("LINE", *line, "e.g. VX+DEVNAME?")
        ->required();
}

}  // namespace vxctl
