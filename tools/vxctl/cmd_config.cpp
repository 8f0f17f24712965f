// vxctl config get|set: configuration requests in INI ("Section.Key=value",
// joined by "|") or JSON, and the recorder's answer.
#include <memory>
#include <string>
#include <vector>

#include "commands.h"
#include "output.h"
#include "read_text.h"
#include "target.h"

namespace vxctl {
namespace {

struct ConfigArgs {
    std::vector<std::string> words;
    std::string file;
    bool as_json = false;  // get: ask in JSON form
};

bool IsJson(const std::string &text) {
    std::size_t at = text.find_first_not_of(" \t\r\n");
    return at != std::string::npos && text[at] == '{';
}

// An INI answer "S.K=v|S.K2=v2" becomes {"S.K": "v", ...}; a JSON answer is
// kept as JSON when it parses.
Json Answer(const std::string &answer, bool json) {
    if (json) {
        Json parsed = Json::parse(answer, nullptr, false);
        if (!parsed.is_discarded()) return parsed;
        return answer;
    }
    Json entries = Json::object();
    std::size_t start = 0;
    while (start <= answer.size()) {
        std::size_t end = answer.find('|', start);
        if (end == std::string::npos) end = answer.size();
        std::string entry = answer.substr(start, end - start);
        std::size_t eq = entry.find('=');
        if (!entry.empty())
            entries[entry.substr(0, eq)] = eq == std::string::npos ? "" : entry.substr(eq + 1);
        start = end + 1;
    }
    return entries;
}

int Send(const std::string &what, const std::string &text, VestraInfo *dev, const char *pw) {
    const bool json = IsJson(text);
    char answer[VX_TEXT_AREA] = {};
    uint32_t ok = json ? VX_DevCfgJsonStr(dev, pw, text.c_str(), answer, sizeof answer)
                       : VX_DevCfgIniStr(dev, pw, text.c_str(), answer, sizeof answer);
    if (!ok) return Failed(dev, what);
    Print(Json{{"config", Answer(answer, json)}});
    return kOk;
}

// get: "Section.Key" words become a query ("S.K=?|..." or {"S":{"K":null}});
// a file is sent as written.
std::string Query(const ConfigArgs &a) {
    if (!a.file.empty()) return TextOrFile({}, a.file, "");
    if (a.words.empty()) UsageError("usage: vxctl config get Section.Key... | --file FILE");
    Json json = Json::object();
    std::string ini;
    for (const std::string &w : a.words) {
        std::size_t dot = w.find('.');
        if (dot == std::string::npos || dot == 0 || dot + 1 == w.size())
            UsageError("'" + w + "' is not Section.Key");
        json[w.substr(0, dot)][w.substr(dot + 1)] = nullptr;
        ini += (ini.empty() ? "" : "|") + w + "=?";
    }
    return a.as_json ? json.dump() : ini;
}

}  // namespace

void AddConfigCommands(CLI::App &app) {
    auto *config = app.add_subcommand("config", "configuration requests in INI or JSON form");
    config->require_subcommand(1);

    auto get_args = std::make_shared<ConfigArgs>();
    auto *get = AddDeviceCommand(
        *config, "get", "ask for keys: config get Video.FrameRate System.Language",
        [get_args](VestraInfo *d, const char *pw) {
            return Send("config get", Query(*get_args), d, pw);
        },
        [get_args] { Query(*get_args); });
    get->add_option("KEYS", get_args->words, "Section.Key ...");
    get->add_option("--file", get_args->file, "send this request file as it is");
    get->add_flag("--as-json", get_args->as_json, "ask in JSON form instead of INI");

    auto set_args = std::make_shared<ConfigArgs>();
    auto text = [set_args] { return TextOrFile(set_args->words, set_args->file, "|"); };
    auto *set = AddDeviceCommand(
        *config, "set",
        "send entries: config set Video.FrameRate=25 'Net.Hosts+=a', or a JSON object",
        [text](VestraInfo *d, const char *pw) { return Send("config set", text(), d, pw); },
        [text] { text(); });
    set->add_option("ENTRIES", set_args->words,
                    "Section.Key=value (+= adds, -= removes), joined by |; or JSON");
    set->add_option("--file", set_args->file, "send this file (INI or JSON) as it is");
}

}  // namespace vxctl
