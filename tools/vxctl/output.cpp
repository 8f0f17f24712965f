#include "output.h"

#include <CLI/CLI.hpp>

#include <cstdio>

#include "commands.h"

namespace vxctl {

bool g_json_output = false;

namespace {

bool IsUnavailable(const Json &v) { return v.is_object() && v.size() == 1 && v.contains("error"); }

std::string Scalar(const Json &v) {
    if (v.is_string()) return v.get<std::string>();
    if (v.is_null()) return "(none)";
    return v.dump();
}

// A value inside a one-line object: quoted when empty or holding blanks.
std::string Word(const Json &v) {
    std::string s = Scalar(v);
    return s.empty() || s.find(' ') != std::string::npos ? Json(s).dump() : s;
}

// An object of plain values only (a field list, a service) fits one line.
bool IsFlat(const Json &v) {
    if (!v.is_object() || IsUnavailable(v)) return false;
    for (const auto &item : v)
        if (item.is_structured()) return false;
    return true;
}

std::string Line(const Json &v) {
    if (IsFlat(v)) {
        std::string out;
        for (const auto &[key, value] : v.items())
            out += (out.empty() ? "" : " ") + key + "=" + Word(value);
        return out;
    }
    if (IsUnavailable(v)) {
        const Json &e = v["error"];
        return "unavailable (status " + e["status"].dump() + ": " + Scalar(e["reply"]) + ")";
    }
    if (!v.is_array()) return Scalar(v);
    if (v.empty()) return "(none)";
    std::string out;
    for (const Json &item : v) out += (out.empty() ? "" : ", ") + Scalar(item);
    return out;
}

void PrintText(const Json &object, int indent) {
    for (const auto &[key, value] : object.items()) {
        if (value.is_object() && !IsUnavailable(value) && !IsFlat(value)) {
            std::printf("%*s%s:\n", indent, "", key.c_str());
            PrintText(value, indent + 2);
        } else {
            std::printf("%*s%s: %s\n", indent, "", key.c_str(), Line(value).c_str());
        }
    }
}

}  // namespace

void Print(const Json &object) {
    if (g_json_output)
        std::printf("%s\n", object.dump(-1, ' ', false, Json::error_handler_t::replace).c_str());
    else
        PrintText(object, 0);
}

int PrintDone(const std::string &what) {
    Print(Json{{"done", what}});
    return kOk;
}

std::string DeviceReply(VestraInfo *dev) {
    std::string text = dev ? VX_GetErrStr(dev) : "";
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    for (auto &c : text)
        if (c == '\r' || c == '\n') c = ' ';
    return text.empty() ? "no reply" : text;
}

Json Unavailable(int status, const std::string &reason) {
    return Json{{"error", {{"status", status}, {"reply", reason}}}};
}

Json Unavailable(VestraInfo *dev) { return Unavailable(VX_GetErrNo(dev), DeviceReply(dev)); }

int Failed(const std::string &what, int status, const std::string &reason) {
    std::fprintf(stderr, "vxctl: %s failed (status %d): %s\n", what.c_str(), status,
                 reason.c_str());
    if (g_json_output) Print(Json{{"failed", what}, {"status", status}, {"reply", reason}});
    return kFailed;
}

int Failed(VestraInfo *dev, const std::string &what) {
    return Failed(what, VX_GetErrNo(dev), DeviceReply(dev));
}

void UsageError(const std::string &message) {
    std::fprintf(stderr, "vxctl: %s\n", message.c_str());
    throw CLI::RuntimeError(kUsage);
}

}  // namespace vxctl
