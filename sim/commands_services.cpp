// The platform service configurations: keyed lists "key:value," whose keys
// each family fixes. A set merges its pairs into the stored ones (keys it
// leaves out keep their values); a get answers every key in wire order.
#include <cstring>

#include "commands.h"
#include "text.h"

namespace vsim {
namespace {

struct Family {
    const char *keyword;
    const char *fields;       // after bEnable, in wire order
    const char *report_time;  // default ReportTime, or null when none
};

const Family kFamilies[] = {
    {"TALKBACKCFG", "ServIP,ServPort,DevNo,DevName,DevPasswd", nullptr},
    {"GB28181CFG", "ServIP,ServPort,DevNo,ChnNo,Chnname,ServID,Name,Passwd", nullptr},
    {"GPSSERVCFG", "ServIP,ServPort,DevNo,Passwd,ReportTime", "30"},
    {"CMSV6CFG", "ServIP,ServPort,DevNo,ReportTime", "30"},
    {"PTYTCFG", "ServIP,ServPort,DevNo,DevName,DevPasswd,ReportTime", "30"},
    {"LBSCFG", "LoginUrl,DevPasswd,ReportTime", "60"},
    {"0787SERV01CFG", "ServIP,ServPort,DevNo,Passwd,ReportTime", "30"},
    {"DIAGNOSTICCFG", "ServIP,ServPort", nullptr},
};

using Pairs = std::vector<std::pair<std::string, std::string>>;

std::vector<std::string> keys_of(const Family &f) {
    std::vector<std::string> keys = split(f.fields, ',');
    keys.insert(keys.begin(), "bEnable");
    return keys;
}

// "k:v,k:v," -> pairs; false on a piece without a key and colon.
bool parse_pairs(const std::string &text, Pairs *out) {
    for (const std::string &piece : split(text, ',')) {
        if (piece.empty()) continue;
        std::size_t colon = piece.find(':');
        if (colon == 0 || colon == std::string::npos) return false;
        out->emplace_back(piece.substr(0, colon), piece.substr(colon + 1));
    }
    return true;
}

std::string lookup(const Pairs &pairs, const std::string &key) {
    for (const auto &kv : pairs)
        if (kv.first == key) return kv.second;
    return key == "bEnable" ? "0" : "";
}

std::string wire_text(const Family &f, const Pairs &pairs) {
    std::string out;
    for (const std::string &key : keys_of(f)) out += key + ":" + lookup(pairs, key) + ",";
    return out;
}

bool known(const Family &f, const std::string &key) {
    for (const std::string &k : keys_of(f))
        if (k == key) return true;
    return false;
}

// The pairs of a set: ended by a comma, led by an integer bEnable, keys of the family.
bool valid_set(const Family &f, const std::string &args, Pairs *pairs) {
    if (args.empty() || args.back() != ',' || !parse_pairs(args, pairs)) return false;
    if (pairs->empty() || pairs->front().first != "bEnable" || !is_integer(pairs->front().second))
        return false;
    for (const auto &kv : *pairs) {
        if (!known(f, kv.first)) return false;
        if (kv.first == "ReportTime" && !is_integer(kv.second)) return false;
    }
    return true;
}

}  // namespace

std::string on_service(Recorder &rec, const Command &c) {
    const Family *f = nullptr;
    for (const Family &fam : kFamilies)
        if (c.keyword == fam.keyword) f = &fam;
    if (!f || c.form == 0) return kParaError;
    Pairs stored;
    parse_pairs(rec.get(c.keyword), &stored);
    if (c.form == '=') {
        Pairs given;
        if (!valid_set(*f, c.args, &given)) return kParaError;
        for (const auto &kv : given) {
            bool found = false;
            for (auto &s : stored)
                if (s.first == kv.first) s.second = kv.second, found = true;
            if (!found) stored.push_back(kv);
        }
        rec.set(c.keyword, wire_text(*f, stored));
    }
    return reply(c, wire_text(*f, stored));
}

Pairs service_defaults() {
    Pairs out;
    for (const Family &f : kFamilies) {
        Pairs d;
        if (f.report_time) d.emplace_back("ReportTime", f.report_time);
        out.emplace_back(f.keyword, wire_text(f, d));
    }
    return out;
}

}  // namespace vsim
