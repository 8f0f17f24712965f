// USB arrivals and removals from the system's device-change broadcasts: a
// hidden top-level window of class "myusbmsg", on a thread of its own with
// its message loop, registered for the USB hub and USB device interfaces.
// Its window procedure queues the events that WaitDeviceEvent hands out.
#include <windows.h>
#include <dbt.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>

#include "platform/platform.h"

namespace vx::platform {

struct DeviceEvents {
    enum State { kStarting, kRunning, kFailed };
    std::mutex lock;
    std::condition_variable changed;
    std::deque<DeviceEvent> queue;
    State state = kStarting;
    DWORD error = 0;                   // why the window was not made
    HDEVNOTIFY registrations[2] = {};  // touched by the window thread only
};

namespace {

constexpr wchar_t kClassName[] = L"myusbmsg";
const GUID kUsbHubInterface = {
    0xF18A0E88, 0xC30C, 0x11D0, {0x88, 0x15, 0x00, 0xA0, 0xC9, 0x06, 0xBE, 0xD8}};
const GUID kUsbDeviceInterface = {
    0xA5DCBF10, 0x6530, 0x11D2, {0x90, 0x1F, 0x00, 0xC0, 0x4F, 0xB9, 0x51, 0xED}};
constexpr auto kStartWait = std::chrono::seconds(10);
// Only the latest event decides what the list does next; the bound keeps a
// stalled reader from growing the queue without end.
constexpr std::size_t kMaxQueued = 1024;

void Post(DeviceEvents *source, DeviceEvent event) {
    std::lock_guard<std::mutex> guard(source->lock);
    if (source->queue.size() >= kMaxQueued) source->queue.pop_front();
    source->queue.push_back(event);
    source->changed.notify_all();
}

void Settle(DeviceEvents *source, DeviceEvents::State state, DWORD error) {
    std::lock_guard<std::mutex> guard(source->lock);
    source->state = state;
    source->error = error;
    source->changed.notify_all();
}

// A volume or a device interface arrived or went; everything else (queries,
// pending removals, ports, handles, a bare "nodes changed") is no event.
DeviceEvent FromDeviceChange(WPARAM code, LPARAM data) {
    const auto *header = reinterpret_cast<const DEV_BROADCAST_HDR *>(data);
    if (header == nullptr) return kNoEvent;
    if (header->dbch_devicetype != DBT_DEVTYP_VOLUME &&
        header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE)
        return kNoEvent;
    if (code == DBT_DEVICEARRIVAL) return kArrival;
    if (code == DBT_DEVICEREMOVECOMPLETE) return kRemoval;
    return kNoEvent;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto *source = reinterpret_cast<DeviceEvents *>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_NCCREATE: {
        const auto *create = reinterpret_cast<const CREATESTRUCTW *>(lparam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        break;
    }
    case WM_DEVICECHANGE: {
        DeviceEvent event = FromDeviceChange(wparam, lparam);
        if (event != kNoEvent && source != nullptr) Post(source, event);
        return 0;
    }
    case WM_DESTROY:
        if (source != nullptr) {
            for (HDEVNOTIFY &r : source->registrations) {
                if (r != nullptr) ::UnregisterDeviceNotification(r);
                r = nullptr;
            }
        }
        ::PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return ::DefWindowProcW(window, message, wparam, lparam);
}

HDEVNOTIFY RegisterFor(HWND window, const GUID &interface_class) {
    DEV_BROADCAST_DEVICEINTERFACE_W filter{};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = interface_class;
    return ::RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
}

void WindowThread(DeviceEvents *source) {
    PrepareThreadForCrashes();
    HINSTANCE module = ::GetModuleHandleW(nullptr);
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = WindowProc;
    window_class.hInstance = module;
    window_class.lpszClassName = kClassName;
    ::RegisterClassW(&window_class);  // may exist already: an earlier source of this process
    HWND window =
        ::CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, nullptr, nullptr, module, source);
    if (window == nullptr) {
        DWORD error = ::GetLastError();
        ::UnregisterClassW(kClassName, module);
        Settle(source, DeviceEvents::kFailed, error);
        return;  // the source is never freed: the opener may still read it
    }
    source->registrations[0] = RegisterFor(window, kUsbHubInterface);
    source->registrations[1] = RegisterFor(window, kUsbDeviceInterface);
    Settle(source, DeviceEvents::kRunning,
           source->registrations[1] == nullptr ? ::GetLastError() : 0);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    if (::IsWindow(window)) ::DestroyWindow(window);
    ::UnregisterClassW(kClassName, module);
    Post(source, kSourceFailed);  // the loop ended: no more events, timed refreshes go on
}

}  // namespace

DeviceEvents *OpenDeviceEvents(std::string *name) {
    auto *source = new DeviceEvents;  // lives as long as its window thread: for good
    try {
        std::thread(WindowThread, source).detach();
    } catch (const std::system_error &) {
        *name = "no thread for the \"myusbmsg\" window";
        delete source;
        return nullptr;
    }
    std::unique_lock<std::mutex> lock(source->lock);
    // Bounded: a host that starts the monitor while it holds the loader lock
    // keeps the new thread from running until it lets go.
    if (!source->changed.wait_for(lock, kStartWait,
                                  [&] { return source->state != DeviceEvents::kStarting; })) {
        *name = "the \"myusbmsg\" window (still starting)";
        return source;
    }
    if (source->state == DeviceEvents::kFailed) {
        *name = "no \"myusbmsg\" window (error " + std::to_string(source->error) + ")";
        return nullptr;
    }
    *name = source->error == 0
                ? "the \"myusbmsg\" window"
                : "the \"myusbmsg\" window, volumes only (device notifications refused: error " +
                      std::to_string(source->error) + ")";
    return source;
}

DeviceEvent WaitDeviceEvent(DeviceEvents *source) {
    std::unique_lock<std::mutex> lock(source->lock);
    source->changed.wait(lock, [&] { return !source->queue.empty(); });
    DeviceEvent event = source->queue.front();
    if (event != kSourceFailed) source->queue.pop_front();  // a failure stays for every later wait
    return event;
}

}  // namespace vx::platform
