// A routine of a loaded system module, typed. The cast goes through the
// generic function type, which is what GetProcAddress really returns.
#pragma once

#include <windows.h>

namespace vx::platform {

template <class Fn>
Fn SystemProc(HMODULE module, const char *name) {
    if (module == nullptr) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

}  // namespace vx::platform
