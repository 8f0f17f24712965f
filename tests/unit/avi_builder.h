// Crafts small AVI files for reader and decryption tests: any mix of stream
// types, avih sizes, index layouts, tag cases and chunk sizes.
#pragma once

#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

namespace testavi {

using Bytes = std::vector<uint8_t>;

// Little-endian pieces.
inline void put32(Bytes &b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
inline void put(Bytes &b, const char *tag) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(tag[i]));  // not insert: GCC 12
}
inline void wr32(Bytes &b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

struct FrameSpec {
    std::string tag = "00dc";
    uint32_t size = 300;
    uint32_t flags = 0x10;
};

enum class Index { relative, absolute, none };
enum class TagCase { as_is, upper, lower };

struct AviSpec {
    std::vector<std::string> streams{"vids"};  // stream types in header order
    bool video_strf = true;
    uint32_t avih_size = 56;
    uint8_t marker = 0;
    Index index = Index::relative;
    TagCase tag_case = TagCase::as_is;
    std::vector<FrameSpec> frames{FrameSpec{}};
};

struct Built {
    Bytes bytes;
    std::vector<uint64_t> data_pos;  // first data byte of each frame, in order
    size_t movi = 0;                 // offset of the "movi" fourcc
};

class AviBuilder {
public:
    explicit AviBuilder(const AviSpec &s) : s_(s) {}

    Built build() {
        Built out;
        b_.clear();
        tag("RIFF");
        size_t riff = u32(0);
        tag("AVI ");
        size_t hdrl = list("hdrl");
        tag("avih");
        u32(s_.avih_size);
        for (uint32_t i = 0; i < s_.avih_size; ++i) b_.push_back(i == 47 ? s_.marker : 0);
        pad();
        for (const std::string &type : s_.streams) {
            size_t strl = list("strl");
            tag("strh");
            u32(56);
            tag(type.c_str());
            b_.resize(b_.size() + 52);
            if (type != "vids" || s_.video_strf) {
                tag("strf");
                u32(40);
                b_.resize(b_.size() + 40);
            }
            close(strl);
        }
        close(hdrl);
        size_t movi = list("movi");
        out.movi = movi + 4;
        std::vector<uint64_t> hdr_pos;
        for (const FrameSpec &f : s_.frames) {
            hdr_pos.push_back(b_.size());
            tag(f.tag.c_str());
            u32(f.size);
            for (uint32_t i = 0; i < f.size; ++i)
                b_.push_back(static_cast<uint8_t>(b_.size() * 7 + 3));
            pad();
            out.data_pos.push_back(hdr_pos.back() + 8);
        }
        close(movi);
        if (s_.index != Index::none) {
            tag("idx1");
            u32(static_cast<uint32_t>(16 * s_.frames.size()));
            for (size_t i = 0; i < s_.frames.size(); ++i) {
                tag(s_.frames[i].tag.c_str());
                u32(s_.frames[i].flags);
                u32(static_cast<uint32_t>(s_.index == Index::absolute ? hdr_pos[i]
                                                                      : hdr_pos[i] - out.movi));
                u32(s_.frames[i].size);
            }
        }
        wr32(b_, riff, static_cast<uint32_t>(b_.size() - 8));
        out.bytes = b_;
        return out;
    }

private:
    void tag(const char *t) {
        for (int i = 0; i < 4; ++i) {
            char c = t[i];
            if (s_.tag_case == TagCase::upper) c = static_cast<char>(std::toupper(c));
            if (s_.tag_case == TagCase::lower) c = static_cast<char>(std::tolower(c));
            b_.push_back(static_cast<uint8_t>(c));
        }
    }
    // Returns the offset of the value.
    size_t u32(uint32_t v) {
        put32(b_, v);
        return b_.size() - 4;
    }
    void pad() {
        if (b_.size() & 1) b_.push_back(0);
    }
    // Returns the offset of the list's size field.
    size_t list(const char *type) {
        tag("LIST");
        size_t at = u32(0);
        tag(type);
        return at;
    }
    void close(size_t size_at) {
        wr32(b_, size_at, static_cast<uint32_t>(b_.size() - size_at - 4));
    }

    AviSpec s_;
    Bytes b_;
};

inline Built build_avi(const AviSpec &s) { return AviBuilder(s).build(); }

// The start of an encrypted one-video-stream file up to the "movi" list type,
// whose data the caller writes straight after (for recordings too large to
// build in memory).
inline Bytes encrypted_head(uint32_t riff_size, uint32_t movi_size) {
    const Built built = build_avi({.marker = 1, .index = Index::none, .frames = {}});
    Bytes b(built.bytes.begin(), built.bytes.begin() + 4);
    put32(b, riff_size);
    b.insert(b.end(), built.bytes.begin() + 8, built.bytes.begin() + long(built.movi) - 4);
    put32(b, movi_size);
    put(b, "movi");
    return b;
}

}  // namespace testavi
