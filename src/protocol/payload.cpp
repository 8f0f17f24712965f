#include "protocol/payload.h"

#include <cstring>

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

int CopyRawPayload(const char *reply, std::string_view key, char *out, std::size_t out_size) {
    std::string_view payload;
    if (reply == nullptr || !FindPayload(reply, key, &payload)) return 1;
    if (out != nullptr && out_size > 0) {
        std::memcpy(out, payload.data(), payload.size() < out_size ? payload.size() : out_size);
    }
    return 0;
}

}  // namespace vx
