// The payload rules of the protocol: a single value behind its key, and a
// number as the device's own firmware reads one.
#pragma once

#include <string_view>

namespace vx {

// The text behind the first "+KEY:" up to the next "\r\n", or false when the
// key or the line end is missing. key is given with its "+" and ":".
bool FindPayload(std::string_view reply, std::string_view key, std::string_view *payload);

// The number at the start of text as atoi reads it: leading blanks, an
// optional sign, digits; no digits give 0. Clamped to the 32-bit range.
int AtoiLike(std::string_view text);

}  // namespace vx
