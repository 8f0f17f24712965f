// A device's two pipes: OUT bytes framed into command lines, replies cut into
// IN packets. Faults that act on a received command apply here.
#include "internal.h"

namespace vsim {
namespace {

// One command as received: with its "\r\n" if it had one.
void take_command(Device &d, const std::string &received) {
    d.commands.push_back(received);

    if (d.faults.unplug_after_command) {
        d.faults.unplug_after_command = false;
        unplug_locked(d);
        return;
    }
    if (d.faults.silent_replies > 0) {  // ignored: no effect, no reply
        --d.faults.silent_replies;
        return;
    }
    auto s = d.script.find(received);
    if (s != d.script.end()) {
        queue_reply(d, s->second);
        return;
    }
    std::string line = received;
    if (line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0)
        line.resize(line.size() - 2);
    queue_reply(d, answer(d.rec, line));
    if (d.rec.powering_off) {
        d.rec.powering_off = false;
        if (d.faults.leave_on_power_off) d.leaving = true;
    }
}

// Takes every "\r\n"-terminated line out of the OUT buffer; with
// take_rest, whatever follows the last one is a command too.
void take_lines(Device &d, bool take_rest) {
    std::size_t start = 0;
    for (;;) {
        std::size_t end = d.out.find("\r\n", start);
        if (end == std::string::npos) break;
        std::string cmd = d.out.substr(start, end + 2 - start);
        start = end + 2;
        take_command(d, cmd);
        if (!d.plugged) return;  // unplug cleared the buffer
    }
    std::string rest = d.out.substr(start);
    d.out.clear();
    if (rest.empty()) return;
    if (take_rest)
        take_command(d, rest);
    else
        d.out = rest;
}

}  // namespace

void receive(Device &d, const std::string &bytes) {
    d.out += bytes;
    if (d.out.size() >= 2 && d.out.compare(d.out.size() - 2, 2, "\r\n") == 0) take_lines(d, false);
}

void drain_partial(Device &d) {
    if (!d.out.empty()) take_lines(d, true);
}

void queue_reply(Device &d, const std::string &reply) {
    if (reply.empty() || !d.plugged) return;
    const std::vector<std::size_t> &split = d.faults.reply_split;
    std::size_t pos = 0, turn = 0;
    while (pos < reply.size()) {
        std::size_t n = d.rec.spec.packet_size;
        if (!split.empty()) n = split[turn < split.size() ? turn : split.size() - 1];
        if (n == 0) n = 1;
        d.in.push_back(reply.substr(pos, n));
        pos += n;
        ++turn;
    }
    state().changed.notify_all();
}

}  // namespace vsim
