// The video frame index of an opened AVI file: idx1 offsets judged absolute
// or movi-relative, or the index rebuilt by scanning the movi list.
#pragma once

#include <cstdint>
#include <istream>

#include "media/avi.h"

namespace vx {

// Fills reader.frames and reader.video_frames from reader.idx (the idx1
// entries as read; empty when the file has none). False when the file has
// no usable video frame.
bool BuildFrameIndex(avi_reader &reader, std::istream &in);

}  // namespace vx
