// The recorder models the library knows, by name, as the virtual bus plugs them.
#include <cstdint>
#include <cstring>

#include "internal.h"

namespace vsim {
namespace {

struct ModelRow {
    const char *name;
    uint16_t vid, pid;
    int configuration, interface_no, ep_in, ep_out;
};

constexpr ModelRow kModels[] = {
    {"VX007", 0x3A7C, 0x0C07, 1, 0, 0x81, 0x01}, {"VX005", 0x3A7C, 0x0C05, 1, 0, 0x81, 0x01},
    {"VX006", 0x3A7C, 0x0C06, 1, 2, 0x83, 0x02}, {"VX004", 0x3A7C, 0x0C04, 1, 2, 0x83, 0x02},
    {"VX001", 0x5E31, 0x0001, 1, 0, 0x81, 0x01}, {"VX002", 0x5E31, 0x000F, 1, 0, 0x81, 0x01},
};

}  // namespace

std::vector<ModelInfo> models() {
    std::vector<ModelInfo> out;
    for (const ModelRow &m : kModels)
        out.push_back({m.name, m.vid, m.pid, m.configuration, m.interface_no, m.ep_in, m.ep_out});
    return out;
}

// Fills ids, configuration, interface and endpoints from the model name.
// An empty name keeps the fields as given; an unknown name fails.
bool apply_model(DeviceSpec &spec) {
    if (spec.model.empty()) return true;
    for (const ModelRow &m : kModels) {
        if (spec.model == m.name) {
            spec.vid = m.vid;
            spec.pid = m.pid;
            spec.configuration = m.configuration;
            spec.interface_no = m.interface_no;
            spec.ep_in = m.ep_in;
            spec.ep_out = m.ep_out;
            return true;
        }
    }
    return false;
}

}  // namespace vsim
