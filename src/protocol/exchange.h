// The one exchange pattern every device operation follows: checks, automatic
// login, one command, one reply, the success test, the outcome in the record.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "LibVestra.h"

namespace vx {

constexpr int kCommandArea = 1024;
constexpr int kReplyArea = 1024;

// A payload parser gets the whole reply. It returns kParsed when the payload
// was found and stored, kNotParsed when it was not, or a negative status
// number that the operation reports with result 1 (e.g. an empty list).
constexpr int kParsed = 1;
constexpr int kNotParsed = 0;
using ReplyParser = std::function<int(const char *reply)>;

struct Request {
    std::string command;             // the whole command line
    int reply_capacity = kReplyArea;
    ReplyParser parse;               // empty for set operations
    bool reply_is_result = false;    // raw commands: the reply is the error text either way
};

// Prints a command line, bounded by the command area (at most 1023 characters).
std::string FormatCommand(const char *format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// Writes the command and reads its reply into reply (zero-filled here).
// Returns ReadFullDev's result. The caller holds the library lock.
int Transact(VestraInfo *dev, std::string_view command, char *reply, int capacity);

// The "Device not Open" road: closes the record, status -101, error text
// "Device not Open", log line, DeviceChangeState 2. Takes the lock itself.
void MarkNotOpen(VestraInfo *dev);

// Steps shared by every operation on a record: a null record is logged and
// refused, a closed one takes the "Device not Open" road. True when usable.
bool CheckRecord(VestraInfo *dev);

// Runs the whole pattern for one operation. Result 1 or 0.
uint32_t RunExchange(VestraInfo *dev, const char *password, const Request &request);

}  // namespace vx
