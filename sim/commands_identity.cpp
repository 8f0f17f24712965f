// Identity record, clock and account.
#include <cctype>

#include "commands.h"
#include "text.h"

namespace vsim {
namespace {

bool is_time14(const std::string &t) {
    if (t.size() != 14) return false;
    for (char ch : t)
        if (!std::isdigit(static_cast<unsigned char>(ch))) return false;
    return true;
}

// A preset may give the time alone: the other fields keep these.
const char *const kClockDefaults[] = {"20240101000000", "0", "0", "UTC"};

std::vector<std::string> clock_fields(const Recorder &rec) {
    std::vector<std::string> f = split(rec.get("SYSTIME"), ',');
    if (f.size() > 4) f.resize(4);
    for (std::size_t i = f.size(); i < 4; ++i) f.push_back(kClockDefaults[i]);
    if (f[0].empty()) f[0] = kClockDefaults[0];
    return f;
}

}  // namespace

// Five texts, as the identity record holds them.
std::string on_gbcfg(Recorder &rec, const Command &c) {
    if (c.form == '=') {
        if (split(c.args, ',').size() != 5) return kParaError;
        rec.set(c.keyword, c.args);
    }
    if (c.form == 0) return kParaError;
    return reply(c, rec.get(c.keyword));
}

// "t" sets the time alone; "t,0,N,text" sets all four fields.
std::string on_systime(Recorder &rec, const Command &c) {
    if (c.form == 0) return kParaError;
    std::vector<std::string> f = clock_fields(rec);
    if (c.form == '=') {
        std::vector<std::string> given = split(c.args, ',');
        if (!is_time14(given[0])) return kParaError;
        if (given.size() == 4) {
            if (!is_integer(given[1]) || !is_integer(given[2])) return kParaError;
            f = given;
        } else if (given.size() == 1) {
            f[0] = given[0];
        } else {
            return kParaError;
        }
        rec.set(c.keyword, join(f, ','));
    }
    return reply(c, join(f, ','));
}

// "user:digest1:digest2": the name is answered, the digests are kept apart.
std::string on_user(Recorder &rec, const Command &c) {
    if (c.form == '=') {
        std::vector<std::string> f = split(c.args, ':');
        if (f.size() != 3 || f[0].empty() || f[1].size() != 32 || f[2].size() != 32)
            return kParaError;
        rec.set("USER", f[0]);
        rec.set("USERDIGESTS", f[1] + ":" + f[2]);
    }
    if (c.form == 0) return kParaError;
    return reply(c, rec.get("USER"));
}

}  // namespace vsim
