// Read-only AVI (RIFF) reader: the encryption marker and the video frame
// index of a recording. It reads the header list and the index into memory
// when the file is opened and never writes.
//
// Offsets and sizes are 64-bit (idx1 fields are unsigned 32-bit), so
// recordings up to 4 GiB and beyond 2 GiB are handled with true offsets.
#pragma once

#include <cstdint>
#include <istream>
#include <memory>
#include <vector>

namespace vx {

// One video frame, in index order.
struct frame_entry {
    uint32_t key;  // idx1 flags; 0 for every frame of a rebuilt index
    uint64_t pos;  // absolute offset of the frame's first data byte
    uint32_t len;  // data size from the index
};

// One index entry: as read from idx1, or found by scanning the movi list.
struct idx_entry {
    char tag[4];
    uint32_t flags;
    uint64_t offset;
    uint32_t size;
};

struct avi_reader {
    std::unique_ptr<std::istream> file;  // open until CloseFile() or release
    int32_t video_frames = 0;
    int32_t video_stream = 0;         // position of the video "strh" among all
    char video_tag[5] = {};           // e.g. "00db"
    uint64_t movi_offset = 0;         // just past the "movi" list type
    int32_t encrypt = 0;              // marker byte nonzero
    uint64_t encryptoffset = 0;       // marker byte's offset; 0 when none
    std::vector<idx_entry> idx;       // idx1 entries, or the rebuilt ones
    std::vector<frame_entry> frames;  // video_frames entries
    int32_t audio_streams = 0;        // at most kMaxAudioStreams

    // Releases the file early: everything the decryption needs is in memory.
    void CloseFile() { file.reset(); }
};

constexpr int kMaxAudioStreams = 8;

using AviHandle = std::unique_ptr<avi_reader>;

// Opens path read-only and reads its header and frame index. Null when the
// file cannot be opened, is not an AVI recording with a video stream and
// frames, or memory runs out; nothing stays allocated or open then.
AviHandle AVI_open_input_file(const char *path);
// The same over any seekable stream (used by the fuzzer over memory).
AviHandle AVI_open_input_stream(std::unique_ptr<std::istream> in);
// Frees the reader and all it holds.
void AVI_close_input_file(AviHandle &reader);

}  // namespace vx
