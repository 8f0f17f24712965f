// The data channel: a numeric setting, numbered Base64 data packs, and the
// caller's own command lines.
#include <cstring>

#include "LibVestra.h"
#include "common/guard.h"
#include "common/log.h"
#include "common/state.h"
#include "common/text.h"
#include "ops/rows.h"
#include "ops/steps.h"
#include "session/record.h"
#include "util/base64.h"

using namespace vx;
using namespace vx::ops;

extern "C" {

VX_API uint32_t VX_SendDataPack(VestraInfo *dev, const char *password, int32_t pack, const uint8_t *data,
                                int32_t length) {
    return Guarded(0u, [&] {
        return WithLogin(dev, password, [&](VestraInfo *d) REQUIRES(LibLock()) -> uint32_t {
            if (length < 0 || length > VX_DATA_PACK_MAX || (data == nullptr && length > 0))
                return Refuse(d, "data pack refused: length outside 0 to 76800 or no data");
            std::string number = std::to_string(pack);
            const Arg args[] = {pack, Base64Encode(data, std::size_t(length))};
            const Request request{.row = rows::kDataPack, .args = args, .expect = number};
            std::string line;
            const char *refusal = BuildRequest(request, &line);
            LibLog("VX_SendDataPack: %d,%d,%d\n", int(pack), int(length), int(line.size()));
            if (refusal != nullptr) return Refuse(d, refusal);
            return Publish(d, Exchange(d, request, line));
        });
    });
}

VX_API uint32_t VX_SendUserCmd(VestraInfo *dev, const char *password, char *cmd, char *reply) {
    return Guarded(0u, [&] {
        return WithLogin(dev, password, [&](VestraInfo *d) REQUIRES(LibLock()) -> uint32_t {
            if (cmd == nullptr || std::strncmp(cmd, "VX+", 3) != 0) return Refuse(d, "cmd error");
            cmd[std::strcspn(cmd, "\r\n")] = '\0';  // the caller's text ends at its first line end
            std::string line = std::string(cmd) + "\r\n";
            if (line.size() >= kArea) return Refuse(d, "command too long for its area: not sent");
            Exchanged e = ExchangeLine(d, line, VX_USER_REPLY_AREA, [&](const char *answer) {
                if (reply != nullptr) CopyText(reply, VX_USER_REPLY_AREA, answer);
            });
            return Publish(d, e, /*keep_reply=*/true);
        });
    });
}

// A caller's own command line, sent unchanged; the reply is the error text
// whatever the outcome.
VX_API uint32_t VX_Cmd(VestraInfo *dev, const char *password, const char *command) {
    return Guarded(0u, [&]() -> uint32_t {
        if (command == nullptr) {  // the record checks, then nothing to send
            LibGuard lock(LibLock());
            if (!CheckRecord(dev)) return 0;
            return Refuse(dev, "");
        }
        return WithLogin(dev, password, [&](VestraInfo *d) REQUIRES(LibLock()) -> uint32_t {
            return Publish(d, ExchangeLine(d, command, kArea, [](const char *) {}),
                           /*keep_reply=*/true);
        });
    });
}

}  // extern "C"
