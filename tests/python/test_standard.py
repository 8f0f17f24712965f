"""The standard set, its maintenance commands and the INI parser as Python
calls, against virtual recorders. Catches outputs read in the wrong order or
type, a failure status dropped (or success taken for failure), an identity
field cut or shifted, a field overrun accepted, and INI entries misread
(operation, section, key, value or its absence)."""
import pytest

import vestra
from vestra import capi
from conftest import PASSWORD

pytestmark = pytest.mark.usefixtures("scenario")  # fails clearly without the virtual recorders


def test_init_reports_the_sets_id_code_and_a_wrong_one():
    with vestra.StandardRecorder(password=PASSWORD) as gb:
        assert gb.id_code == "KQWZM"
    with pytest.raises(vestra.StandardError) as caught:
        vestra.StandardRecorder(password=PASSWORD, id_code="KQWZX")
    assert (caught.value.status, caught.value.name) == (capi.VX_GB_NO_DEVICE, "VX_GB_NO_DEVICE")


def test_reads_and_writes_the_identity():
    with vestra.StandardRecorder(password=PASSWORD, id_code="KQWZM") as gb:
        assert gb.identity == vestra.Identity("S70012", "000042", "Officer Py", "320100000042", "Night shift")
        assert (gb.resolution, gb.battery) == ((1280, 720), 64)
        gb.identity = gb.identity._replace(user_name="Officer Kim", unit_no="U0101")
        assert gb.identity == vestra.Identity("S70012", "000042", "Officer Kim", "U0101", "Night shift")
        with pytest.raises(ValueError):
            gb.identity = gb.identity._replace(user_no="12345678")  # 8 bytes for a 7-byte field


def test_clock_and_disk_mode_statuses():
    with vestra.StandardRecorder(password=PASSWORD) as gb:
        assert gb.sync_time() == capi.VX_GB_CLOCK_SET
        assert gb.set_msdc() == capi.VX_GB_DISK_MODE  # the record is released once the device accepted
        with pytest.raises(vestra.StandardError) as caught:
            gb.battery
        assert caught.value.status == capi.VX_GB_NO_DEVICE


@pytest.mark.parametrize("serial, password, status", [
    ("7001234", PASSWORD, capi.VX_GBCMD_NO_RECORDER),  # a VX006's serial: not a maintained model
    ("M555", "nope", capi.VX_GBCMD_LOGIN_REFUSED),
])
def test_maintenance_failures_carry_their_status(serial, password, status):
    with pytest.raises(vestra.StandardError) as caught:
        vestra.gbcmd_battery(serial, password)
    assert caught.value.status == status


def test_maintenance_battery_and_power_off():
    assert vestra.gbcmd_battery("5550", PASSWORD) == 77
    vestra.gbcmd_power_off("M555", PASSWORD)


@pytest.mark.parametrize("text, expected", [
    (" Ne t . A pn = cm net ", ("set", "Net", [("Apn", True, "cmnet")])),
    ("Net.Apn=?", ("query", "Net", [("Apn", False, None)])),
    ("Net.List+=a|.B-=2", ("add", "Net", [("List", True, "a"), ("B", True, "2")])),
])
def test_ini_command_texts(text, expected):
    assert vestra.parse_ini_command(text) == expected


def test_malformed_ini_text_raises():
    # Which texts the parser refuses is IniCommand.Texts' (tests/api); here the refusal is raised.
    with pytest.raises(ValueError):
        vestra.parse_ini_command("Sa=1")
