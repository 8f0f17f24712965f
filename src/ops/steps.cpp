#include "ops/steps.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <vector>

#include "common/state.h"
#include "common/text.h"
#include "ops/rules.h"
#include "protocol/exchange.h"
#include "session/login.h"
#include "session/record.h"
#include "transport/completeness.h"

namespace vx::ops {
namespace {

constexpr std::size_t kKeyArea = 64;  // "+KEYWORD:" with an index

// Texts that stand for "no value" on the wire and are limited to 31 characters.
bool FitNullWord(std::initializer_list<Arg> args) {
    for (const Arg &a : args)
        if (a.text.size() >= 32) return false;
    return true;
}

// "bEnable:%d," then "Key:value," for every text given, in wire order (ServID
// once more as "Name" where the family wants it), then "ReportTime:%d,".
// args: the flag, one text per field, the report interval where there is one.
void AppendPairs(const Service &svc, std::initializer_list<Arg> args, std::string *c) {
    const Arg *a = args.begin();
    auto pair = [&](const char *name, const std::string &value) {
        *c += name;
        *c += ':';
        *c += value;
        *c += ',';
    };
    if (args.size() < std::size_t(svc.count) + 1) return;
    pair("bEnable", a[0].text);
    for (std::size_t i = 0; i < svc.count; ++i) {
        const Arg &v = a[i + 1];
        if (!v.given) continue;
        pair(svc.fields[i], v.text);
        if (svc.servid_as_name && std::strcmp(svc.fields[i], "ServID") == 0) pair("Name", v.text);
    }
    if (svc.report == Report::None || args.size() < std::size_t(svc.count) + 2) return;
    const std::string &report = a[svc.count + 1].text;
    if (svc.report == Report::Positive && rules::AtoiLike(report) <= 0) return;
    pair("ReportTime", report);
}

std::atomic<void (*)(VestraInfo *)> g_before_lock{nullptr};

}  // namespace

void SetBeforeLockForTesting(void (*hook)(VestraInfo *dev)) { g_before_lock.store(hook); }

uint32_t WithLogin(VestraInfo *dev, const char *password, FnRef<uint32_t(VestraInfo *)> body) {
    if (auto *hook = g_before_lock.load()) hook(dev);
    // Held once, from the check to the outcome: another thread may close the
    // record up to here, never after the check. A login that loses the device
    // closes the record and returns 0, so its result already says so.
    LibGuard lock(LibLock());
    if (!CheckRecord(dev)) return 0;
    if (Login(dev, password) == 0) {
        SetOutcome(dev, VX_STATUS_NO_LOGIN, "No Login Device");
        return 0;
    }
    return body(dev);
}

uint32_t Exchange(VestraInfo *dev, std::string_view command, std::size_t reply_area,
                  FnRef<Parsed(const char *reply, int n)> judge, bool keep_reply) {
    std::vector<char> reply(reply_area, '\0');
    int n = Transact(dev, command, reply.data(), int(reply_area));
    Parsed p = judge(reply.data(), n);
    if (p.ok) {
        dev->errNo = p.status;
        if (keep_reply) SetErrStr(dev, reply.data());
        return 1;
    }
    SetOutcome(dev, VX_STATUS_FAILED, reply.data());
    return 0;
}

uint32_t Refuse(VestraInfo *dev, const char *text) {
    SetOutcome(dev, VX_STATUS_FAILED, text);
    return 0;
}

bool BuildCommand(const Row &row, std::string_view keyword, std::initializer_list<Arg> args,
                  std::string *command) {
    std::string &c = *command;
    c = "VX+";
    c += keyword;
    switch (row.form) {
    case Form::Get:
        c += '?';
        break;
    case Form::Set: {
        c += '=';
        if (row.service != nullptr) {
            AppendPairs(*row.service, args, &c);
            break;
        }
        bool first = true;
        for (const Arg &a : args) {
            if (!first) c += row.separator;
            first = false;
            if (row.texts == Texts::NullWord && a.text.empty())
                c += "NULL";
            else
                c += a.text;
        }
        break;
    }
    case Form::Bare:
        break;
    }
    c += "\r\n";
    return c.size() < row.command;  // the area keeps a terminator
}

Parsed JudgeReply(const Request &request, const char *reply, int n) {
    const Row &row = request.row;
    std::string_view keyword = request.keyword.empty() ? row.key : request.keyword;
    if (row.check_ok ? !ReplyAccepted(reply, n) : n <= 4) return {false};
    if (row.clear_outs)
        for (const Out &o : request.outs)
            if (o.ptr) std::memset(o.ptr, 0, o.size);
    char key[kKeyArea];
    std::snprintf(key, sizeof key, "+%.*s:", int(keyword.size()), keyword.data());
    ParseInput in{AreaText(reply, row.reply),
                  key,
                  request.outs.begin(),
                  request.outs.size(),
                  request.expect,
                  &row};
    char fallback[kKeyArea];
    if (row.fallback_key != nullptr && !Contains(in.reply, in.key)) {
        std::snprintf(fallback, sizeof fallback, "+%s:", row.fallback_key);
        in.key = fallback;
    }
    return rules::Apply(row.rule, in);
}

const char *BuildRequest(const Request &request, std::string *command) {
    const Row &row = request.row;
    std::string_view keyword = request.keyword.empty() ? row.key : request.keyword;
    if (row.texts == Texts::NullWord && !FitNullWord(request.args))
        return "text of 32 characters or more refused";
    if (!BuildCommand(row, keyword, request.args, command))
        return "command too long for its area: not sent";
    return nullptr;
}

uint32_t Call(VestraInfo *dev, const char *password, const Request &request) {
    return WithLogin(dev, password, [&](VestraInfo *d) REQUIRES(LibLock()) -> uint32_t {
        std::string command;
        if (const char *refusal = BuildRequest(request, &command)) return Refuse(d, refusal);
        return Exchange(d, command, request.row.reply,
                        [&](const char *reply, int n) { return JudgeReply(request, reply, n); });
    });
}

}  // namespace vx::ops
