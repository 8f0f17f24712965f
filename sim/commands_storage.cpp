// Storage, power, device logs and the OSD texts. The commands that act
// rather than configure leave what they did in values a test can read:
// "UDISKEN", "MKFS", "POWEROFF", "POWERSAVE" (last argument), "FRESET" and
// "LOGEXPORT" (how many times).
#include <string>

#include "commands.h"
#include "text.h"

namespace vsim {
namespace {

void count(Recorder &rec, const std::string &key, int previous) {
    rec.set(key, std::to_string(previous + 1));
}

int number(const Recorder &rec, const std::string &key) {
    std::string v = rec.get(key);
    return is_integer(v) ? std::stoi(v) : 0;
}

// A set of one of the given arguments, stored and echoed.
std::string one_of(Recorder &rec, const Command &c, std::initializer_list<const char *> allowed) {
    if (c.form != '=') return kParaError;
    for (const char *a : allowed) {
        if (c.args == a) {
            rec.set(c.keyword, c.args);
            return reply(c, c.args);
        }
    }
    return kParaError;
}

}  // namespace

std::string on_udisken(Recorder &rec, const Command &c) {
    if (c.form != '=' || !is_integer(c.args)) return kParaError;
    rec.set(c.keyword, c.args);
    return reply(c, c.args);
}

std::string on_mkfs(Recorder &rec, const Command &c) { return one_of(rec, c, {"FAT32", "EXFAT"}); }

std::string on_powersave(Recorder &rec, const Command &c) { return one_of(rec, c, {"0", "1"}); }

// 1 powers off, 2 reboots: either way the recorder goes away.
std::string on_poweroff(Recorder &rec, const Command &c) {
    std::string r = one_of(rec, c, {"1", "2"});
    if (r != kParaError) rec.powering_off = true;
    return r;
}

// Back to the values the recorder was plugged with; the count survives.
std::string on_freset(Recorder &rec, const Command &c) {
    if (c.form != '=' || c.args != "1") return kParaError;
    int resets = number(rec, "FRESET");
    rec.values = rec.initial_values;
    count(rec, "FRESET", resets);
    return reply(c, c.args);
}

std::string on_logexport(Recorder &rec, const Command &c) {
    if (c.form != 0) return kParaError;
    count(rec, "LOGEXPORT", number(rec, "LOGEXPORT"));
    return reply(c, "OK");
}

// "VIDEOOSD<n>=value,text" per index n; an index never set answers "0,".
std::string on_videoosd(Recorder &rec, const Command &c) {
    if (c.keyword == "VIDEOOSD" || c.form == 0) return kParaError;
    if (c.form == '=') {
        std::size_t comma = c.args.find(',');
        if (comma == std::string::npos || !is_integer(c.args.substr(0, comma))) return kParaError;
        rec.set(c.keyword, c.args);
    }
    std::string v = rec.get(c.keyword);
    return reply(c, v.empty() ? "0," : v);
}

}  // namespace vsim
