// The generic exchange on an open record: a command line written, one reply
// read under the protocol's framing, and the rule that says whether a reply
// is an accepted one. Nothing here logs in or knows about operations; every
// function expects the library lock to be held.
#pragma once

#include <string_view>

#include "LibVestra.h"
#include "common/state.h"
#include "protocol/framing.h"

namespace vx {

constexpr int kCommandArea = 1024;
constexpr int kReplyArea = 1024;

// A reply as the read left it: the bytes read (-1: nothing was read, the
// write or the read failed) and the framing verdict the read ended on
// (CheckCmdResult of the text read).
struct ReplyRead {
    int n = -1;
    int verdict = 0;
    bool Accepted() const { return ReplyAccepted(n, verdict); }
};

// Writes the command and reads its reply into reply (zero-filled here
// first). A write that fails or is cut reads nothing.
ReplyRead Transact(VestraInfo *dev, std::string_view command, char *reply, int capacity)
    REQUIRES(LibLock());

// The same rule for a reply in hand (n bytes read into reply).
bool ReplyAccepted(const char *reply, int n);

}  // namespace vx
