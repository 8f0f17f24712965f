// Single DES (FIPS 46-3), ECB, decryption only. The library never encrypts.
#pragma once

#include <cstdint>

namespace vx {

// Decrypts block_count 8-byte blocks in place under the 8-byte key (parity
// bits ignored; the key schedule is derived afresh on every call). Returns 1,
// or 0 with nothing touched when data is null or block_count < 1. Logs
// "des_decrypt start" first, whatever the arguments.
int32_t des_decrypt(const uint8_t key[8], uint8_t *data, int32_t block_count);

// The same work without the log line, for callers that log for themselves.
void DesDecryptBlocks(const uint8_t key[8], uint8_t *data, int32_t block_count);

}  // namespace vx
