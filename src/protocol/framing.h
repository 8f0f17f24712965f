// The reply framing of the protocol: when is a reply complete, and did it
// succeed. The transport's read is handed CheckCmdResult and stops on it.
#pragma once

namespace vx {

// 1: complete, success ("OK\r\n" anywhere); -1: complete, failure (an
// "Error:" with a "\r\n" after it); 0: not complete or not recognised.
// Texts under 7 characters are never complete.
int CheckCmdResult(const char *reply);

// The reply rule every exchange is judged by: more than 4 bytes read and the
// framing verdict success.
constexpr bool ReplyAccepted(int n, int verdict) { return n > 4 && verdict == 1; }

}  // namespace vx
