// The one builder of command lines: every line the library sends (other than
// a caller's own) is made here from its row in ops/rows.h.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "protocol/row.h"

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

// The command line of a row into line: "VX+KEY?\r\n", "VX+KEY=a,b\r\n" or
// "VX+KEY\r\n", with keyword in place of the row's key when one is given
// (VIDEOOSD1). Null when the line may be sent; otherwise the reason it is
// refused, and nothing is to be sent: a text the row limits, or a line that
// does not fit the row's command area with its terminator (line then holds
// it, for the log).
const char *BuildCommand(const Row &row, std::span<const Arg> args, std::string *line,
                         std::string_view keyword = {});

// The reply key of a keyword: "+DEVNAME:".
std::string ReplyKey(std::string_view keyword);

}  // namespace vx::ops
