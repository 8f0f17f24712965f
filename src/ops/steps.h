// The steps every device operation takes, written once: the record checks,
// the automatic login, the library lock (held from the first check to the
// outcome, so no other thread can close the record in between), the command
// built from a row, one exchange, the reply judged, the outcome left in the
// record. Exported operations are one-liners over Get / Set / Call.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>

#include "LibVestra.h"
#include "common/fnref.h"
#include "common/state.h"
#include "ops/op.h"

namespace vx::ops {

// One argument of a set command: a text (null is taken as empty) or a number
// in decimal.
struct Arg {
    Arg(const char *t) : text(t != nullptr ? t : ""), given(t != nullptr) {}
    Arg(std::string_view t) : text(t) {}
    Arg(const std::string &t) : text(t) {}
    Arg(int32_t number) : text(std::to_string(number)) {}
    Arg(uint32_t number) : text(std::to_string(int32_t(number))) {}  // sent as "%d"
    std::string text;
    bool given = true;  // false for a null text (a service pair is then left out)
};

struct Request {
    const Row &row;
    std::initializer_list<Arg> args = {};
    std::initializer_list<Out> outs = {};
    std::string_view expect = {};   // text a rule looks for in the reply
    std::string_view keyword = {};  // the row's keyword with an index (VIDEOOSD1)
};

// Steps 1 to 4, all under one hold of the library lock: null record ("No
// Find Device"), closed record (-101), login, not logged in (-102), then body
// (which runs with the lock held). Result of body, or 0.
uint32_t WithLogin(VestraInfo *dev, const char *password, FnRef<uint32_t(VestraInfo *)> body)
    EXCLUDES(LibLock());
// For tests: runs just before the lock is taken, where another thread may
// still close the record; null (the default) runs nothing.
void SetBeforeLockForTesting(void (*hook)(VestraInfo *dev));

// The exchange of one built command under the lock: reply read into an area
// of reply_area bytes, judged; success sets the status number judge gave and
// returns 1, anything else leaves the reply as error text with status 0.
// keep_reply: the reply becomes the error text on success too.
uint32_t Exchange(VestraInfo *dev, std::string_view command, std::size_t reply_area,
                  FnRef<Parsed(const char *reply, int n)> judge, bool keep_reply = false)
    REQUIRES(LibLock());

// Fails the operation without sending its command: status 0 and the text.
uint32_t Refuse(VestraInfo *dev, const char *text);

// The command line of a row: "VX+KEY?\r\n", "VX+KEY=a,b\r\n" or "VX+KEY\r\n".
// False when it would not fit the row's command area (nothing is then sent).
bool BuildCommand(const Row &row, std::string_view keyword, std::initializer_list<Arg> args,
                  std::string *command);

// The command line of a request, or the reason it is refused (nothing sent).
const char *BuildRequest(const Request &request, std::string *command);
// Whether a reply to the request is accepted, by the row's reply check and
// parse rule; outputs are stored as the rule reads them.
Parsed JudgeReply(const Request &request, const char *reply, int n);

// A whole operation from its row: checks, login, lock, command, exchange,
// the row's rule over the outputs, outcome.
uint32_t Call(VestraInfo *dev, const char *password, const Request &request) EXCLUDES(LibLock());

inline uint32_t Get(VestraInfo *dev, const char *password, const Row &row,
                    std::initializer_list<Out> outs) {
    return Call(dev, password, Request{row, {}, outs});
}
inline uint32_t Set(VestraInfo *dev, const char *password, const Row &row,
                    std::initializer_list<Arg> args) {
    return Call(dev, password, Request{row, args});
}

}  // namespace vx::ops
