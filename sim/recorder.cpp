// A recorder's settings: keyword -> text, in the order they were first set.
#include "internal.h"

namespace vsim {

std::string Recorder::get(const std::string &key) const {
    for (const auto &kv : values)
        if (kv.first == key) return kv.second;
    return {};
}

void Recorder::set(const std::string &key, const std::string &value) {
    for (auto &kv : values) {
        if (kv.first == key) {
            kv.second = value;
            return;
        }
    }
    values.emplace_back(key, value);
}

// A preset is part of what the recorder comes back to after a factory reset.
void preset(Recorder &rec, const std::string &key, const std::string &value) {
    rec.set(key, value);
    for (auto &kv : rec.initial_values) {
        if (kv.first == key) {
            kv.second = value;
            return;
        }
    }
    rec.initial_values.emplace_back(key, value);
}

}  // namespace vsim
