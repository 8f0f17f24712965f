// MD5 (RFC 1321), the library's own: the login digest is its only user.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace vx {

std::array<uint8_t, 16> Md5(const void *data, std::size_t length);
// 32 hexadecimal digits, letters A to F in upper case.
std::string Md5HexUpper(const void *data, std::size_t length);

}  // namespace vx
