// Logging a record in and out.
#pragma once

#include <cstdint>
#include <string>

#include "LibVestra.h"
#include "common/state.h"

namespace vx {

constexpr int kMaxLoginAttempts = 10;
constexpr int kLoginIdMax = 35;

// A 32-character password is a digest already; any other becomes the MD5 of
// its bytes in 32 upper-case hexadecimal digits.
std::string PasswordDigest(const char *password);

// The login every operation runs on its checked record: 1 when the record is
// (or becomes) logged in, which is what the record's flag then says. A
// record logged in already needs no password and sends nothing.
uint32_t Login(VestraInfo *dev, const char *password) REQUIRES(LibLock());

// Sends the logout line (nothing when the record is closed): the flag is
// cleared when the reply carries the success marker, and the reply becomes
// the error text.
void Logout(VestraInfo *dev) REQUIRES(LibLock());

}  // namespace vx
