#include "protocol/exchange.h"

#include <algorithm>

#include "common/log.h"
#include "transport/usbio.h"

namespace vx {

ReplyRead Transact(VestraInfo *dev, std::string_view command, char *reply, int capacity) {
    std::fill(reply, reply + capacity, '\0');
    int written = WriteFullDev(dev, command);
    if (written < 0) return {};  // the record is closed
    if (written < int(command.size())) {
        // A device that takes a cut line as a command would act on it and
        // answer OK; its reply is not read, so a cut command never succeeds.
        LibLog("[%s]: command cut after %d of %d bytes: no reply read\n", "Transact", written,
               int(command.size()));
        return {};
    }
    ReadResult read = ReadFullDev(dev, reply, capacity, CheckCmdResult);
    return {read.bytes, read.verdict};
}

bool ReplyAccepted(const char *reply, int n) { return ReplyAccepted(n, CheckCmdResult(reply)); }

}  // namespace vx
