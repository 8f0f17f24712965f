#include "util/base64.h"

namespace vx {

std::string Base64Encode(const uint8_t *data, std::size_t length) {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    static constexpr uint8_t kNull[] = {'N', 'U', 'L', 'L'};
    if (length == 0 || data == nullptr) {
        data = kNull;
        length = sizeof kNull;
    }
    std::string out;
    out.reserve((length + 2) / 3 * 4);
    for (std::size_t i = 0; i < length; i += 3) {
        uint32_t n = uint32_t(data[i]) << 16;
        if (i + 1 < length) n |= uint32_t(data[i + 1]) << 8;
        if (i + 2 < length) n |= data[i + 2];
        out += kAlphabet[(n >> 18) & 63];
        out += kAlphabet[(n >> 12) & 63];
        out += i + 1 < length ? kAlphabet[(n >> 6) & 63] : '=';
        out += i + 2 < length ? kAlphabet[n & 63] : '=';
    }
    return out;
}

}  // namespace vx
