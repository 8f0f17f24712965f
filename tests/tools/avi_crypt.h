// Test-side AVI walker and encryptor, written independently of the library:
// it finds the marker byte and the key frames the way a recorder would, and
// encrypts with OpenSSL's DES. The library itself never encrypts.
#pragma once

#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/des.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "unit/avi_builder.h"

namespace testavi {

inline uint32_t rd32(const Bytes &b, size_t p) {
    return uint32_t(b[p]) | uint32_t(b[p + 1]) << 8 | uint32_t(b[p + 2]) << 16 |
           uint32_t(b[p + 3]) << 24;
}
inline bool tag_is(const Bytes &b, size_t p, const char *t) {
    for (int i = 0; i < 4; ++i)
        if (std::tolower(b[p + i]) != std::tolower(static_cast<unsigned char>(t[i]))) return false;
    return true;
}

struct Chunk {
    size_t header;  // offset of the chunk's tag
    uint32_t size;
};

// Where things are in a file: marker byte, "movi" fourcc, idx1 data, the
// chunks inside movi (nested lists entered).
struct Layout {
    size_t marker = 0, movi = 0, idx1 = 0, riff_size_at = 4;
    uint32_t idx1_size = 0;
    std::vector<Chunk> movi_chunks;
    std::vector<Chunk> headers;  // every chunk (not list) of hdrl
};

inline void walk_list(const Bytes &b, size_t p, size_t end, std::vector<Chunk> &out) {
    while (p + 8 <= end) {
        uint32_t sz = rd32(b, p + 4);
        if (tag_is(b, p, "LIST")) {
            walk_list(b, p + 12, std::min(end, p + 8 + sz), out);
        } else {
            out.push_back({p, sz});
        }
        p += 8 + sz + (sz & 1);
    }
}

inline Layout parse(const Bytes &b) {
    Layout l;
    size_t p = 12;
    while (p + 8 <= b.size()) {
        uint32_t sz = rd32(b, p + 4);
        if (tag_is(b, p, "LIST") && tag_is(b, p + 8, "hdrl")) {
            walk_list(b, p + 12, p + 8 + sz, l.headers);
        } else if (tag_is(b, p, "LIST") && tag_is(b, p + 8, "movi")) {
            l.movi = p + 8;
            walk_list(b, p + 12, std::min(b.size(), p + 8 + sz), l.movi_chunks);
        } else if (tag_is(b, p, "idx1")) {
            l.idx1 = p + 8;
            l.idx1_size = sz;
        }
        p += 8 + sz + (sz & 1);
    }
    for (const Chunk &c : l.headers)
        if (tag_is(b, c.header, "avih") && c.size == 56) l.marker = c.header + 55;
    return l;
}

inline bool is_video_tag(const Bytes &b, size_t p) {
    return std::isdigit(b[p]) && std::isdigit(b[p + 1]) && std::tolower(b[p + 2]) == 'd' &&
           (std::tolower(b[p + 3]) == 'c' || std::tolower(b[p + 3]) == 'b');
}

// Data offsets of the key frames listed in idx1 (flags 0x10), whether the
// index counts from the file start or from the movi fourcc.
inline std::vector<size_t> key_frames(const Bytes &b, const Layout &l) {
    std::vector<size_t> out;
    if (l.idx1 == 0) return out;
    for (size_t e = l.idx1; e + 16 <= l.idx1 + l.idx1_size; e += 16) {
        if (!is_video_tag(b, e) || !(rd32(b, e + 4) & 0x10)) continue;
        size_t off = rd32(b, e + 8);
        size_t hdr = off + 8 <= b.size() && tag_is(b, off, reinterpret_cast<const char *>(&b[e]))
                         ? off
                         : l.movi + off;
        out.push_back(hdr + 8);
    }
    return out;
}

// Encrypts bytes 24..279 of the frame whose data starts at pos with DES
// (ECB) under the key text, zero-padded to 8 bytes.
inline void encrypt_frame(Bytes &b, size_t pos, const std::string &key_text) {
    DES_cblock key = {};
    std::memcpy(key, key_text.data(), std::min<size_t>(8, key_text.size()));
    DES_key_schedule ks;
    DES_set_key_unchecked(&key, &ks);
    for (size_t at = pos + 24; at < pos + 280; at += 8) {
        DES_cblock in, out;
        std::memcpy(in, &b[at], 8);
        DES_ecb_encrypt(&in, &out, &ks, DES_ENCRYPT);
        std::memcpy(&b[at], out, 8);
    }
}

// Encrypts bytes 24..279 of every key frame and sets the marker. Returns the
// number of frames encrypted, or -1 when the file has no marker place or a
// key frame window runs past the end.
inline int encrypt_avi(Bytes &b, const std::string &key_text, uint8_t marker = 1) {
    Layout l = parse(b);
    if (l.marker == 0) return -1;
    int n = 0;
    for (size_t pos : key_frames(b, l)) {
        if (pos + 280 > b.size()) return -1;
        encrypt_frame(b, pos, key_text);
        ++n;
    }
    b[l.marker] = marker;
    return n;
}

}  // namespace testavi
