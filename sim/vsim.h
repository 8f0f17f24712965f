// Control interface of the virtual recorder bus.
//
// The virtual bus is a libusb 0.1 implementation (built as libusb-0.1.so.4)
// whose devices are simulated recorders. A program that links this library
// gets the libusb symbols from it, so LibVestra, unchanged, talks to these
// recorders. Tests drive the bus in-process through this header; the demo and
// the command-line tool describe it in a JSON scenario file instead (see
// load_scenario), which is read on the first usb_init when the environment
// variable VSIM_SCENARIO names one.
//
// Every function here is thread-safe: the bus has one lock, and devices may be
// plugged and unplugged while another thread is inside a libusb call.
#pragma once

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace vsim {

// What the bulk calls return for a time-out, for a device that left the bus
// and for an I/O failure: the codes of the platform's real libusb 0.1
// (Debian's libusb-compat: -ETIMEDOUT, -ENODEV, -EIO; libusb-win32: -116
// for a time-out and -5 for the rest).
#if defined(_WIN32)
constexpr int kTimedOut = -116;
constexpr int kNoDevice = -5;
constexpr int kIoError = -5;
#else
constexpr int kTimedOut = -ETIMEDOUT;
constexpr int kNoDevice = -ENODEV;
constexpr int kIoError = -EIO;
#endif

// One recorder on the virtual bus.
struct DeviceSpec {
    // A model name of the library's table ("VX007", "VX005", "VX006", "VX004",
    // "VX001", "VX002") fills vid, pid, configuration, interface and endpoints
    // from the table. Empty: the fields below are taken as given (unknown or
    // custom devices).
    std::string model;
    uint16_t vid = 0;
    uint16_t pid = 0;
    int configuration = 1;
    int interface_no = 0;
    int ep_in = 0x81;
    int ep_out = 0x01;

    int bus = 0;                        // index of the bus (see add_bus)
    int devnum = 0;                     // bus device number wanted (1-127; 0: the lowest free)
    std::string serial;                 // USB serial-number string, e.g. "A1B2C3_1"
    std::string id_code = "3400001";    // answer to "VX+GBIDCODE?"
    std::string user = "admin";         // account accepted by "VX+LOGIN="
    std::string password = "888888";    // its digest (MD5, upper-case hex) logs in
    std::string login_id = "LID0001";   // answer to "VX+LOGINID?"
    std::string login_pwd = "PWD0001";  // text accepted by "VX+LOGINPWD="
    std::size_t packet_size = 512;      // largest piece one bulk read delivers
    // Values preset at plug, by keyword, over the recorder's defaults (see
    // set_value; docs/scenario-format.md lists the keywords and text forms).
    std::vector<std::pair<std::string, std::string>> values;
};

// One row of the sim's model table, as plug() applies it.
struct ModelInfo {
    std::string name;
    uint16_t vid, pid;
    int configuration, interface_no, ep_in, ep_out;
};

// One libusb call on a device's pipes, as the library made it.
struct Transfer {
    enum Kind { Write, Read } kind;
    int device;        // id from plug()
    int endpoint;      // as passed to usb_bulk_write / usb_bulk_read
    std::string data;  // bytes the device accepted (Write) or delivered (Read)
    int size;          // size argument of the call
    int timeout;       // timeout argument of the call, ms
    int result;        // what the call returned
};

// Faults, armed per device; each applies to the device's next traffic as said.
struct Faults {
    // Split each reply into packets of these sizes, in turn (the last size
    // repeats); empty: packets of packet_size.
    std::vector<std::size_t> reply_split;
    // Accept at most this many bytes per bulk write (0: all).
    int write_chunk = 0;
    // The next N commands are received but never answered (reads time out).
    int silent_replies = 0;
    // Unplug the device right after the next complete command is received, so
    // the read that follows fails with -ENODEV.
    bool unplug_after_command = false;
    // Non-zero: usb_set_configuration / usb_claim_interface return this code.
    int set_configuration_error = 0;
    int claim_interface_error = 0;
    // Non-zero: the next N bulk writes fail with this code (e.g. -EIO); a
    // count of 0 means the next write only.
    int write_error = 0;
    int write_error_count = 0;
    // Every bulk read returns a full packet (packet_size, bounded by the
    // read's size) of stale bytes; replies wait behind the stream.
    bool stale_stream = false;
    // Every bulk read returns 0 bytes at once.
    bool zero_length_reads = false;
    // After a power-off or reboot ("VX+POWEROFF=1|2") or a shell line that
    // powers off or enters download mode, the recorder leaves the bus as soon
    // as its reply has been read (or at the next write, if it never is).
    bool leave_on_power_off = false;
    // The device leaves the bus as these faults take effect; with replug_now
    // the same recorder comes straight back under another device number (see
    // replug; replugged_as names the new device).
    bool unplug_now = false;
    bool replug_now = false;
    // Non-zero: these faults take effect only at the N-th bulk transfer on the
    // device after set_faults (1-based, reads and writes counted alike), just
    // before it; the faults armed before stay until then. A test names one
    // step of an exchange with it: 1 the flush's read, 2 the write, 3 the read
    // of the first reply packet, and so on.
    int from_transfer = 0;
};

// A data pack the recorder received ("VX+BASE64=n,..."), decoded.
struct DataPack {
    int number;
    std::string bytes;
};

// A shell line the recorder received ("VX+SYSCMD=..."), decoded, and when.
struct ShellLine {
    std::string line;
    std::chrono::steady_clock::time_point at;
};

// A command handler: gets the device's state and the command line without
// its "\r\n", returns the reply bytes ("" means no reply).
struct Recorder;
using Handler = std::function<std::string(Recorder &, const std::string &line)>;

// The state of one simulated recorder that handlers may read and change.
struct Recorder {
    int id;
    DeviceSpec spec;
    bool logged_in = false;
    // Settings by keyword ("DEVNAME", "TALKBACKCFG", "APLIST", ...), as texts.
    std::vector<std::pair<std::string, std::string>> values;
    // What "VX+FRESET=1" restores: the defaults and every preset.
    std::vector<std::pair<std::string, std::string>> initial_values;
    std::vector<DataPack> data_packs;
    std::vector<ShellLine> shell_lines;
    bool powering_off = false;  // a command asked it to power off or reboot
    std::string get(const std::string &key) const;
    void set(const std::string &key, const std::string &value);
};

// ---- Bus ---------------------------------------------------------------
void reset();  // removes every bus, device, script, fault and record; realtime off
int add_bus(const std::string &dirname, uint32_t location);  // returns its index
// Returns the device id (1, 2, ...), or -1 for an unknown model name. A bus
// index with no bus yet adds the missing busses ("001", "002", ..., location 0).
// The device takes the lowest device number no plugged device of its bus holds;
// it joins its bus's devices list (at the tail) at the next usb_find_devices.
int plug(const DeviceSpec &spec);
void unplug(int id);  // open handles fail with -ENODEV from now on
int devnum(int id);   // the bus device number it was given
// Unplugs the device and plugs the same recorder back at once, as a fresh
// device (not logged in, values as at plug) under another device number of
// its bus. Returns the new id, or -1.
int replug(int id);
// The id a device came back under at its last replug; 0 if it never did.
int replugged_as(int id);
// Plugs an unplugged device back as a fresh recorder of the same spec (not
// logged in, values as at plug, no faults), in the same usb_device struct, as
// a real libusb may hand out a departed device's memory again, under the
// lowest free device number. Only once a scan has taken it off its bus's
// list: false otherwise. Long runs plug and unplug a fixed set this way.
bool plug_again(int id);

// The model table plug() fills DeviceSpec from.
std::vector<ModelInfo> models();

// ---- Protocol engine -----------------------------------------------------
// Settings behind the commands, by keyword, in the texts of
// docs/scenario-format.md. set_value presets: "VX+FRESET=1" restores it.
void set_value(int id, const std::string &key, const std::string &value);
std::string value(int id, const std::string &key);
bool logged_in(int id);
// Exact command line (with its "\r\n") -> exact reply bytes for this device,
// overriding the engine until reset(). An empty reply means silence.
void script(int id, const std::string &command_line, const std::string &reply);
// Bytes waiting in the device's IN pipe now, as if left from an earlier reply.
void queue_stale(int id, const std::string &bytes);
// Handler for a keyword on every device (replaces the built-in one; runs
// whether or not the device is logged in). It runs under the bus lock and may
// call this API. An empty handler removes it.
void set_handler(const std::string &keyword, Handler handler);

// The digest "VX+LOGIN=" must carry for a password: its MD5 in 32
// upper-case hexadecimal digits (computed with OpenSSL, independently of the
// library's own MD5).
std::string password_digest(const std::string &text);

// ---- Faults --------------------------------------------------------------
void set_faults(int id, const Faults &faults);

// ---- Record of traffic ---------------------------------------------------
std::vector<Transfer> transfers();  // every bulk transfer since reset/clear
// Command lines received, as received: with their "\r\n", or without one
// when unterminated bytes were taken as a command at a bulk read.
std::vector<std::string> commands(int id);
// Data packs and shell lines the device received, in order of arrival.
std::vector<DataPack> data_packs(int id);
std::vector<ShellLine> shell_lines(int id);
// Other libusb calls on devices, in order, e.g. "open 1", "set_configuration 1 1",
// "claim_interface 1 2", "release_interface 1 0", "close 1" (name, device id, argument).
std::vector<std::string> calls();
void clear_record();  // transfers, calls, commands, data packs and shell lines
// usb_find_devices calls since reset(): one per list update, so the number of
// refreshes a monitor ran.
long long device_scans();

// ---- Timing --------------------------------------------------------------
// Off (default): a read with nothing to deliver returns the time-out code at
// once. On: it waits for its whole timeout first, as a real device would.
void set_realtime(bool on);

// ---- Device events -------------------------------------------------------
// Every plug posts "add" and every unplug "remove", as the kernel's uevents
// do; the udev monitor stand-in (libudev.so.1 from sim/udev/) delivers them.
// Off: nothing is posted, and that monitor cannot be opened (a system
// without an event source). On by default.
void set_uevents(bool on);
bool uevents_on();
// The monitor stand-in's side: a descriptor readable while events wait, and
// the next event's action.
int uevent_fd();
void drop_uevents();  // a new monitor hears nothing from before it opened
bool take_uevent(std::string *action);

// ---- Scenario files ------------------------------------------------------
// Loads a JSON scenario (busses, devices, values, scripts, faults, timed
// plug/unplug events; docs/scenario-format.md), adding to what is on the bus.
// Returns false and fills error on a malformed file, which changes nothing.
bool load_scenario(const std::string &path, std::string *error);

}  // namespace vsim
