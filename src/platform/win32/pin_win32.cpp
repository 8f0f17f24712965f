#include "platform/win32/pin_win32.h"

#include <windows.h>

#include "platform/win32/entry_jump_win32.h"
#include "platform/win32/proc_address.h"

namespace vx::platform {

namespace {

// Where every later SetUnhandledExceptionFilter call lands.
LPTOP_LEVEL_EXCEPTION_FILTER WINAPI KeepFilter(LPTOP_LEVEL_EXCEPTION_FILTER) { return nullptr; }

}  // namespace

bool PinExceptionFilter() {
    using Setter = LPTOP_LEVEL_EXCEPTION_FILTER(WINAPI *)(LPTOP_LEVEL_EXCEPTION_FILTER);
    Setter entry =
        SystemProc<Setter>(::GetModuleHandleW(L"kernel32.dll"), "SetUnhandledExceptionFilter");
    if (entry == nullptr) return false;
    return RedirectEntry(reinterpret_cast<void *>(entry),
                         reinterpret_cast<const void *>(&KeepFilter));
}

}  // namespace vx::platform
