// A Windows host that crashes, for the crash dump tests. It loads the
// library as hosts without an import library do (LoadLibrary and
// GetProcAddress). Modes:
//   monitor      start the monitor, then fault
//   own-filter   start the monitor, install its own unhandled-exception
//                filter (exit code 3 if that reports a previous one), fault
//   unload       start the monitor, FreeLibrary the library, install its own
//                filter, then fault
//   no-monitor   load the library and fault without starting the monitor
//   log-dir      choose the log folder "chosen" (relative), start, fault
// A filter of its own that runs ends the process with exit code 42.
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

LONG WINAPI OwnFilter(EXCEPTION_POINTERS *) { ::ExitProcess(42); }

// The address comes from outside the compiler's view, so the store is a
// real fault and not an optimised-out null dereference.
[[gnu::noinline]] void Fault(const char *address) {
    auto *p = reinterpret_cast<volatile int *>(std::strtoul(address, nullptr, 0));
    *p = 1;
}

// An export as a function of type F; null if the library lacks it.
template <typename F>
F Export(HMODULE lib, const char *name) {
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(::GetProcAddress(lib, name)));
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 2) return 2;
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);  // no crash dialog
    std::string mode = argv[1];
    HMODULE lib = ::LoadLibraryW(L"LibVestra.dll");
    if (lib == nullptr) return 4;
    auto start = Export<void (*)()>(lib, "VX_InitDevListPthread");
    auto set_log = Export<void (*)(int)>(lib, "VX_SetLibLog");
    auto set_dir = Export<void (*)(const char *)>(lib, "VX_SetLibLogDir");
    if (start == nullptr || set_log == nullptr || set_dir == nullptr) return 5;
    set_log(0);
    if (mode == "log-dir") set_dir("chosen");
    if (mode != "no-monitor") start();
    if (mode == "unload") ::FreeLibrary(lib);
    if (mode == "own-filter" || mode == "unload") {
        if (::SetUnhandledExceptionFilter(OwnFilter) != nullptr) return 3;
    }
    Fault("0x10");
    return 0;
}
