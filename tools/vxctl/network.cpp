#include "network.h"

#include <algorithm>
#include <string>

namespace vxctl {
namespace {

// The list text is the device's own: names separated by commas, a name
// possibly followed by ":" and its password, which is not shown.
Json SplitList(const std::string &text) {
    Json names = Json::array();
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(',', start);
        if (end == std::string::npos) end = text.size();
        std::string item = text.substr(start, end - start);
        item.resize(std::min(item.size(), item.find(':')));
        if (!item.empty()) names.push_back(item);
        start = end + 1;
    }
    return names;
}

}  // namespace

bool ReadAccessPoints(VestraInfo *dev, const char *pw, Json &value) {
    char list[VX_AP_LIST_AREA] = {};
    if (!VX_GetApList(dev, pw, list)) return false;
    value = Json::object();
    value["access_points"] =
        VX_GetErrNo(dev) == VX_STATUS_AP_EMPTY_LIST ? Json::array() : SplitList(list);
    char selected[VX_TEXT_AREA] = {};
    if (!VX_GetSelAp(dev, pw, selected))
        value["selected"] = Unavailable(dev);
    else if (VX_GetErrNo(dev) == VX_STATUS_AP_EMPTY_SEL)
        value["selected"] = nullptr;
    else
        value["selected"] = selected;
    return true;
}

}  // namespace vxctl
