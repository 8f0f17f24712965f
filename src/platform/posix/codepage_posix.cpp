// Narrow texts on POSIX are UTF-8; wide texts are UTF-16. Malformed input is
// converted with U+FFFD (or '?' towards the narrow side), as the Windows
// conversions substitute their replacement characters.
#include "platform/platform.h"

#include <vector>

namespace vx::platform {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence starting at s; advances s past it.
char32_t DecodeUtf8(const unsigned char *&s) {
    unsigned char c = *s++;
    if (c < 0x80) return c;
    int extra;
    char32_t cp;
    if ((c & 0xE0) == 0xC0) {
        extra = 1;
        cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        extra = 2;
        cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        extra = 3;
        cp = c & 0x07;
    } else
        return kReplacement;
    for (int i = 0; i < extra; ++i) {
        if ((*s & 0xC0) != 0x80) return kReplacement;  // stops at the NUL too
        cp = (cp << 6) | (*s++ & 0x3F);
    }
    static const char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kReplacement;
    return cp;
}

}  // namespace

std::size_t AnsiToWide(const char *src, char16_t *dst, std::size_t capacity) {
    if (src == nullptr) return 0;
    std::vector<char16_t> out;
    const auto *s = reinterpret_cast<const unsigned char *>(src);
    while (*s) {
        char32_t cp = DecodeUtf8(s);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    out.push_back(0);
    if (dst != nullptr && out.size() <= capacity) {
        for (std::size_t i = 0; i < out.size(); ++i) dst[i] = out[i];
    }
    return out.size();
}

std::size_t WideToOem(const char16_t *src, char *dst, std::size_t capacity) {
    if (src == nullptr) return 0;
    std::string out;
    for (const char16_t *p = src; *p; ++p) {
        char32_t cp = *p;
        if (cp >= 0xD800 && cp <= 0xDBFF && p[1] >= 0xDC00 && p[1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (p[1] - 0xDC00);
            ++p;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            out.push_back('?');
            continue;
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    std::size_t need = out.size() + 1;
    if (dst != nullptr && need <= capacity) {
        out.copy(dst, out.size());
        dst[out.size()] = '\0';
    }
    return need;
}

}  // namespace vx::platform
