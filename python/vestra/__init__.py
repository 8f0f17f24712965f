"""Python binding of LibVestra: find, identify and control USB body-worn video
recorders, follow the device list, and decrypt recordings.

The binding loads the shared library through ctypes: VESTRA_LIBRARY names its
file, else the installed LibVestra.so.0 (LibVestra.dll on Windows) is used.

Recorders
    with vestra.Recorder("VX007", password="888888") as rec:   # or id_code="3400001"
        print(rec.dev_name, rec.bat_val)
        rec.dev_name = "Unit 7"
        rec.serv_addr = ("10.0.0.2", 9000)      # or rec.set_serv_addr("10.0.0.2", 9000)
        print(rec.get_video_osd(1))             # getters with arguments are methods
        rec.ctrl_reboot()

Every device operation of the library is a method named after its C function
(VX_GetDevName -> get_dev_name, VX_SetGpsServCfg -> set_gps_serv_cfg,
VX_CtrlPowerOff -> ctrl_power_off); a get without arguments is also a
property (dev_name, gps_serv_cfg), writable where its setter takes what it
returns. Several outputs come back as a named tuple; sets and actions return
the record's status number (1, or a special status such as -110).
vestra.OPERATIONS lists them with their keyword, form and rule. rec.command()
sends a raw command line. Leaving the with block (or close()) logs out and
releases the record; using it afterwards raises VestraError (status -101).

Errors
    A failed operation raises VestraError with .status (the VX_STATUS_* number),
    .text (the library's error text), .reply (the device's reply when it refused
    or did not answer) and .command (the line sent).

Device list and hot-plug
    vestra.devices()                    # snapshot: Device(index, serial, id_code, ...)
    with vestra.DeviceWatch() as watch: # events as an iterator
        event = watch.get(timeout=10)   # DeviceEvent("changed", count) / ("arrival"|"removal", n)
    vestra.on_device_event(print)       # or a callback, run on a thread of the binding
    vestra.Recorder.from_list(index, password=...)

    The library keeps its monitor running until the process ends; the first
    use starts it. Callbacks never run on the library's own threads.

Log and crash reports
    LibVestra.log (and crash reports, once the monitor runs) go to the folder of
    the main script, or the working directory for an interactive session,
    `python -c` and `python -m`; vestra.set_log_dir(folder) chooses another.

Recordings and time zones
    vestra.decrypt_file("in.avi", "out.avi", "key")
    vestra.time_zone_index("Asia/Kolkata") -> (region, country, city)
    vestra.time_zone_name(region, country, city) -> "IN/Asia/Kolkata"
    vestra.time_zones() -> [TimeZone(region, country, city, name), ...]

The standard set, its maintenance commands and INI texts (vestra.standard)
    with vestra.StandardRecorder(password="888888") as gb:
        print(gb.id_code, gb.identity, gb.resolution, gb.battery)
    vestra.gbcmd_battery("5550", "888888")
    vestra.parse_ini_command("Net.Apn=cmnet") -> IniCommand("set", "Net", [...])
    Failures raise StandardError (.status, .name).

The ctypes declarations (vestra._capi) are generated from LibVestra.h and the
operation table (vestra._ops) from the library's operation rows at build time.
"""
from . import _capi as capi
from ._library import VestraError, lib, set_log_dir
from ._ops import OPERATIONS, Operation
from .devices import Device, DeviceEvent, DeviceWatch, devices, on_device_event, start_monitor
from .media import TimeZone, decrypt_file, decrypt_frame, time_zone_index, time_zone_name, time_zones
from .recorder import Recorder
from .standard import (IniCommand, IniEntry, Identity, StandardError, StandardRecorder, gbcmd_battery,
                       gbcmd_download_mode, gbcmd_power_off, parse_ini_command)

__all__ = [
    "Device", "DeviceEvent", "DeviceWatch", "OPERATIONS", "Operation", "Recorder", "TimeZone",
    "VestraError", "capi", "decrypt_file", "decrypt_frame", "devices", "lib", "on_device_event",
    "set_log_dir", "start_monitor", "time_zone_index", "time_zone_name", "time_zones",
    "IniCommand", "IniEntry", "Identity", "StandardError", "StandardRecorder", "gbcmd_battery",
    "gbcmd_download_mode", "gbcmd_power_off", "parse_ini_command",
]
