// The device-event window of this process, and WM_DEVICECHANGE messages as
// the system sends them to it. Other test processes on the same desktop
// have windows of the same class: only this process's own is taken.
#pragma once

#include <windows.h>
#include <dbt.h>

#include <cstring>

namespace testwin {

const GUID kUsbDeviceInterface = {
    0xA5DCBF10, 0x6530, 0x11D2, {0x90, 0x1F, 0x00, 0xC0, 0x4F, 0xB9, 0x51, 0xED}};

inline HWND OwnDeviceWindow() {
    for (HWND w = ::FindWindowExW(nullptr, nullptr, L"myusbmsg", nullptr); w != nullptr;
         w = ::FindWindowExW(nullptr, w, L"myusbmsg", nullptr)) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(w, &owner);
        if (owner == ::GetCurrentProcessId()) return w;
    }
    return nullptr;
}

// Large enough for any broadcast the tests send, a device path included.
union Broadcast {
    DEV_BROADCAST_HDR header;
    DEV_BROADCAST_DEVICEINTERFACE_W interface_;
    DEV_BROADCAST_VOLUME volume;
    unsigned char bytes[512];
};

// A device interface of the USB device class, with its path as the system
// names it; or a volume (drive E:); or only a header of another type.
inline Broadcast MakeBroadcast(DWORD type) {
    Broadcast b;
    std::memset(&b, 0, sizeof b);
    b.header.dbch_devicetype = type;
    b.header.dbch_size = sizeof(DEV_BROADCAST_HDR);
    if (type == DBT_DEVTYP_DEVICEINTERFACE) {
        static const wchar_t kPath[] =
            L"\\\\?\\USB#VID_2B6F&PID_0007#A1234567_1#{a5dcbf10-6530-11d2-901f-00c04fb951ed}";
        b.interface_.dbcc_classguid = kUsbDeviceInterface;
        std::memcpy(b.interface_.dbcc_name, kPath, sizeof kPath);
        b.header.dbch_size =
            DWORD(sizeof(DEV_BROADCAST_DEVICEINTERFACE_W) + sizeof kPath - sizeof(wchar_t));
    } else if (type == DBT_DEVTYP_VOLUME) {
        b.volume.dbcv_unitmask = 1u << 4;
        b.header.dbch_size = sizeof(DEV_BROADCAST_VOLUME);
    }
    return b;
}

// Sends synchronously, as the system does: the window procedure has run
// when this returns. lparam is null when with_data is false.
inline LRESULT SendDeviceChange(HWND w, WPARAM code, DWORD type, bool with_data = true) {
    Broadcast b = MakeBroadcast(type);
    return ::SendMessageW(w, WM_DEVICECHANGE, code, with_data ? reinterpret_cast<LPARAM>(&b) : 0);
}

}  // namespace testwin
