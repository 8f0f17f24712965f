#include "ops/steps.h"

#include <atomic>
#include <cstring>

#include "common/state.h"
#include "common/text.h"
#include "ops/rules.h"
#include "session/login.h"
#include "session/record.h"

namespace vx::ops {
namespace {

std::atomic<void (*)(VestraInfo *)> g_before_lock{nullptr};

// The framing of a read: Done when the reply may go on to its rule.
Outcome Framing(ReplyRead read, bool check_ok) {
    if (!check_ok) return read.n > 4 ? Outcome::Done : Outcome::NoReply;
    if (read.Accepted()) return Outcome::Done;
    return read.n > 4 && read.verdict < 0 ? Outcome::DeviceError : Outcome::NoReply;
}

// A read that found nothing and left the record closed lost the device.
void NoteGone(const VestraInfo *dev, ReplyRead read, Exchanged *e) {
    if (read.n < 0 && dev->usbHandle == nullptr) e->outcome = Outcome::DeviceGone;
}

// The login every operation runs on its checked record. A login that loses
// the device closes the record and returns 0, so its result already says so.
bool LoggedIn(VestraInfo *dev, const char *password) REQUIRES(LibLock()) {
    return Login(dev, password) != 0;
}

// The lock, held once from the record check to the outcome: another thread
// may close the record up to here, never after the check.
uint32_t Checked(VestraInfo *dev, FnRef<uint32_t(VestraInfo *)> body) EXCLUDES(LibLock()) {
    if (auto *hook = g_before_lock.load()) hook(dev);
    LibGuard lock(LibLock());
    if (!CheckRecord(dev)) return 0;
    return body(dev);
}

}  // namespace

void SetBeforeLockForTesting(void (*hook)(VestraInfo *dev)) { g_before_lock.store(hook); }

uint32_t WithLogin(VestraInfo *dev, const char *password, FnRef<uint32_t(VestraInfo *)> body) {
    return Checked(dev, [&](VestraInfo *d) REQUIRES(LibLock()) -> uint32_t {
        if (!LoggedIn(d, password)) return SetOutcome(d, Outcome::NoLogin);
        return body(d);
    });
}

Outcome JudgeReply(const Request &request, const char *reply, ReplyRead read, int *status) {
    const Row &row = request.row;
    Outcome framing = Framing(read, row.check_ok);
    if (framing != Outcome::Done) return framing;
    if (row.clear_outs)
        for (const Out &o : request.outs)
            if (o.ptr) std::memset(o.ptr, 0, o.size);
    std::string_view keyword = request.keyword.empty() ? row.key : request.keyword;
    std::string key = ReplyKey(keyword);
    ParseInput in{AreaText(reply, row.reply),
                  key,
                  request.outs.data(),
                  request.outs.size(),
                  request.expect,
                  &row};
    std::string fallback;
    if (row.fallback_key != nullptr && !Contains(in.reply, in.key)) {
        fallback = ReplyKey(row.fallback_key);
        in.key = fallback;
    }
    Parsed p = rules::Apply(row.rule, in);
    if (!p.ok) return Outcome::NotParsed;
    if (status != nullptr) *status = p.status;
    return p.status == VX_STATUS_OK ? Outcome::Done : Outcome::Special;
}

Exchanged Exchange(VestraInfo *dev, const Request &request, std::string_view line) {
    Exchanged e;
    e.reply.assign(request.row.reply, '\0');
    ReplyRead read = Transact(dev, line, e.reply.data(), int(e.reply.size()));
    e.outcome = JudgeReply(request, e.reply.data(), read, &e.status);
    NoteGone(dev, read, &e);
    return e;
}

Exchanged ExchangeLine(VestraInfo *dev, std::string_view line, std::size_t reply_area,
                       FnRef<void(const char *reply)> accepted) {
    Exchanged e;
    e.reply.assign(reply_area, '\0');
    ReplyRead read = Transact(dev, line, e.reply.data(), int(e.reply.size()));
    e.outcome = Framing(read, true);
    if (e.Succeeded()) accepted(e.reply.data());
    NoteGone(dev, read, &e);
    return e;
}

Exchanged Perform(VestraInfo *dev, const char *password, const Request &request) {
    Exchanged e;
    if (!LoggedIn(dev, password)) {
        e.outcome = Outcome::NoLogin;
        return e;
    }
    std::string line;
    if (const char *refusal = BuildRequest(request, &line)) {
        e.outcome = Outcome::Refused;
        e.refusal = refusal;
        return e;
    }
    return Exchange(dev, request, line);
}

uint32_t Publish(VestraInfo *dev, const Exchanged &e, bool keep_reply) {
    const bool text = !e.Succeeded() || keep_reply;
    return SetOutcome(dev, e.outcome, text ? e.Text() : nullptr, e.status);
}

uint32_t Refuse(VestraInfo *dev, const char *text) {
    return SetOutcome(dev, Outcome::Refused, text);
}

const char *BuildRequest(const Request &request, std::string *command) {
    return BuildCommand(request.row, request.args, command, request.keyword);
}

uint32_t Call(VestraInfo *dev, const char *password, const Request &request) {
    return Checked(dev, [&](VestraInfo *d) REQUIRES(LibLock()) {
        return Publish(d, Perform(d, password, request));
    });
}

}  // namespace vx::ops
