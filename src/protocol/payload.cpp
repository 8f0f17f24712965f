#include "protocol/payload.h"

#include <climits>
#include <cstdint>

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

int AtoiLike(std::string_view text) {
    auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    std::size_t i = 0;
    while (i < text.size() && blank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > int64_t(INT_MAX) + 1) value = int64_t(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    return int(value);
}

}  // namespace vx
