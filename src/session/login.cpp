// The login forms: admin with a digest, a chosen account with a digest, and
// the two-step form (login ID, then the application's password text).
#include "session/login.h"

#include <cstring>
#include <initializer_list>
#include <string>

#include "common/guard.h"
#include "common/log.h"
#include "common/state.h"
#include "common/text.h"
#include "common/outcome.h"
#include "ops/rows.h"
#include "protocol/command.h"
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
        if (Transact(dev, command, reply, sizeof reply).n < 5) continue;
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

// Sends a login line of the row until the reply carries its success marker
// ("+LOGIN:Sucess"); the flag follows each reply. Result 1 whenever the
// record ends up logged in. A line that does not fit its area is not sent.
uint32_t LoginWith(VestraInfo *dev, const ops::Row &row, std::initializer_list<ops::Arg> args)
    REQUIRES(LibLock()) {
    std::string command;
    if (const char *refused = ops::BuildCommand(row, args, &command)) {
        SetErrStr(dev, refused);  // a cut login line is never sent
        return dev->isLogin != 0 ? 1 : 0;
    }
    const std::string marker = ops::ReplyKey(row.key) + ops::rows::kSuccessWord;
    RunAttempts(dev, command, [&](const char *reply) {
        dev->isLogin = std::strstr(reply, marker.c_str()) != nullptr ? 1 : 0;
        return dev->isLogin ? Verdict::Success : Verdict::Next;
    });
    return dev->isLogin != 0 ? 1 : 0;
}

// The chosen account's login, and the two-step form's second line (the
// application's password text as given).
uint32_t LoginAs(VestraInfo *dev, const char *user, const char *password) REQUIRES(LibLock()) {
    return LoginWith(dev, ops::rows::kLogin, {user, PasswordDigest(password)});
}
uint32_t LoginWithText(VestraInfo *dev, const char *text) REQUIRES(LibLock()) {
    return LoginWith(dev, ops::rows::kLoginPwd, {text});
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
    return LoginWith(dev, ops::rows::kLogin, {"admin", PasswordDigest(password)});
}

void Logout(VestraInfo *dev) {
    std::string command;
    ops::BuildCommand(ops::rows::kLogout, {}, &command);
    char reply[kReplyArea];
    ReplyRead read = Transact(dev, command, reply, sizeof reply);
    const std::string marker = ops::ReplyKey(ops::rows::kLogout.key) + ops::rows::kSuccessWord;
    if (read.Accepted() && std::strstr(reply, marker.c_str()) != nullptr) dev->isLogin = 0;
    SetErrStr(dev, reply);
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
        return LoginAs(dev, user, password);
    });
}

VX_API uint32_t VX_GetLoginID(VestraInfo *dev, char *loginId) {
    return Guarded<uint32_t>(0, [&]() -> uint32_t {
        LibGuard lock(LibLock());
        if (!CheckRecord(dev)) return 0;
        if (dev->isLogin == 1) return 1;
        std::string command;
        ops::BuildCommand(ops::rows::kGetLoginId, {}, &command);
        const std::string key = ops::ReplyKey(ops::rows::kGetLoginId.key);
        bool got = RunAttempts(dev, command, [&](const char *reply) {
            std::string_view id;
            if (!FindPayload(reply, key, &id)) return Verdict::Next;
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
            return SetOutcome(dev, Outcome::NoLogin);
        }
        if (dev->isLogin == 1) return 1;
        return LoginWithText(dev, password);
    });
}

}  // extern "C"
