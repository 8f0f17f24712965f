#include "protocol/payload.h"

namespace vx {

bool FindPayload(std::string_view reply, std::string_view key, std::string_view *payload) {
    std::size_t at = reply.find(key);
    if (at == std::string_view::npos) return false;
    std::size_t begin = at + key.size();
    std::size_t end = reply.find("\r\n", begin);
    if (end == std::string_view::npos) return false;
    if (payload) *payload = reply.substr(begin, end - begin);
    return true;
}

}  // namespace vx
