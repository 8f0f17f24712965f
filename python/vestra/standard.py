"""The standard recorder set (one library-owned record), the maintenance
commands for VX005 recorders, and the INI command parser, as Python calls.

    with vestra.StandardRecorder(password="888888") as gb:   # Init_Device ... UnInit_Device
        print(gb.id_code, gb.identity, gb.resolution, gb.battery)
        gb.identity = gb.identity._replace(user_name="Officer Kim")
        gb.sync_time()
    vestra.gbcmd_battery("5550", "888888")                   # the VX005 whose serial holds "5550"
    vestra.parse_ini_command("Net.Apn=cmnet|.User=x")        # IniCommand("set", "Net", [...])

A failure raises StandardError with .status (the VX_GB_* or VX_GBCMD_*
number) and .name (its constant's name)."""
import ctypes
import threading
from collections import namedtuple

from . import _capi
from ._library import decode, encode, lib

Identity = namedtuple("Identity", "serial user_no user_name unit_no unit_name")
IniEntry = namedtuple("IniEntry", "key has_value value")
IniCommand = namedtuple("IniCommand", "op section entries")

_IDENTITY_FIELDS = [name for name, _ in _capi.ZFYInfo._fields_]
_INI_OPS = {0: "query", 1: "set", 3: "add", 4: "remove"}  # UmsIniCmd.op
_NOT_GIVEN = -1000  # no function of either set writes it: "the status was left as it was"


class StandardError(Exception):
    """A standard-set or maintenance call that failed.

    status: the number the library wrote (VX_GB_* or VX_GBCMD_*), or None
            when it wrote none (the device refused or its reply was unreadable)
    name:   the constant's name, such as "VX_GB_LOGIN_FAILED"
    """

    def __init__(self, operation, status, prefix):
        self.operation = operation
        self.status = None if status == _NOT_GIVEN else status
        names = [k for k, v in vars(_capi).items() if k.startswith(prefix) and v == status]
        self.name = names[0] if names else None
        super().__init__(f"{operation}: status {self.status} ({self.name or 'refused'})")


def _call(prefix, operation, function, *args):
    """Runs function(*args, &status); the status on success, else StandardError."""
    status = ctypes.c_int32(_NOT_GIVEN)
    if not function(*args, ctypes.byref(status)):
        raise StandardError(operation, status.value, prefix)
    return status.value


def _gb(operation, function, *args):
    return _call("VX_GB_", operation, function, *args)


class StandardRecorder:
    """The standard set's recorder: the first attached of its models, on the
    library's one record. Use it in a with block (leaving it logs out and
    releases the record); every operation takes the password given here."""

    def __init__(self, password="", id_code=None):
        self._password = encode(password)
        area = ctypes.create_string_buffer(encode(id_code) if id_code else b"", _capi.VX_ID_CODE_LEN)
        _gb("init_device", lib.Init_Device, area)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def close(self):
        """Logs out, closes and clears the record (UnInit_Device)."""
        _gb("uninit_device", lib.UnInit_Device)

    @property
    def id_code(self):
        area = ctypes.create_string_buffer(_capi.VX_ID_CODE_LEN)
        _gb("get_id_code", lib.GetIDCode, area)
        return decode(area.raw)

    @property
    def identity(self):
        """The identity record (an Identity); writable."""
        info = _capi.ZFYInfo()
        _gb("get_zfy_info", lib.GetZFYInfo, ctypes.byref(info), self._password)
        return Identity(*(decode(getattr(info, f)) for f in _IDENTITY_FIELDS))

    @identity.setter
    def identity(self, value):
        info = _capi.ZFYInfo()
        for field, text in zip(_IDENTITY_FIELDS, Identity(*value)):
            data, room = encode(text), getattr(_capi.ZFYInfo, field).size
            if len(data) > room:  # the library reads each field up to its width
                raise ValueError(f"{field}: {text!r} does not fit its {room} bytes")
            setattr(info, field, data)
        _gb("write_zfy_info", lib.WriteZFYInfo, ctypes.byref(info), self._password)

    def sync_time(self):
        """Sets the recorder's clock to the host's UTC time; VX_GB_CLOCK_SET."""
        return _gb("sync_dev_time", lib.SyncDevTime, self._password)

    def set_msdc(self):
        """Switches the recorder to U-disk mode and releases the record; VX_GB_DISK_MODE."""
        return _gb("set_msdc", lib.SetMSDC, self._password)

    @property
    def resolution(self):
        """The main stream's (width, height)."""
        width, height = ctypes.c_int32(), ctypes.c_int32()
        _gb("read_device_resolution", lib.ReadDeviceResolution, ctypes.byref(width), ctypes.byref(height),
            self._password)
        return width.value, height.value

    @property
    def battery(self):
        level = ctypes.c_int32()
        _gb("read_device_battery_dump_energy", lib.ReadDeviceBatteryDumpEnergy, ctypes.byref(level),
            self._password)
        return level.value


# ---- Maintenance commands (VX005, chosen by a serial text) -----------------

_gbcmd_lock_ready = threading.Lock()
_gbcmd_ready = False


def _gbcmd(operation, function, *args):
    global _gbcmd_ready
    with _gbcmd_lock_ready:
        if not _gbcmd_ready:
            lib.GBCmd_InitCriticalSection()  # the library's own lock serialises the commands
            _gbcmd_ready = True
    return _call("VX_GBCMD_", operation, function, *args)


def gbcmd_battery(serial, password):
    """The battery level of the first VX005 whose serial contains serial."""
    level = ctypes.c_uint32()
    _gbcmd("gbcmd_battery", lib.GBCmd_GetBatteryVal, encode(serial), encode(password), ctypes.byref(level))
    return level.value


def gbcmd_download_mode(serial, password):
    """Puts the recorder into download mode (it then leaves the bus)."""
    _gbcmd("gbcmd_download_mode", lib.GBCmd_EnterDownLoadMode, encode(serial), encode(password))


def gbcmd_power_off(serial, password):
    """Switches the recorder off."""
    _gbcmd("gbcmd_power_off", lib.GBCmd_PowerOff, encode(serial), encode(password))


# ---- INI command texts -----------------------------------------------------

def parse_ini_command(text):
    """An INI command text ("Section.Key=value|.Key2=value") broken up:
    IniCommand(op, section, [IniEntry(key, has_value, value), ...]) with op
    "query", "set", "add" or "remove". ValueError when no entry parses."""
    cmd = _capi.UmsIniCmd()
    try:
        if not lib.VX_UmsIniStr2IniCmd(encode(text), ctypes.byref(cmd)):
            raise ValueError(f"not an INI command text: {text!r}")
        entries = [IniEntry(decode(item.keyName), item.kind == 2,
                            decode(ctypes.string_at(item.valueText)) if item.valueText else None)
                   for item in cmd.items[:cmd.count]]
        return IniCommand(_INI_OPS.get(cmd.op, cmd.op), decode(cmd.section), entries)
    finally:
        lib.VX_ReleaseUmsIniCmd(ctypes.byref(cmd))  # the value texts are the library's heap
