// The control API tests use to arm, inspect and record the virtual recorders.
#include "internal.h"

namespace vsim {

void set_value(int id, const std::string &key, const std::string &value) {
    Lock lk(state().lock);
    if (auto d = find_device(id)) preset(d->rec, key, value);
}

std::string value(int id, const std::string &key) {
    Lock lk(state().lock);
    auto d = find_device(id);
    return d ? d->rec.get(key) : std::string();
}

bool logged_in(int id) {
    Lock lk(state().lock);
    auto d = find_device(id);
    return d && d->rec.logged_in;
}

void script(int id, const std::string &command_line, const std::string &reply) {
    Lock lk(state().lock);
    if (auto d = find_device(id)) d->script[command_line] = reply;
}

void queue_stale(int id, const std::string &bytes) {
    Lock lk(state().lock);
    if (auto d = find_device(id)) queue_reply(*d, bytes);
}

void set_handler(const std::string &keyword, Handler handler) {
    Lock lk(state().lock);
    if (handler)
        state().handlers[keyword] = std::move(handler);
    else
        state().handlers.erase(keyword);
}

namespace {

// A write error armed without a count fails the next write only.
void take_effect(Device &d, const Faults &faults) {
    d.faults = faults;
    if (faults.write_error && faults.write_error_count <= 0) d.faults.write_error_count = 1;
    if (faults.replug_now)
        replug_locked(d);
    else if (faults.unplug_now)
        unplug_locked(d);
}

}  // namespace

void set_faults(int id, const Faults &faults) {
    Lock lk(state().lock);
    auto d = find_device(id);
    if (!d) return;
    d->transfers = 0;
    d->later_at = 0;
    if (faults.from_transfer > 1) {
        d->later = faults;
        d->later_at = faults.from_transfer;
        return;
    }
    take_effect(*d, faults);
}

void step_faults(Device &d) {
    ++d.transfers;
    if (d.later_at == 0 || d.transfers != d.later_at) return;
    d.later_at = 0;
    take_effect(d, d.later);
}

std::vector<Transfer> transfers() {
    Lock lk(state().lock);
    return state().transfers;
}

std::vector<std::string> commands(int id) {
    Lock lk(state().lock);
    auto d = find_device(id);
    return d ? d->commands : std::vector<std::string>();
}

std::vector<DataPack> data_packs(int id) {
    Lock lk(state().lock);
    auto d = find_device(id);
    return d ? d->rec.data_packs : std::vector<DataPack>();
}

std::vector<ShellLine> shell_lines(int id) {
    Lock lk(state().lock);
    auto d = find_device(id);
    return d ? d->rec.shell_lines : std::vector<ShellLine>();
}

std::vector<std::string> calls() {
    Lock lk(state().lock);
    return state().calls;
}

long long device_scans() {
    Lock lk(state().lock);
    return state().device_scans;
}

void clear_record() {
    Lock lk(state().lock);
    state().transfers.clear();
    state().calls.clear();
    for (const auto &d : state().devices) {
        d->commands.clear();
        d->rec.data_packs.clear();
        d->rec.shell_lines.clear();
    }
}

void set_realtime(bool on) {
    Lock lk(state().lock);
    state().realtime = on;
    state().changed.notify_all();
}

}  // namespace vsim
