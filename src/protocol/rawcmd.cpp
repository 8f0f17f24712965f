// A caller's own command line, sent unchanged.
#include <cstring>

#include "common/guard.h"
#include "common/state.h"
#include "protocol/exchange.h"

extern "C" VX_API uint32_t VX_Cmd(VestraInfo *dev, const char *password, const char *command) {
    return vx::Guarded<uint32_t>(0, [&]() -> uint32_t {
        if (command == nullptr) {  // nothing to send: fail without traffic
            if (dev != nullptr) vx::SetOutcome(dev, VX_STATUS_FAILED, "");
            return 0;
        }
        vx::Request request;
        request.command = command;
        request.reply_is_result = true;
        return vx::RunExchange(dev, password, request);
    });
}
