// Shared state of the virtual bus: devices, busses, the lock and the record.
// Only the sim's own files include this.
#pragma once

#include "transport/models.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "vsim.h"

#if defined(_WIN32)
// libusb-win32 has no usb_busses variable in its interface; the sim keeps one.
extern struct usb_bus *usb_busses;
#endif

// Internal: kept out of the exported symbols.
#pragma GCC visibility push(hidden)

namespace vsim {

// The parts of a usb_device that must live as long as it (never freed).
struct UsbNode {
    struct usb_device dev {};
    usb_config_descriptor config{};
    usb_interface interface {};
    usb_interface_descriptor altsetting{};
    usb_endpoint_descriptor endpoints[2]{};
};

struct Device {
    Recorder rec;
    UsbNode *node = nullptr;  // owned by State::graveyard_devices
    bool plugged = true;
    bool listed = false;         // on its bus's devices list
    std::string out;             // OUT bytes not yet taken as a command
    std::deque<std::string> in;  // IN packets waiting to be read
    Faults faults;
    std::map<std::string, std::string> script;
    std::vector<std::string> commands;
    bool leaving = false;  // leaves the bus once its IN pipe is read empty
    Faults later;          // armed with from_transfer: take effect at transfer later_at
    int later_at = 0;
    int transfers = 0;  // bulk transfers since set_faults
    int successor = 0;  // id it came back under at its last replug
};

struct Bus {
    usb_bus *node = nullptr;  // owned by State::graveyard_busses
    bool seen = false;        // reported by usb_find_busses already
};

struct State {
    // Recursive so that a handler may call back into the control API.
    std::recursive_mutex lock;
    std::condition_variable_any changed;  // new IN data, unplug, events

    std::vector<Bus> busses;
    std::vector<std::shared_ptr<Device>> devices;  // index = id - 1
    std::map<std::string, Handler> handlers;
    std::vector<Transfer> transfers;
    std::vector<std::string> calls;
    long long device_scans = 0;  // usb_find_devices calls
    bool realtime = false;

    // Every usb_bus / usb_device ever made: the library may still hold them.
    std::vector<std::unique_ptr<usb_bus>> graveyard_busses;
    std::vector<std::unique_ptr<UsbNode>> graveyard_devices;
    std::map<const struct usb_device *, std::shared_ptr<Device>> by_node;

    // Scenario event thread.
    std::thread events;
    bool events_stop = false;
};

using Lock = std::unique_lock<std::recursive_mutex>;

State &state();  // never destroyed

// bus.cpp (callers hold the lock)
std::shared_ptr<Device> find_device(int id);
int find_devices_locked();
int find_busses_locked();
void unplug_locked(Device &d);
int replug_locked(Device &d);  // the new id, or -1

// control.cpp (callers hold the lock): counts a bulk transfer on the device
// and lets faults armed for it take effect.
void step_faults(Device &d);

// models.cpp
bool apply_model(DeviceSpec &spec);

// command_table.cpp: the reply to one command line (without "\r\n").
std::string answer(Recorder &rec, const std::string &line);

// recorder.cpp: sets a value and makes it one "VX+FRESET=1" restores.
void preset(Recorder &rec, const std::string &key, const std::string &value);
// defaults.cpp: the values of a freshly plugged recorder.
std::vector<std::pair<std::string, std::string>> default_values(const DeviceSpec &spec);

// pipe.cpp (callers hold the lock)
void receive(Device &d, const std::string &bytes);  // OUT bytes arrive
void drain_partial(Device &d);                      // take unterminated OUT bytes as a command
void queue_reply(Device &d, const std::string &reply);

// scenario.cpp
void stop_events();
void load_scenario_from_env();

// Queues a uevent ("add", "remove") for the udev monitor stand-in.
void post_uevent(const char *action);

}  // namespace vsim

#pragma GCC visibility pop
