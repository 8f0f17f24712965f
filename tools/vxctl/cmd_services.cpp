// vxctl service get|set NAME: the eight platform services, from their table.
#include <algorithm>
#include <map>
#include <memory>
#include <string>

#include "commands.h"
#include "output.h"
#include "service_table.h"
#include "target.h"

namespace vxctl {
namespace {

struct ServiceArgs {
    std::string name;
    int enable = 0;
    std::map<std::string, std::string> texts;  // every field name of any service
    std::map<std::string, CLI::Option *> options;
    int report = 0;
    CLI::Option *report_option = nullptr;
};

std::string Names() {
    std::string names;
    for (const ServiceOp &s : ServiceOps())
        names += (names.empty() ? "" : ", ") + std::string(s.name);
    return names;
}

const ServiceOp &Lookup(const std::string &name) {
    const ServiceOp *s = FindService(name);
    if (s == nullptr) UsageError("no service '" + name + "'; services: " + Names());
    return *s;
}

// Only the service's own fields may be given.
void CheckSet(const ServiceArgs &a) {
    const ServiceOp &s = Lookup(a.name);
    std::vector<std::string> own = ServiceFields(s);
    for (const auto &[field, option] : a.options)
        if (option->count() > 0 && std::find(own.begin(), own.end(), field) == own.end())
            UsageError("service " + a.name + " has no field " + field);
    if (a.report_option->count() > 0 && !HasReportTime(s))
        UsageError("service " + a.name + " has no field ReportTime");
}

int Get(const ServiceArgs &a, VestraInfo *dev, const char *pw) {
    Json value;
    if (!ReadService(Lookup(a.name), dev, pw, value)) return Failed(dev, "service get " + a.name);
    Print(Json{{a.name, value}});
    return kOk;
}

// Fields not given are left out of the command, so the recorder keeps them;
// a report interval not given is the recorder's current one.
int Set(const ServiceArgs &a, VestraInfo *dev, const char *pw) {
    const ServiceOp &s = Lookup(a.name);
    std::vector<std::string> fields = ServiceFields(s);
    const char *texts[kMaxServiceTexts] = {};
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (a.options.at(fields[i])->count() > 0) texts[i] = a.texts.at(fields[i]).c_str();
    int32_t report = a.report;
    if (HasReportTime(s) && a.report_option->count() == 0) {
        Json current;
        if (!ReadService(s, dev, pw, current)) return Failed(dev, "service get " + a.name);
        report = current["ReportTime"].get<int32_t>();
    }
    if (!s.set(dev, pw, uint32_t(a.enable), texts, report))
        return Failed(dev, "service set " + a.name);
    return PrintDone("service set " + a.name);
}

}  // namespace

void AddServiceCommands(CLI::App &app) {
    auto *service = app.add_subcommand("service", "platform service configurations: " + Names());
    service->require_subcommand(1);

    auto get_args = std::make_shared<ServiceArgs>();
    auto *get = AddDeviceCommand(
        *service, "get", "read a service's configuration",
        [get_args](VestraInfo *d, const char *pw) { return Get(*get_args, d, pw); },
        [get_args] { Lookup(get_args->name); });
    get->add_option("NAME", get_args->name, Names())->required();

    auto set_args = std::make_shared<ServiceArgs>();
    auto *set = AddDeviceCommand(
        *service, "set", "change a service's configuration (fields not given are kept)",
        [set_args](VestraInfo *d, const char *pw) { return Set(*set_args, d, pw); },
        [set_args] { CheckSet(*set_args); });
    set->add_option("NAME", set_args->name, Names())->required();
    set->add_option("--enable", set_args->enable, "1 on, 0 off")
        ->required()
        ->check(CLI::Range(0, 1));
    for (const ServiceOp &s : ServiceOps())
        for (const std::string &field : ServiceFields(s))
            if (set_args->options.count(field) == 0)
                set_args->options.try_emplace(
                    field, set->add_option("--" + field, set_args->texts[field]));
    set_args->report_option = set->add_option("--ReportTime", set_args->report, "report interval");
}

}  // namespace vxctl
