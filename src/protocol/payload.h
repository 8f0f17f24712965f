// Reading payloads out of replies.
#pragma once

#include <cstddef>
#include <string_view>

namespace vx {

// The text behind the first "+KEY:" up to the next "\r\n", or false when the
// key or the line end is missing. key is given with its "+" and ":".
bool FindPayload(std::string_view reply, std::string_view key, std::string_view *payload);

// Copies the payload behind key into out without a terminator, bounded by
// out_size. Result: 0 when found and copied, non-zero otherwise.
int CopyRawPayload(const char *reply, std::string_view key, char *out, std::size_t out_size);

}  // namespace vx
