// Settings that are one stored text: a get answers it, a set stores it and
// echoes it (a reply needs a data line: "OK\r\n" alone never completes).
#include "commands.h"
#include "text.h"

namespace vsim {

std::string on_text(Recorder &rec, const Command &c) {
    if (c.form == '=') rec.set(c.keyword, c.args);
    if (c.form == 0) return kParaError;
    return reply(c, rec.get(c.keyword));
}

std::string on_number(Recorder &rec, const Command &c) {
    if (c.form == '=' && !is_integer(c.args)) return kParaError;
    return on_text(rec, c);
}

// cppcheck-suppress constParameter ; every command handler has the one signature
std::string on_read_only(Recorder &rec, const Command &c) {
    if (c.form != '?') return kParaError;
    return reply(c, rec.get(c.keyword));
}

// Keywords outside the protocol that a test or scenario stored.
std::string on_stored(Recorder &rec, const Command &c) {
    if (c.form == '=') {
        rec.set(c.keyword, c.args);
        return reply(c, c.args);
    }
    for (const auto &kv : rec.values)
        if (kv.first == c.keyword) return reply(c, kv.second);
    return "Error: unsupported command\r\n";
}

}  // namespace vsim
