// Base64 decoding for data packs and shell lines: the strict RFC 4648 form
// the library sends (standard alphabet, padded to a multiple of four).
#include <cstring>

#include "text.h"

namespace vsim {
namespace {

int sextet(char c) {
    static const char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const char *p = c ? std::strchr(kAlphabet, c) : nullptr;
    return p ? static_cast<int>(p - kAlphabet) : -1;
}

}  // namespace

bool base64_decode(const std::string &text, std::string *bytes) {
    if (text.size() % 4 != 0) return false;
    std::size_t pad = 0;  // '=' only as the last one or two characters
    while (pad < 2 && pad < text.size() && text[text.size() - 1 - pad] == '=') ++pad;
    std::string out;
    unsigned v = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        int s = i < text.size() - pad ? sextet(text[i]) : 0;
        if (s < 0) return false;
        v = (v << 6) | static_cast<unsigned>(s);
        if (i % 4 == 3) {
            out += static_cast<char>(v >> 16);
            out += static_cast<char>((v >> 8) & 0xFF);
            out += static_cast<char>(v & 0xFF);
            v = 0;
        }
    }
    out.resize(out.size() - pad);
    *bytes = std::move(out);
    return true;
}

}  // namespace vsim
