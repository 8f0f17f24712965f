// The steps every device operation takes, written once: the record checks,
// the automatic login, the library lock (held from the first check to the
// outcome, so no other thread can close the record in between), the command
// built from a row, one exchange, the reply judged into an Outcome, the
// outcome left in the record. Exported operations are one-liners over
// Get / Set / Call; the standard set runs the same Perform step.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "LibVestra.h"
#include "common/fnref.h"
#include "common/outcome.h"
#include "common/state.h"
#include "ops/op.h"
#include "protocol/command.h"
#include "protocol/exchange.h"

namespace vx::ops {

// One operation's data: the row, views of the caller's arguments and
// outputs (which outlive the request: a request never owns them), the text a
// rule looks for, the keyword with an index (VIDEOOSD1).
struct Request {
    const Row &row;
    std::span<const Arg> args = {};
    std::span<const Out> outs = {};
    std::string_view expect = {};
    std::string_view keyword = {};
};

// What one exchange came to: its outcome, the number the row's rule gave
// (1, or the row's special for Outcome::Special), and the reply as the read
// left it (or the reason the line was refused), the error text of a failure.
struct Exchanged {
    Outcome outcome = Outcome::NoReply;
    int status = VX_STATUS_OK;
    std::vector<char> reply;
    const char *refusal = nullptr;
    const char *Text() const { return refusal ? refusal : reply.empty() ? "" : reply.data(); }
    bool Succeeded() const { return outcome == Outcome::Done || outcome == Outcome::Special; }
};

// Steps 1 to 4, all under one hold of the library lock: null record ("No
// Find Device"), closed record (-101), login, not logged in (-102), then body
// (which runs with the lock held). Result of body, or 0.
uint32_t WithLogin(VestraInfo *dev, const char *password, FnRef<uint32_t(VestraInfo *)> body)
    EXCLUDES(LibLock());
// For tests: runs just before the lock is taken, where another thread may
// still close the record; null (the default) runs nothing.
void SetBeforeLockForTesting(void (*hook)(VestraInfo *dev));

// Whether a reply to the request is accepted: the framing verdict the read
// came with (a row whose rule alone judges needs more than 4 bytes), then
// the row's parse rule, which stores the outputs. status: the number the
// rule gave. A reply in hand is judged with InHand(reply, n).
Outcome JudgeReply(const Request &request, const char *reply, ReplyRead read,
                   int *status = nullptr);
inline ReplyRead InHand(const char *reply, int n) { return {n, CheckCmdResult(reply)}; }

// One exchange of the request's built line, the reply read into the row's
// reply area and judged.
Exchanged Exchange(VestraInfo *dev, const Request &request, std::string_view line)
    REQUIRES(LibLock());
// One exchange of a line that is not a row's (a caller's own), judged by the
// framing alone; accepted sees an accepted reply.
Exchanged ExchangeLine(VestraInfo *dev, std::string_view line, std::size_t reply_area,
                       FnRef<void(const char *reply)> accepted) REQUIRES(LibLock());
// The login, then the request's line built and exchanged (NoLogin: nothing
// was sent; Refused: the line was refused, its reason the text).
Exchanged Perform(VestraInfo *dev, const char *password, const Request &request)
    REQUIRES(LibLock());

// The outcome written to the record (keep_reply: the reply becomes the error
// text on success too); the operation's result.
uint32_t Publish(VestraInfo *dev, const Exchanged &exchanged, bool keep_reply = false);
// Fails the operation without sending its command: status 0 and the text.
uint32_t Refuse(VestraInfo *dev, const char *text);

// The command line of a request, or the reason it is refused (nothing sent).
const char *BuildRequest(const Request &request, std::string *command);

// A whole operation from its row: checks, login, lock, command, exchange,
// the row's rule over the outputs, outcome.
uint32_t Call(VestraInfo *dev, const char *password, const Request &request) EXCLUDES(LibLock());

inline uint32_t Get(VestraInfo *dev, const char *password, const Row &row,
                    std::initializer_list<Out> outs) {
    return Call(dev, password, Request{.row = row, .outs = outs});
}
inline uint32_t Set(VestraInfo *dev, const char *password, const Row &row,
                    std::initializer_list<Arg> args) {
    return Call(dev, password, Request{.row = row, .args = args});
}

}  // namespace vx::ops
