#include "protocol/command.h"

#include <cstring>

#include "protocol/payload.h"

namespace vx::ops {
namespace {

// Texts that stand for "no value" on the wire and are limited to 31 characters.
bool FitNullWord(std::span<const Arg> args) {
    for (const Arg &a : args)
        if (a.text.size() >= 32) return false;
    return true;
}

// "bEnable:%d," then "Key:value," for every text given, in wire order (ServID
// once more as "Name" where the family wants it), then "ReportTime:%d,".
// args: the flag, one text per field, the report interval where there is one.
void AppendPairs(const Service &svc, std::span<const Arg> args, std::string *c) {
    auto pair = [&](const char *name, const std::string &value) {
        *c += name;
        *c += ':';
        *c += value;
        *c += ',';
    };
    if (args.size() < std::size_t(svc.count) + 1) return;
    pair("bEnable", args[0].text);
    for (std::size_t i = 0; i < svc.count; ++i) {
        const Arg &v = args[i + 1];
        if (!v.given) continue;
        pair(svc.fields[i], v.text);
        if (svc.servid_as_name && std::strcmp(svc.fields[i], "ServID") == 0) pair("Name", v.text);
    }
    if (svc.report == Report::None || args.size() < std::size_t(svc.count) + 2) return;
    const std::string &report = args[svc.count + 1].text;
    if (svc.report == Report::Positive && AtoiLike(report) <= 0) return;
    pair("ReportTime", report);
}

}  // namespace

const char *BuildCommand(const Row &row, std::span<const Arg> args, std::string *line,
                         std::string_view keyword) {
    if (row.texts == Texts::NullWord && !FitNullWord(args))
        return "text of 32 characters or more refused";
    std::string &c = *line;
    c = "VX+";
    c += keyword.empty() ? std::string_view(row.key) : keyword;
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
    if (c.size() >= row.command) return "command too long for its area: not sent";
    return nullptr;
}

std::string ReplyKey(std::string_view keyword) {
    std::string key = "+";
    key += keyword;
    key += ':';
    return key;
}

}  // namespace vx::ops
