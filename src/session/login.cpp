// The login forms: admin with a digest, a chosen account with a digest, and
// the two-step form (login ID, then the application's password text).
#include "session/login.h"

#include <cstring>

#include "common/guard.h"
#include "common/log.h"
#include "common/state.h"
#include "common/text.h"
#include "protocol/exchange.h"
#include "protocol/payload.h"
#include "session/record.h"
#include "util/md5.h"

namespace vx {
namespace {

// Found: the answer was read and nothing else in the reply matters.
enum class Verdict { Next, Success, Refused, Found };

// Up to ten attempts of one command. judge looks at each reply of five bytes
// or more; the device's "para is error" ends the attempts at once and leaves
// its reply in the error text and the log. True when judge said Success or the
// record is logged in.
template <class Judge>
bool RunAttempts(VestraInfo *dev, const std::string &command, Judge &&judge) REQUIRES(LibLock()) {
    char reply[kReplyArea];
    for (int attempt = 0; attempt < kMaxLoginAttempts; ++attempt) {
        if (dev->isLogin != 0) return true;
        if (Transact(dev, command, reply, sizeof reply) < 5) continue;
        Verdict verdict = judge(reply);
        if (verdict == Verdict::Found) return true;
        if (std::strstr(reply, "Error: para is error") != nullptr) {
            SetErrStr(dev, reply);
            LibLog("%s", reply);
            return verdict == Verdict::Success;
        }
        if (verdict != Verdict::Next) return verdict == Verdict::Success;
    }
    return dev->isLogin != 0;
}

// Sends a login command until the reply carries the success marker; the flag
// follows each reply. Result 1 whenever the record ends up logged in.
uint32_t LoginWith(VestraInfo *dev, const std::string &command, const char *marker)
    REQUIRES(LibLock()) {
    RunAttempts(dev, command, [&](const char *reply) {
        dev->isLogin = std::strstr(reply, marker) != nullptr ? 1 : 0;
        return dev->isLogin ? Verdict::Success : Verdict::Next;
    });
    return dev->isLogin != 0 ? 1 : 0;
}

}  // namespace

std::string PasswordDigest(const char *password) {
    std::size_t length = std::strlen(password);
    if (length == 32) return std::string(password, 32);
    return Md5HexUpper(password, length);
}

uint32_t Login(VestraInfo *dev, const char *password) {
    // Any non-zero flag: the attempts would end before sending.
    if (dev->isLogin != 0) return 1;
    if (password == nullptr) return 0;
    return LoginWith(dev, FormatCommand("VX+LOGIN=admin:%s\r\n", PasswordDigest(password).c_str()),
                     "+LOGIN:Sucess");
}

}  // namespace vx

using namespace vx;

extern "C" {

VX_API int32_t VX_IsLogin(VestraInfo *dev) { return dev ? dev->isLogin : 0; }

VX_API uint32_t VX_Login(VestraInfo *dev, const char *password) {
    return Guarded<uint32_t>(0, [&]() -> uint32_t {
        LibGuard lock(LibLock());
        if (!CheckRecord(dev)) return 0;
        if (password == nullptr) return 0;  // even when logged in already
        return Login(dev, password);
    });
}

VX_API uint32_t VX_LoginEx(VestraInfo *dev, const char *user, const char *password) {
    return Guarded<uint32_t>(0, [&]() -> uint32_t {
        LibGuard lock(LibLock());
        if (!CheckRecord(dev)) return 0;
        if (user == nullptr || password == nullptr) return 0;
        if (dev->isLogin == 1) return 1;
        return LoginWith(
            dev, FormatCommand("VX+LOGIN=%s:%s\r\n", user, PasswordDigest(password).c_str()),
            "+LOGIN:Sucess");
    });
}

VX_API uint32_t VX_GetLoginID(VestraInfo *dev, char *loginId) {
    return Guarded<uint32_t>(0, [&]() -> uint32_t {
        LibGuard lock(LibLock());
        if (!CheckRecord(dev)) return 0;
        if (dev->isLogin == 1) return 1;
        bool got = RunAttempts(dev, "VX+LOGINID?\r\n", [&](const char *reply) {
            std::string_view id;
            if (!FindPayload(reply, "+LOGINID:", &id)) return Verdict::Next;
            if (id.size() > std::size_t(kLoginIdMax)) {
                // Too long for the caller's 36-byte area: refused, never cut.
                LibLog("[%s]: login ID of %d characters refused\n", "VX_GetLoginID",
                       int(id.size()));
                return Verdict::Refused;
            }
            if (loginId != nullptr) CopyText(loginId, kLoginIdMax + 1, id);
            return Verdict::Found;
        });
        return got ? 1 : 0;
    });
}

VX_API uint32_t VX_LoginIDPwd(VestraInfo *dev, const char *password) {
    return Guarded<uint32_t>(0, [&]() -> uint32_t {
        LibGuard lock(LibLock());
        if (!CheckRecord(dev)) return 0;
        if (password == nullptr) {
            SetOutcome(dev, VX_STATUS_NO_LOGIN, "No Login Device");
            return 0;
        }
        if (dev->isLogin == 1) return 1;
        return LoginWith(dev, FormatCommand("VX+LOGINPWD=%s\r\n", password), "+LOGINPWD:Sucess");
    });
}

}  // extern "C"
