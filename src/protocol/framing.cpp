#include "protocol/framing.h"

#include <cstring>

namespace vx {

int CheckCmdResult(const char *reply) {
    if (reply == nullptr || std::strlen(reply) < 7) return 0;
    if (std::strstr(reply, "OK\r\n") != nullptr) return 1;
    const char *error = std::strstr(reply, "Error:");
    if (error != nullptr && std::strstr(error, "\r\n") != nullptr) return -1;
    return 0;
}

}  // namespace vx
