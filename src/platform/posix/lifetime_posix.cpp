#include <dlfcn.h>

#include "platform/platform.h"

namespace vx::platform {

void KeepLibraryLoaded() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void *>(&KeepLibraryLoaded), &info) == 0 ||
        info.dli_fname == nullptr)
        return;
    // One more reference that dlclose never drops; RTLD_NOLOAD: only if loaded.
    ::dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
}

// exit() runs its handlers while the library's threads still run.
bool OtherThreadsEnded() { return false; }

}  // namespace vx::platform
