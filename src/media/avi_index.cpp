#include "media/avi_index.h"

#include <new>

#include "media/riff.h"

namespace vx {
namespace {

enum class IdxMode { absolute, movi_relative, rebuild };

bool IsVideo(const idx_entry &e, const avi_reader &r) { return riff::TagEq(e.tag, r.video_tag, 3); }

// Whether the 8 bytes at pos are the header of the chunk the entry names.
bool HeaderMatches(std::istream &in, uint64_t pos, const idx_entry &e, bool *short_read) {
    uint8_t hdr[8];
    *short_read = riff::ReadAt(in, pos, hdr, 8) < 8;
    return !*short_read && riff::TagEq(hdr, e.tag) && riff::le32(hdr + 4) == e.size;
}

// Probes the first video entry at its offset taken both ways. False when a
// probe reads short or the index has no video entry.
bool JudgeOffsets(const avi_reader &r, std::istream &in, IdxMode *mode) {
    for (const idx_entry &e : r.idx) {
        if (!IsVideo(e, r)) continue;
        bool short_read = false;
        if (HeaderMatches(in, e.offset, e, &short_read)) {
            *mode = IdxMode::absolute;
            return true;
        }
        if (short_read) return false;
        if (HeaderMatches(in, e.offset + r.movi_offset - 4, e, &short_read)) {
            *mode = IdxMode::movi_relative;
            return true;
        }
        if (short_read) return false;
        *mode = IdxMode::rebuild;
        return true;
    }
    return false;
}

bool IsStreamChunk(const uint8_t *tag) {
    return riff::TagEq(tag + 2, "db", 2) || riff::TagEq(tag + 2, "dc", 2) ||
           riff::TagEq(tag + 2, "wb", 2);
}

// Walks the chunks from the movi list to the end of the file. Offsets found
// this way are absolute and carry no flags.
void RebuildIndex(avi_reader &r, std::istream &in) {
    r.idx.clear();
    // Every chunk takes at least its 8-byte header: no more entries than that
    // can come from the bytes after movi.
    in.clear();
    in.seekg(0, std::ios::end);
    const auto end = in.tellg();
    in.clear();
    const uint64_t file_size = end < 0 ? 0 : uint64_t(end);
    const std::size_t bound =
        file_size > r.movi_offset ? std::size_t((file_size - r.movi_offset) / 8) : 0;
    uint64_t pos = r.movi_offset;
    uint8_t hdr[8];
    while (riff::ReadAt(in, pos, hdr, 8) == 8) {
        if (riff::TagEq(hdr, "LIST")) {
            pos += 12;
            continue;
        }
        uint32_t size = riff::le32(hdr + 4);
        if (IsStreamChunk(hdr)) {
            try {
                if (r.idx.size() == r.idx.capacity())
                    r.idx.reserve(NextIndexCapacity(r.idx.capacity(), bound));
                r.idx.push_back(
                    {{char(hdr[0]), char(hdr[1]), char(hdr[2]), char(hdr[3])}, 0, pos, size});
            } catch (const std::bad_alloc &) {
                // The table cannot grow: later chunks are left out.
            }
        }
        pos += 8 + riff::padded(size);
    }
}

}  // namespace

std::size_t NextIndexCapacity(std::size_t capacity, std::size_t bound) {
    constexpr std::size_t kFirst = 4096;
    std::size_t next = capacity < kFirst / 2 ? kFirst : capacity * 2;
    if (next > bound) next = bound > capacity ? bound : capacity + 1;
    return next;
}

bool BuildFrameIndex(avi_reader &r, std::istream &in) {
    IdxMode mode = IdxMode::rebuild;
    if (!r.idx.empty() && !JudgeOffsets(r, in, &mode)) return false;
    if (mode == IdxMode::rebuild) RebuildIndex(r, in);

    std::size_t count = 0;
    for (const idx_entry &e : r.idx) count += IsVideo(e, r) ? 1 : 0;
    // The caller's counters are 32-bit; an index that large is not a recording.
    if (count == 0 || count > INT32_MAX) return false;

    const uint64_t base = mode == IdxMode::movi_relative ? r.movi_offset + 4 : 8;
    r.frames.reserve(count);
    for (const idx_entry &e : r.idx) {
        if (IsVideo(e, r)) r.frames.push_back({e.flags, e.offset + base, e.size});
    }
    r.video_frames = static_cast<int32_t>(count);
    return true;
}

}  // namespace vx
