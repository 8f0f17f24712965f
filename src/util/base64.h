// Base64 (RFC 4648, standard alphabet, "=" padding).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vx {

// The Base64 text of length bytes at data; an empty input encodes the four
// characters "NULL" instead, as the recorders expect for an empty pack.
std::string Base64Encode(const uint8_t *data, std::size_t length);

}  // namespace vx
