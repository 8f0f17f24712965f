// What every command prints: one JSON value, shown as readable lines or, with
// --json, as one JSON object; failures as one line on standard error.
#pragma once

#include <nlohmann/json.hpp>

#include <string>

#include "LibVestra.h"

namespace vxctl {

using Json = nlohmann::ordered_json;

extern bool g_json_output;  // --json

// Prints an object: "key: value" lines (nested objects indented) or JSON.
void Print(const Json &object);
// "what: done" / {"done": what}.
int PrintDone(const std::string &what);

// The record's error text without its line ends; "no reply" when empty.
std::string DeviceReply(VestraInfo *dev);
// An item that could not be read: {"error": {"status": n, "reply": text}},
// shown as "unavailable (status n: text)".
Json Unavailable(VestraInfo *dev);
Json Unavailable(int status, const std::string &reason);
// The operation failed: the message (and with --json the error object) is
// printed; returns the exit code 1.
int Failed(VestraInfo *dev, const std::string &what);
int Failed(const std::string &what, int status, const std::string &reason);
// A usage error found after parsing: message, exit code 2.
[[noreturn]] void UsageError(const std::string &message);

}  // namespace vxctl
