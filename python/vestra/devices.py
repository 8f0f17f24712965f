"""The library's device list: snapshots, and its hot-plug notifications as
Python events.

The library calls its list callback on its own refresh thread, sometimes with
its lock held. The callback registered here only puts the event on queues:
iterators and Python callbacks take it from there on threads of their own,
where calling the library is safe."""
import atexit
import ctypes
import os
import queue
import threading
from collections import namedtuple

from . import _capi
from ._library import decode, lib

Device = namedtuple("Device", "index serial id_code dev_num udisk_status vendor_id product_id")


class DeviceEvent(namedtuple("DeviceEvent", "kind value")):
    """kind "changed": the list changed, value = recorders listed now;
    kind "arrival" / "removal": a refresh after a USB event ran."""

    __slots__ = ()


_KINDS = {1: lambda v: DeviceEvent("changed", v),
          2: lambda v: DeviceEvent("arrival" if v == 1 else "removal", v)}

_lock = threading.Lock()
_queues = []        # one per subscriber
_c_callback = None  # the registered ctypes callback: referenced while the library may call it


def _on_list_event(kind, value):
    make = _KINDS.get(kind)
    if make is None:
        return
    event = make(value)
    with _lock:
        for q in _queues:
            q.put(event)


def _hold_list_at_exit():
    # The library's threads outlive the interpreter; holding the list section
    # keeps its refreshes (and so its callbacks) from running into a Python
    # that is shutting down. The library's own exit handling allows for it.
    lib.VX_ListEnterCriticalSection()


def _forget_monitor_in_child():
    # A forked child has none of the library's monitor threads (the library
    # says so too) and none of this module's subscribers: it may start its own.
    global _c_callback, _lock
    _lock = threading.Lock()
    _c_callback = None
    _queues.clear()


if hasattr(os, "register_at_fork"):
    os.register_at_fork(after_in_child=_forget_monitor_in_child)


def start_monitor():
    """Starts the library's monitor and refresh threads once per process,
    with this module's callback."""
    global _c_callback
    with _lock:
        if _c_callback is not None:
            return
        _c_callback = _capi.DevListCallback(_on_list_event)
    atexit.register(_hold_list_at_exit)
    lib.VX_InitDevListPthreadEx(_c_callback)


def devices(update=True):
    """The recorders in the list now (starting the monitor if needed; update:
    scan the bus once first instead of waiting for the next refresh)."""
    start_monitor()
    if update:
        lib.VX_InitDevList()
    slots = (_capi.DevListInfo * _capi.VX_LIST_SLOTS)()
    count = lib.VX_GetDevAllListInfoFromList(slots, _capi.VX_LIST_SLOTS)
    return [Device(s.index, decode(s.serial), decode(s.idCode), s.devNum, s.udiskStatus,
                   s.busVendorId, s.busProductId) for s in slots[:count]]


class DeviceWatch:
    """The list's events as an iterator (use in a with block):

        with DeviceWatch() as watch:
            for event in watch: ...
    """

    def __init__(self):
        self._queue = queue.SimpleQueue()
        with _lock:
            _queues.append(self._queue)
        start_monitor()

    def close(self):
        with _lock:
            if self._queue in _queues:
                _queues.remove(self._queue)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def get(self, timeout=None):
        """The next event; queue.Empty after timeout seconds without one."""
        return self._queue.get(timeout=timeout)

    def wait_for(self, predicate, timeout):
        """Events until one satisfies predicate (returned); queue.Empty when
        none does within timeout seconds of waiting for each."""
        while True:
            event = self.get(timeout)
            if predicate(event):
                return event

    def __iter__(self):
        while True:
            yield self._queue.get()


class _CallbackWatch(DeviceWatch):
    def __init__(self, function):
        super().__init__()
        self._thread = threading.Thread(target=self._run, args=(function,), name="vestra-device-events",
                                        daemon=True)
        self._thread.start()

    def _run(self, function):
        for event in self:
            if event is None:
                return
            function(event)

    def close(self):
        super().close()
        self._queue.put(None)


def on_device_event(function):
    """Calls function(event) for each list event, on a thread of this module
    (so it may use the library). Returns a watch: close it to stop."""
    return _CallbackWatch(function)
