// Network settings and the Wi-Fi access points.
//
// The access points are kept as the value "APLIST", "ssid:password" entries
// joined by commas, and the selection as the value "APSEL".
#include <utility>

#include "commands.h"
#include "text.h"

namespace vsim {
namespace {

using AccessPoints = std::vector<std::pair<std::string, std::string>>;

AccessPoints access_points(const Recorder &rec) {
    AccessPoints aps;
    for (const std::string &entry : split(rec.get("APLIST"), ',')) {
        if (entry.empty()) continue;
        std::size_t colon = entry.find(':');
        aps.emplace_back(entry.substr(0, colon),
                         colon == std::string::npos ? "" : entry.substr(colon + 1));
    }
    return aps;
}

void store(Recorder &rec, const AccessPoints &aps) {
    std::vector<std::string> entries;
    for (const auto &ap : aps) entries.push_back(ap.first + ":" + ap.second);
    rec.set("APLIST", join(entries, ','));
}

AccessPoints::iterator find(AccessPoints &aps, const std::string &ssid) {
    for (auto it = aps.begin(); it != aps.end(); ++it)
        if (it->first == ssid) return it;
    return aps.end();
}

}  // namespace

// Three texts; the library writes "NULL" for an empty one.
std::string on_vpn(Recorder &rec, const Command &c) {
    if (c.form == '=') {
        if (split(c.args, ',').size() != 3) return kParaError;
        rec.set(c.keyword, c.args);
    }
    if (c.form == 0) return kParaError;
    return reply(c, rec.get(c.keyword));
}

// Set "address:port", answered as "address,port".
std::string on_servaddr(Recorder &rec, const Command &c) {
    if (c.form == '=') {
        std::size_t colon = c.args.rfind(':');
        if (colon == std::string::npos || !is_integer(c.args.substr(colon + 1))) return kParaError;
        rec.set(c.keyword, c.args.substr(0, colon) + "," + c.args.substr(colon + 1));
    }
    if (c.form == 0) return kParaError;
    return reply(c, rec.get(c.keyword));
}

// "ssid:password" adds an access point, or changes a known one's password.
std::string on_apadd(Recorder &rec, const Command &c) {
    std::size_t colon = c.args.find(':');
    if (c.form != '=' || colon == 0 || colon == std::string::npos ||
        c.args.find(',') != std::string::npos)
        return kParaError;
    std::string ssid = c.args.substr(0, colon);
    AccessPoints aps = access_points(rec);
    auto it = find(aps, ssid);
    if (it == aps.end())
        aps.emplace_back(ssid, c.args.substr(colon + 1));
    else
        it->second = c.args.substr(colon + 1);
    store(rec, aps);
    return reply(c, ssid);
}

// Answers the ssid it removed ("ALL" for all); nothing when it knew none.
std::string on_apdel(Recorder &rec, const Command &c) {
    if (c.form != '=' || c.args.empty()) return kParaError;
    AccessPoints aps = access_points(rec);
    if (c.args == "ALL") {
        store(rec, {});
        rec.set("APSEL", "");
        return reply(c, "ALL");
    }
    auto it = find(aps, c.args);
    if (it == aps.end()) return reply(c, "");
    aps.erase(it);
    store(rec, aps);
    if (rec.get("APSEL") == c.args) rec.set("APSEL", "");
    return reply(c, c.args);
}

// Selects a known access point; the query answers the selection.
std::string on_apsel(Recorder &rec, const Command &c) {
    if (c.form == '?') {
        AccessPoints aps = access_points(rec);
        std::string sel = rec.get("APSEL");
        return reply(c, find(aps, sel) == aps.end() ? "" : sel);
    }
    if (c.form != '=' || c.args.empty()) return kParaError;
    AccessPoints aps = access_points(rec);
    if (find(aps, c.args) == aps.end()) return reply(c, "");
    rec.set("APSEL", c.args);
    return reply(c, c.args);
}

// cppcheck-suppress constParameter ; every command handler has the one signature
std::string on_aplist(Recorder &rec, const Command &c) {
    if (c.form != '?') return kParaError;
    std::vector<std::string> ssids;
    for (const auto &ap : access_points(rec)) ssids.push_back(ap.first);
    return reply(c, join(ssids, ','));
}

}  // namespace vsim
