// Configuration requests, INI-like and JSON, over one configuration store.
//
// INI: entries "Section.Key=value" (set), "Section.Key=?" (query),
// "Section.Key+=item" (add the item to the key's comma list),
// "Section.Key-=item" (remove it; "-=" with nothing removes the key), joined
// by '|'. An entry without a section (".Key=..." or "Key=...") takes the one
// before it. Spaces are dropped first. The answer lists each entry's key
// with its resulting value, in the same form.
// JSON: {"Section": {"Key": value, ...}, ...}; null asks, anything else sets.
// The answer is the compact JSON of the keys named, with their values.
#include <nlohmann/json.hpp>

#include <algorithm>

#include "commands.h"
#include "config_store.h"
#include "text.h"

namespace vsim {
namespace {

struct IniEntry {
    std::string section, key, value;
    char op;  // '?', '=', '+', '-'
};

bool parse_ini(const std::string &request, std::vector<IniEntry> *out) {
    std::string text = request;
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    std::string section;
    for (const std::string &piece : split(text, '|')) {
        std::size_t eq = piece.find('=');
        if (eq == std::string::npos || eq == 0) return false;
        IniEntry e;
        std::size_t name_end = eq;
        e.op = '=';
        if (piece[eq - 1] == '+' || piece[eq - 1] == '-') e.op = piece[--name_end];
        e.value = piece.substr(eq + 1);
        if (e.op == '=' && e.value == "?") e.op = '?';
        std::string name = piece.substr(0, name_end);
        std::size_t dot = name.find('.');
        if (dot != std::string::npos && dot > 0) section = name.substr(0, dot);
        e.section = section;
        e.key = dot == std::string::npos ? name : name.substr(dot + 1);
        if (!valid_name(e.section) || !valid_name(e.key) || !valid_value(e.value)) return false;
        if (e.op == '+' && (e.value.empty() || e.value.find(',') != std::string::npos))
            return false;
        out->push_back(e);
    }
    return true;
}

void apply(ConfigStore &store, const IniEntry &e) {
    const std::string *now = store.find(e.section, e.key);
    if (e.op == '=') store.set(e.section, e.key, e.value);
    if (e.op == '+' || e.op == '-') {
        std::vector<std::string> items;
        if (now && !now->empty()) items = split(*now, ',');
        auto it = std::find(items.begin(), items.end(), e.value);
        if (e.op == '+') {
            if (it == items.end()) items.push_back(e.value);
        } else if (it != items.end()) {
            items.erase(it);
        }
        if (e.op == '-' && (e.value.empty() || items.empty()))
            store.erase(e.section, e.key);
        else
            store.set(e.section, e.key, join(items, ','));
    }
}

}  // namespace

std::string on_umsini(Recorder &rec, const Command &c) {
    std::vector<IniEntry> entries;
    if (c.form != '=' || !parse_ini(c.args, &entries)) return kParaError;
    ConfigStore store(rec);
    std::vector<std::string> answer;
    for (const IniEntry &e : entries) {
        apply(store, e);
        const std::string *v = store.find(e.section, e.key);
        answer.push_back(e.section + "." + e.key + "=" + (v ? *v : ""));
    }
    store.save(rec);
    return reply(c, join(answer, '|'));
}

std::string on_umsjson(Recorder &rec, const Command &c) {
    using nlohmann::ordered_json;
    if (c.form != '=') return kParaError;
    ordered_json request = ordered_json::parse(c.args, nullptr, false);
    if (request.is_discarded() || !request.is_object() || request.empty()) return kParaError;
    // Checked whole first: a bad request changes nothing.
    for (const auto &section : request.items()) {
        if (!valid_name(section.key()) || !section.value().is_object()) return kParaError;
        for (const auto &kv : section.value().items()) {
            const ordered_json &v = kv.value();
            if (!valid_name(kv.key()) || v.is_object() || v.is_array()) return kParaError;
            if (v.is_string() && !valid_value(v.get<std::string>())) return kParaError;
        }
    }
    ConfigStore store(rec);
    ordered_json answer = ordered_json::object();
    for (const auto &section : request.items()) {
        for (const auto &kv : section.value().items()) {
            const ordered_json &v = kv.value();
            if (!v.is_null())
                store.set(section.key(), kv.key(), v.is_string() ? v.get<std::string>() : v.dump());
            const std::string *now = store.find(section.key(), kv.key());
            answer[section.key()][kv.key()] = now ? ordered_json(*now) : ordered_json();
        }
    }
    std::string text;
    try {
        text = answer.dump();
    } catch (const nlohmann::json::exception &) {  // not UTF-8
        return kParaError;
    }
    store.save(rec);
    return reply(c, text);
}

}  // namespace vsim
