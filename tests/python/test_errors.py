"""Failures reach Python with their status, text and reply; released and
unplugged records fail cleanly; leaving a record logs it out."""
import gc

import pytest

import vestra
from vestra import capi
from conftest import PASSWORD

pytestmark = pytest.mark.usefixtures("scenario")  # fails clearly without the virtual recorders


def device_logged_in(id_code):
    """Whether the recorder holds a login, asked by a record that skips its own."""
    with vestra.Recorder(id_code=id_code, password=PASSWORD) as peek:
        peek.info.isLogin = 1  # send as if logged in: the device answers by its own state
        try:
            peek.command("VX+DEVNAME?")
            return True
        except vestra.VestraError as error:
            assert "not login" in error.text
            return False
        finally:
            peek.info.isLogin = 0


def test_refused_operation_carries_status_and_reply():
    with vestra.Recorder(id_code="3400201", password=PASSWORD) as rec:
        with pytest.raises(vestra.VestraError) as caught:
            rec.slave_ve_info
    error = caught.value
    assert error.status == capi.VX_STATUS_FAILED
    assert error.reply.startswith("Error: encoder busy")
    assert error.command == "VX+SVEINFO?\r\n"
    assert error.operation == "get_slave_ve_info"


def test_special_status_is_returned_not_raised():
    with vestra.Recorder(id_code="3400201", password=PASSWORD) as rec:
        assert rec.set_sel_ap("Nowhere") == capi.VX_STATUS_AP_NOT_SELECTED
        assert rec.status == capi.VX_STATUS_AP_NOT_SELECTED


def test_wrong_password_is_a_refused_login():
    with vestra.Recorder("VX006", password="not-it") as rec:
        with pytest.raises(vestra.VestraError) as caught:
            rec.dev_name
    assert caught.value.status == capi.VX_STATUS_NO_LOGIN
    # Fault: the login digest shown in the error (it works as the password).
    assert caught.value.command == "VX+LOGIN=admin:" + "*" * 32 + "\r\n"


# Faults: a secret shown, a mask of another length, the user name, an access
# point's name or the line end eaten by the mask.
@pytest.mark.parametrize("sent, shown", [
    ("VX+LOGINPWD=s3cret:pw\r\n", "VX+LOGINPWD=*********\r\n"),
    ("VX+USER=bob:" + "A" * 32 + ":" + "B" * 32 + "\r\n", "VX+USER=bob:" + "*" * 65 + "\r\n"),
    ("VX+APADD=home:wifi:key\r\n", "VX+APADD=home:********\r\n"),
    ("VX+RECVPWD=4321\r\n", "VX+RECVPWD=****\r\n"),
    ("VX+DEVNAME=admin:x\r\n", "VX+DEVNAME=admin:x\r\n"),
])
def test_error_command_masks_secrets(sent, shown):
    assert vestra.VestraError(0, "", sent).command == shown


def test_no_such_recorder():
    with pytest.raises(vestra.VestraError) as caught:
        vestra.Recorder(id_code="9999999", password=PASSWORD)
    assert caught.value.status == capi.VX_STATUS_NOT_OPEN


def test_released_record_raises_instead_of_reaching_the_library():
    with vestra.Recorder(id_code="3400201", password=PASSWORD) as rec:
        rec.dev_name
    assert rec.closed
    with pytest.raises(vestra.VestraError) as caught:
        rec.dev_name = "after close"
    assert caught.value.status == capi.VX_STATUS_NOT_OPEN
    rec.close()  # a second close is harmless


def test_leaving_the_with_block_logs_out():
    with vestra.Recorder(id_code="3400201", password=PASSWORD) as rec:
        rec.dev_name
        assert device_logged_in("3400201")
    assert not device_logged_in("3400201")


def test_forgotten_record_is_released_when_collected():
    rec = vestra.Recorder(id_code="3400201", password=PASSWORD)
    rec.dev_name
    assert device_logged_in("3400201")
    del rec
    gc.collect()
    assert not device_logged_in("3400201")


def test_unplugged_recorder_fails_then_reports_not_open():
    # Last: the recorder leaves the bus once its power-off reply is read.
    index = next(d.index for d in vestra.devices() if d.id_code == "3400203")
    with vestra.Recorder.from_list(index, password=PASSWORD) as rec:
        rec.ctrl_power_off()
        with pytest.raises(vestra.VestraError) as first:
            rec.dev_name
        assert first.value.status == capi.VX_STATUS_FAILED and first.value.reply == ""
        with pytest.raises(vestra.VestraError) as then:
            rec.dev_name
        assert then.value.status == capi.VX_STATUS_NOT_OPEN
        assert then.value.text == "Device not Open"
