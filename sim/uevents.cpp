// Kernel-style uevents of the virtual bus: every plug posts "add", every
// unplug "remove", to a queue whose pipe a udev monitor stand-in polls
// (sim/udev/), so the library's event source works on the virtual bus.
#include <fcntl.h>
#include <mutex>
#include <deque>
#include <unistd.h>

#include "internal.h"

namespace vsim {

namespace {
struct Uevents {
    std::mutex lock;
    std::deque<std::string> queue;
    int pipe_fds[2] = {-1, -1};
    bool on = true;
};
Uevents &uevents() {
    static Uevents *u = new Uevents;  // outlives every thread and static destructor
    return *u;
}
void ensure_pipe(Uevents &u) {
    if (u.pipe_fds[0] >= 0) return;
    if (::pipe2(u.pipe_fds, O_CLOEXEC | O_NONBLOCK) != 0) u.pipe_fds[0] = u.pipe_fds[1] = -1;
}
}  // namespace

void post_uevent(const char *action) {
    Uevents &u = uevents();
    std::lock_guard<std::mutex> lk(u.lock);
    if (!u.on) return;
    ensure_pipe(u);
    u.queue.emplace_back(action);
    char byte = 1;
    if (u.pipe_fds[1] >= 0) (void)!::write(u.pipe_fds[1], &byte, 1);
}

void set_uevents(bool on) {
    Uevents &u = uevents();
    std::lock_guard<std::mutex> lk(u.lock);
    u.on = on;
}

bool uevents_on() {
    Uevents &u = uevents();
    std::lock_guard<std::mutex> lk(u.lock);
    return u.on;
}

void drop_uevents() {
    Uevents &u = uevents();
    std::lock_guard<std::mutex> lk(u.lock);
    if (u.pipe_fds[0] >= 0) {
        char buf[64];
        while (::read(u.pipe_fds[0], buf, sizeof buf) > 0) {}
    }
    u.queue.clear();
}

int uevent_fd() {
    Uevents &u = uevents();
    std::lock_guard<std::mutex> lk(u.lock);
    ensure_pipe(u);
    return u.pipe_fds[0];
}

bool take_uevent(std::string *action) {
    Uevents &u = uevents();
    std::lock_guard<std::mutex> lk(u.lock);
    char byte;
    if (u.pipe_fds[0] >= 0) (void)!::read(u.pipe_fds[0], &byte, 1);
    if (u.queue.empty()) return false;
    *action = u.queue.front();
    u.queue.pop_front();
    return true;
}

}  // namespace vsim
