// When is a reply complete, and did it succeed.
#pragma once

namespace vx {

// 1: complete, success ("OK\r\n" anywhere); -1: complete, failure (an
// "Error:" with a "\r\n" after it); 0: not complete or not recognised.
// Texts under 7 characters are never complete.
int CheckCmdResult(const char *reply);

}  // namespace vx
