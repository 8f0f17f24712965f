// vxctl get KEY / set KEY VALUE...: the simple operations, from the op table.
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "commands.h"
#include "op_table.h"
#include "output.h"
#include "target.h"

namespace vxctl {
namespace {

struct OpArgs {
    std::string key;
    std::vector<std::string> values;
};

std::string KeyList(bool settable) {
    std::string keys;
    for (const SimpleOp &op : SimpleOps())
        if (!settable || !std::holds_alternative<std::monostate>(op.set))
            keys += (keys.empty() ? "" : " ") + std::string(op.name);
    return keys;
}

const SimpleOp &Lookup(const std::string &key, bool set) {
    const SimpleOp *op = FindOp(key);
    if (op == nullptr || (set ? std::holds_alternative<std::monostate>(op->set)
                              : std::holds_alternative<std::monostate>(op->get)))
        UsageError("no key '" + key + "' to " + (set ? "set" : "get") + "; keys: " + KeyList(set));
    return *op;
}

int32_t ParseInt(const std::string &word) {
    errno = 0;
    char *end = nullptr;
    long value = std::strtol(word.c_str(), &end, 10);
    if (word.empty() || *end != '\0' || errno == ERANGE || value < INT32_MIN || value > INT32_MAX)
        UsageError("'" + word + "' is not an integer");
    return static_cast<int32_t>(value);
}

int Get(const OpArgs &a, VestraInfo *dev, const char *pw) {
    const SimpleOp &op = Lookup(a.key, false);
    Json value;
    if (!ReadOp(op, dev, pw, value)) return Failed(dev, "get " + a.key);
    Print(Json{{a.key, value}});
    return kOk;
}

void CheckSet(const OpArgs &a) {
    const SimpleOp &op = Lookup(a.key, true);
    std::vector<std::string> names = SetArguments(op);
    if (a.values.size() != names.size()) {
        std::string usage = "usage: vxctl set " + a.key;
        for (const std::string &n : names) usage += " " + n;
        UsageError(usage);
    }
    if (std::holds_alternative<SetInt>(op.set)) ParseInt(a.values[0]);
}

int Set(const OpArgs &a, VestraInfo *dev, const char *pw) {
    const SimpleOp &op = Lookup(a.key, true);
    uint32_t ok = 0;
    if (auto *text = std::get_if<SetText>(&op.set))
        ok = (*text)(dev, pw, a.values[0].c_str());
    else if (auto *number = std::get_if<SetInt>(&op.set))
        ok = (*number)(dev, pw, ParseInt(a.values[0]));
    else if (auto *fields = std::get_if<SetFields>(&op.set))
        ok = (*fields)(dev, pw, a.values);
    if (!ok) return Failed(dev, "set " + a.key);
    return PrintDone("set " + a.key);
}

}  // namespace

void AddOpCommands(CLI::App &app) {
    auto get_args = std::make_shared<OpArgs>();
    auto *get = AddDeviceCommand(
        app, "get", "read one setting of a recorder (keys below)",
        [get_args](VestraInfo *d, const char *pw) { return Get(*get_args, d, pw); },
        [get_args] { Lookup(get_args->key, false); });
    get->add_option("KEY", get_args->key, "what to read")->required();
    get->footer(OpsHelp());

    auto set_args = std::make_shared<OpArgs>();
    auto *set = AddDeviceCommand(
        app, "set", "change one setting of a recorder (keys below)",
        [set_args](VestraInfo *d, const char *pw) { return Set(*set_args, d, pw); },
        [set_args] { CheckSet(*set_args); });
    set->add_option("KEY", set_args->key, "what to change")->required();
    set->add_option("VALUE", set_args->values, "the new value (several for keys with fields)");
    set->footer(OpsHelp());
}

}  // namespace vxctl
