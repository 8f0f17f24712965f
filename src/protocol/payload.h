// The single-value payload rule of the protocol.
#pragma once

#include <string_view>

namespace vx {

// The text behind the first "+KEY:" up to the next "\r\n", or false when the
// key or the line end is missing. key is given with its "+" and ":".
bool FindPayload(std::string_view reply, std::string_view key, std::string_view *payload);

}  // namespace vx
