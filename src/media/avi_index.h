// The video frame index of an opened AVI file: idx1 offsets judged absolute
// or movi-relative, or the index rebuilt by scanning the movi list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>

#include "media/avi.h"

namespace vx {

// Fills reader.frames and reader.video_frames from reader.idx (the idx1
// entries as read; empty when the file has none). False when the file has
// no usable video frame.
bool BuildFrameIndex(avi_reader &reader, std::istream &in);

// Capacity of the rebuilt index after capacity: doubling (so a file of many
// small chunks costs linear time, not quadratic), never past bound, the most
// entries the file's bytes can hold; at least one more than capacity.
std::size_t NextIndexCapacity(std::size_t capacity, std::size_t bound);

}  // namespace vx
