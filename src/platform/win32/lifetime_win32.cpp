// The library's lifetime in the process: pinned once its threads run, and
// told apart from the end of the process at its detach.
#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/proc_address.h"

namespace vx::platform {

void KeepLibraryLoaded() {
    HMODULE self = nullptr;
    // The pin flag: FreeLibrary never unloads this module again.
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                         reinterpret_cast<LPCWSTR>(&KeepLibraryLoaded), &self);
}

bool OtherThreadsEnded() {
    // Pinned, the DLL is detached only by ExitProcess, which has ended the
    // other threads by then; ntdll says whether that stage has begun. Linked
    // into an executable, exit() runs the handlers first, with threads alive.
    using Query = BOOLEAN(NTAPI *)();
    static const Query in_shutdown =
        SystemProc<Query>(::GetModuleHandleW(L"ntdll.dll"), "RtlDllShutdownInProgress");
    return in_shutdown != nullptr && in_shutdown() != 0;
}

}  // namespace vx::platform
