// The configuration store, read from and written back to its value text.
#include "config_store.h"

#include <cctype>

#include "text.h"

namespace vsim {

ConfigStore::ConfigStore(const Recorder &rec) {
    for (const std::string &entry : split(rec.get("UMSINI"), '|')) {
        std::size_t dot = entry.find('.'), eq = entry.find('=');
        if (dot == std::string::npos || eq == std::string::npos || eq < dot) continue;
        entries_.push_back(
            {entry.substr(0, dot), entry.substr(dot + 1, eq - dot - 1), entry.substr(eq + 1)});
    }
}

void ConfigStore::save(Recorder &rec) const {
    std::vector<std::string> texts;
    for (const ConfigEntry &e : entries_) texts.push_back(e.section + "." + e.key + "=" + e.value);
    rec.set("UMSINI", join(texts, '|'));
}

const std::string *ConfigStore::find(const std::string &section, const std::string &key) const {
    for (const ConfigEntry &e : entries_)
        if (e.section == section && e.key == key) return &e.value;
    return nullptr;
}

void ConfigStore::set(const std::string &section, const std::string &key,
                      const std::string &value) {
    for (ConfigEntry &e : entries_) {
        if (e.section == section && e.key == key) {
            e.value = value;
            return;
        }
    }
    entries_.push_back({section, key, value});
}

void ConfigStore::erase(const std::string &section, const std::string &key) {
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (it->section == section && it->key == key) {
            entries_.erase(it);
            return;
        }
    }
}

// Letters, digits, '_' and inner '-': nothing the INI form uses as syntax.
bool valid_name(const std::string &name) {
    if (name.empty() || name.back() == '-') return false;
    for (char ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch)) && ch != '_' && ch != '-') return false;
    return true;
}

bool valid_value(const std::string &value) {
    return value.find_first_of("|\r\n") == std::string::npos;
}

}  // namespace vsim
