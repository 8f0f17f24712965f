// The wake-up a thread rests on: an auto-reset event object. Its waits are
// relative and run on the system's interrupt time, which a change of the
// clock does not move (the runtime's condition variable would wait on the
// wall clock here). No wait here ever runs under the loader lock: the exit
// handler returns before waiting when a DLL's detach runs it.
#include <windows.h>

#include "platform/platform.h"

namespace vx::platform {

struct Wake {
    HANDLE event;
};

Wake *NewWake() { return new Wake{::CreateEventW(nullptr, FALSE, FALSE, nullptr)}; }

void SetWake(Wake *wake) {
    if (wake->event != nullptr) ::SetEvent(wake->event);
}

bool WaitWake(Wake *wake, uint32_t ms) {
    if (wake->event == nullptr) {
        // No event object to be had: rest in short steps instead of not at
        // all, and let the caller look again after each.
        constexpr uint32_t kStepMs = 50;
        ::Sleep(ms < kStepMs ? ms : kStepMs);
        return true;
    }
    return ::WaitForSingleObject(wake->event, ms) == WAIT_OBJECT_0;
}

}  // namespace vx::platform
