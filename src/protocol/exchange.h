// The generic exchange on an open record: a command line written, one reply
// read, and the rule that says whether a reply is an accepted one. Nothing
// here logs in or knows about operations; every function expects the library
// lock to be held.
#pragma once

#include <string>
#include <string_view>

#include "LibVestra.h"
#include "common/state.h"

namespace vx {

constexpr int kCommandArea = 1024;
constexpr int kReplyArea = 1024;

// Prints a command line, bounded by the command area (at most 1023 characters).
std::string FormatCommand(const char *format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// Writes the command and reads its reply into reply (zero-filled here first).
// Returns ReadFullDev's result: the bytes read, or -1.
int Transact(VestraInfo *dev, std::string_view command, char *reply, int capacity)
    REQUIRES(LibLock());

// The reply rule every exchange is judged by: more than 4 bytes read and the
// reply complete with "OK\r\n".
bool ReplyAccepted(const char *reply, int n);

}  // namespace vx
