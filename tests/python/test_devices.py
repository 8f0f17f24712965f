"""The device list and its hot-plug events. The bus loads its scenario when
the first test starts the monitor, so the late recorder plugs while a watch
is registered; the test unplugs it by powering it off.
Catches a lost ctypes callback (collected before the library calls it),
events that never leave the library's thread, and a wrong list layout."""
import gc
import threading

import vestra
import pytest

from conftest import PASSWORD

pytestmark = pytest.mark.usefixtures("scenario")  # fails clearly without the virtual recorders

BOUND = 20  # seconds: an upper bound on a refresh, never a sleep


def test_plug_arrives_through_the_iterator():
    with vestra.DeviceWatch() as watch:
        gc.collect()  # the registered callback must survive collection
        event = watch.wait_for(lambda e: e.kind == "changed" and e.value == 2, BOUND)
    assert event == vestra.DeviceEvent("changed", 2)


def test_snapshot_lists_both_recorders():
    listed = {d.id_code: d for d in vestra.devices()}
    assert set(listed) == {"3400301", "3400302"}
    resident, late = listed["3400301"], listed["3400302"]
    assert (resident.serial, resident.udisk_status) == ("RES001", 1)
    assert (late.serial, late.udisk_status) == ("LATE02", 0)
    assert resident.vendor_id == late.vendor_id and resident.product_id != late.product_id
    assert resident.index != late.index


def test_unplug_reaches_a_python_function():
    seen, threads = [], set()
    gone = threading.Event()

    def on_event(event):
        # Runs on the binding's thread: calling the library here is safe.
        seen.append((event, [d.id_code for d in vestra.devices(update=False)]))
        threads.add(threading.current_thread().name)
        if event == ("changed", 1):
            gone.set()

    watch = vestra.on_device_event(on_event)
    try:
        late = next(d for d in vestra.devices() if d.id_code == "3400302")
        with vestra.Recorder.from_list(late.index, password=PASSWORD) as rec:
            rec.ctrl_power_off()
        assert gone.wait(BOUND), seen
    finally:
        watch.close()
    event, listed = next(item for item in seen if item[0] == ("changed", 1))
    assert listed == ["3400301"]
    assert threads == {"vestra-device-events"}  # never the library's own thread
