// Keeps the crash handler in place: once pinned, sigaction() (and signal(),
// sigset(), which go through it inside the C library) no longer change the
// action of the pinned signals, from whatever code in the process calls it.
#pragma once

namespace vx::platform {

// Rewrites the entry of the C library's sigaction to a filter that refuses
// new actions for the signals in the set (reporting success, as the
// replaced function would) and passes every other call on. Call after the
// handler is installed. False when this platform or process allows no patch.
bool PinSignals(const int *signals, int count);

}  // namespace vx::platform
