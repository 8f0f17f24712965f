#include "media/avi.h"
#include "media/handlestream.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <new>
#include <vector>

#include "media/avi_index.h"
#include "media/riff.h"

namespace vx {
namespace {

constexpr uint32_t kMainHeaderSize = 56;
constexpr uint64_t kMarkerDistance = 55;  // from the "avih" tag to the marker byte

struct TopLevel {
    std::vector<uint8_t> hdrl;  // contents of the last "hdrl" list
    uint64_t hdrl_offset = 0;
};

uint64_t StreamSize(std::istream &in) {
    in.clear();
    in.seekg(0, std::ios::end);
    auto end = in.tellg();
    in.clear();
    return end < 0 ? 0 : static_cast<uint64_t>(end);
}

// Reads n bytes at pos into a fresh buffer. The size is checked against the
// file first, so a corrupt size field cannot ask for gigabytes it cannot fill.
bool ReadBlock(std::istream &in, uint64_t pos, uint64_t n, uint64_t file_size,
               std::vector<uint8_t> *out) {
    if (pos > file_size || n > file_size - pos) return false;
    out->assign(static_cast<std::size_t>(n), 0);
    return riff::ReadAt(in, pos, out->data(), out->size()) == out->size();
}

// Walks the top-level chunks from offset 12: the header list's contents, the
// movi list's place and the idx1 entries.
bool WalkTopLevel(avi_reader &r, std::istream &in, TopLevel *top) {
    const uint64_t file_size = StreamSize(in);
    uint64_t pos = 12;
    uint8_t hdr[8];
    while (riff::ReadAt(in, pos, hdr, 8) == 8) {
        pos += 8;
        uint64_t n = riff::padded(riff::le32(hdr + 4));
        if (riff::TagEq(hdr, "LIST")) {
            uint8_t type[4];
            if (riff::ReadAt(in, pos, type, 4) < 4) return false;
            pos += 4;
            n = n < 4 ? 0 : n - 4;  // a list too small for its own type holds nothing
            if (riff::TagEq(type, "hdrl")) {
                top->hdrl_offset = pos;
                if (!ReadBlock(in, pos, n, file_size, &top->hdrl)) return false;
            } else if (riff::TagEq(type, "movi")) {
                r.movi_offset = pos;
            }
        } else if (riff::TagEq(hdr, "idx1")) {
            std::vector<uint8_t> raw;
            if (!ReadBlock(in, pos, n, file_size, &raw)) return false;
            r.idx.resize(raw.size() / 16);
            for (std::size_t i = 0; i < r.idx.size(); ++i) {
                const uint8_t *e = raw.data() + 16 * i;
                idx_entry &x = r.idx[i];
                for (int k = 0; k < 4; ++k) x.tag[k] = static_cast<char>(e[k]);
                x.flags = riff::le32(e + 4);
                x.offset = riff::le32(e + 8);
                x.size = riff::le32(e + 12);
            }
        }
        pos += n;
    }
    return !top->hdrl.empty() && r.movi_offset != 0;
}

// The first "avih" of 56 bytes whose marker byte lies inside the contents.
void FindMarker(avi_reader &r, const TopLevel &top) {
    const std::vector<uint8_t> &h = top.hdrl;
    for (std::size_t i = 0; i + 8 <= h.size(); ++i) {
        if (!riff::TagEq(&h[i], "avih") || riff::le32(&h[i + 4]) != kMainHeaderSize) continue;
        if (i + kMarkerDistance >= h.size()) continue;
        const uint8_t marker = h[i + kMarkerDistance];
        r.encrypt = marker != 0 ? 1 : 0;
        r.encryptoffset = top.hdrl_offset + i + kMarkerDistance;
        std::printf("encryptoffset=0x%02llx,encrypt=0x%02x\n",
                    static_cast<unsigned long long>(r.encryptoffset),
                    static_cast<unsigned>(static_cast<int>(static_cast<int8_t>(marker))));
        return;
    }
}

// Finds the video stream (its "strh" followed by its "strf") and counts the
// audio streams.
bool ScanStreams(avi_reader &r, const TopLevel &top) {
    enum class Last { none, video, audio } last = Last::none;
    const std::vector<uint8_t> &h = top.hdrl;
    bool video_known = false, video_format = false;
    int32_t stream = 0;
    uint64_t p = 0;
    while (p + 8 <= h.size()) {
        const uint8_t *c = &h[p];
        if (riff::TagEq(c, "LIST")) {
            p += 12;
            continue;
        }
        const uint32_t s = riff::le32(c + 4);
        Last now = Last::none;
        if (riff::TagEq(c, "strh")) {
            const bool has_type = p + 12 <= h.size();
            if (has_type && riff::TagEq(c + 8, "vids") && !video_known) {
                video_known = true;
                r.video_stream = stream;
                now = Last::video;
            } else if (has_type && riff::TagEq(c + 8, "auds")) {
                if (++r.audio_streams > kMaxAudioStreams) {
                    std::fprintf(stderr, "error - only %d audio tracks supported\n",
                                 kMaxAudioStreams);
                    return false;
                }
                now = Last::audio;
            }
            ++stream;
        } else if (riff::TagEq(c, "strf") && last == Last::video) {
            video_format = true;
        }
        last = now;
        p += 8 + riff::padded(s);
    }
    // The video tag has room for two digits only.
    return video_known && video_format && r.video_stream <= 99;
}

AviHandle OpenStream(std::unique_ptr<std::istream> in) {
    if (!in || !*in) return nullptr;
    auto r = std::make_unique<avi_reader>();
    uint8_t riff_hdr[12];
    if (riff::ReadAt(*in, 0, riff_hdr, 12) < 12) return nullptr;
    if (!riff::TagEq(riff_hdr, "RIFF") || !riff::TagEq(riff_hdr + 8, "AVI ")) return nullptr;

    TopLevel top;
    if (!WalkTopLevel(*r, *in, &top)) return nullptr;
    FindMarker(*r, top);
    if (!ScanStreams(*r, top)) return nullptr;
    // cppcheck-suppress unreadVariable ; frees the header copy before the frame scan
    top.hdrl = {};
    const char tag[5] = {char('0' + r->video_stream / 10), char('0' + r->video_stream % 10), 'd',
                         'b', 0};
    std::memcpy(r->video_tag, tag, sizeof tag);
    if (!BuildFrameIndex(*r, *in)) return nullptr;

    in->clear();
    in->seekg(static_cast<std::streamoff>(r->movi_offset));
    r->file = std::move(in);
    return r;
}

}  // namespace

AviHandle AVI_open_input_stream(std::unique_ptr<std::istream> in) {
    try {
        return OpenStream(std::move(in));
    } catch (const std::bad_alloc &) {
        return nullptr;  // everything allocated so far is freed on the way out
    }
}

AviHandle AVI_open_input_file(const char *path) {
    if (path == nullptr) return nullptr;
    try {
        auto in = OpenInputStream(path);
        if (!in) return nullptr;
        return OpenStream(std::move(in));
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
}

void AVI_close_input_file(AviHandle &reader) { reader.reset(); }

}  // namespace vx
