// The configuration store behind "VX+UMSINI" and "VX+UMSJSON": entries of
// section, key and value, kept in the recorder's value "UMSINI" as
// "Section.Key=value" joined by '|'.
#pragma once

#include <string>
#include <vector>

#include "vsim.h"

#pragma GCC visibility push(hidden)

namespace vsim {

struct ConfigEntry {
    std::string section, key, value;
};

class ConfigStore {
public:
    explicit ConfigStore(const Recorder &rec);
    void save(Recorder &rec) const;

    const std::string *find(const std::string &section, const std::string &key) const;
    void set(const std::string &section, const std::string &key, const std::string &value);
    void erase(const std::string &section, const std::string &key);

private:
    std::vector<ConfigEntry> entries_;
};

// A section or key name the store can hold, and a value it can.
bool valid_name(const std::string &name);
bool valid_value(const std::string &value);

}  // namespace vsim

#pragma GCC visibility pop
