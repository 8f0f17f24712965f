"""A Python host against the virtual recorders, with faulthandler enabled
before the monitor starts, then a write through a null pointer in native
code: faulthandler prints its report (the traceback names fault_in_native)
and the library writes its crash report too, in the folder of this script."""
import ctypes
import faulthandler
import sys
import time

faulthandler.enable()

import vestra  # noqa: E402  (after faulthandler, as the host under test does)


def fault_in_native():
    ctypes.memset(0, 1, 4)


vestra.start_monitor()
while len(vestra.devices(update=False)) < 2:
    time.sleep(0.01)
for _ in range(20):
    with vestra.Recorder.from_list(0, password="888888") as recorder:
        assert recorder.dev_name == "Host desk unit", recorder.dev_name
print("device names read", flush=True)
fault_in_native()
sys.exit(3)  # not reached
