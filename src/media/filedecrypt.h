// Whole-recording decryption behind VX_FileDecrypt.
#pragma once

#include <cstdint>

namespace vx {

// Copies in_path to out_path and decrypts the copy in place. Returns the
// number of frames decrypted (>= 1), 0 when the input is not encrypted (the
// output is then a plain copy), -1 on failure.
int32_t DecryptVideoFileEx(const char *in_path, const char *out_path, const uint8_t key[8]);

}  // namespace vx
