// Device-change broadcasts of the virtual bus on Windows: every plug sends
// DBT_DEVICEARRIVAL and every unplug DBT_DEVICEREMOVECOMPLETE for the USB
// device interface, as the system does to the windows registered for it
// (here: every "myusbmsg" window of this process). There is no udev monitor
// to feed.
#include "internal.h"

// After the libusb declarations: the full windows.h defines "interface".
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <dbt.h>

#include <atomic>
#include <cstring>

namespace vsim {

namespace {
std::atomic<bool> g_on{true};
const GUID kUsbDeviceInterface = {
    0xA5DCBF10, 0x6530, 0x11D2, {0x90, 0x1F, 0x00, 0xC0, 0x4F, 0xB9, 0x51, 0xED}};
constexpr wchar_t kName[] =
    L"\\\\?\\USB#VID_VSIM&PID_VSIM#virtual#{a5dcbf10-6530-11d2-901f-00c04fb951ed}";
constexpr UINT kSendTimeoutMs = 2000;

struct Broadcast {
    DEV_BROADCAST_DEVICEINTERFACE_W header;
    wchar_t rest[sizeof kName / sizeof kName[0]];
};
}  // namespace

void post_uevent(const char *action) {
    if (!g_on.load()) return;
    Broadcast b{};
    b.header.dbcc_size = sizeof(DEV_BROADCAST_DEVICEINTERFACE_W) + sizeof kName - sizeof(wchar_t);
    b.header.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    b.header.dbcc_classguid = kUsbDeviceInterface;
    std::memcpy(b.header.dbcc_name, kName, sizeof kName);
    WPARAM code = std::strcmp(action, "add") == 0 ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE;
    for (HWND w = ::FindWindowExW(nullptr, nullptr, L"myusbmsg", nullptr); w != nullptr;
         w = ::FindWindowExW(nullptr, w, L"myusbmsg", nullptr)) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(w, &owner);
        if (owner != ::GetCurrentProcessId()) continue;  // the bus is this process's own
        DWORD_PTR result = 0;
        ::SendMessageTimeoutW(w, WM_DEVICECHANGE, code, reinterpret_cast<LPARAM>(&b),
                              SMTO_ABORTIFHUNG, kSendTimeoutMs, &result);
    }
}

void set_uevents(bool on) { g_on.store(on); }
bool uevents_on() { return g_on.load(); }
int uevent_fd() { return -1; }
void drop_uevents() {}
bool take_uevent(std::string *) { return false; }

}  // namespace vsim
