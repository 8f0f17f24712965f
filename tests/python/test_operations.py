"""One operation of each signature kind of the generated table against a
virtual recorder: the get returns the scenario's preset, the set reaches the
device (the command on the wire and, where a get reads it back, the device's
state).
Catches wrong argtypes or output areas, outputs read in the wrong order, a
setter that drops or reorders arguments, and an operation the table lost."""
import base64
import hashlib
import re

import pytest

import vestra
from vestra import capi
from vestra.recorder import snake_case
from conftest import PASSWORD, device_spec


# Arguments the device checks; anything else gets a generic value.
ARGUMENTS = {
    ("MKFS", "fs_type"): 1,
    ("UMSINI", "text"): "Video.FrameRate=25",
    ("UMSJSON", "text"): '{"Video":{"FrameRate":"25"}}',
    ("APSEL", "ssid"): "Known",
    ("APDEL", "ssid"): "Known",
    ("BASE64", "data"): b"\x01py-pack\x00",
    ("VIDEOOSD", "index"): 1,
}
# How an argument appears in the command line where it is not sent as given.
WIRE = {
    "fs_type": {1: "FAT32", 2: "EXFAT"}.get,
    "password1": lambda v: hashlib.md5(v.encode()).hexdigest().upper(),
    "password2": lambda v: hashlib.md5(v.encode()).hexdigest().upper(),
    "data": lambda v: base64.b64encode(v).decode(),
}


def params(op):
    """(name, C type) of the arguments after the record and the password."""
    return [(snake_case(name), ctype) for name, ctype, _ in capi.FUNCTIONS[op.function][1][2:]]


def one_per_kind(ops):
    """The first operation of each signature kind (form, rule, C argument types):
    the binding's code paths differ by kind; every row's wire line is the C
    row table test's to check."""
    kinds = {}
    for op in ops:
        kinds.setdefault((op.form, op.rule, tuple(c for _, c in params(op))), op)
    return list(kinds.values())


def outputs(op):
    return [name for name, ctype in params(op) if ctype.endswith("*") and not ctype.startswith("const ")]


def struct_output(op):
    return any(ctype.rstrip(" *") in ("ZFYInfo",) for _, ctype in params(op))


GETS = one_per_kind(op for op in vestra.OPERATIONS if op.form == "get")
SETS = one_per_kind(op for op in vestra.OPERATIONS if op.form != "get")


def sample_arguments(op):
    args = {}
    for i, (name, ctype) in enumerate(params(op)):
        if (ctype.endswith("*") and not ctype.startswith("const ")) or name in ("size", "length"):
            continue
        if (op.keyword, name) in ARGUMENTS:
            args[name] = ARGUMENTS[(op.keyword, name)]
        elif ctype == "const ZFYInfo *":
            args[name] = {"serial": "PY1", "user_no": "u2", "user_name": "n3", "unit_no": "o4", "unit_name": "m5"}
        elif ctype == "const char *":
            args[name] = f"py{i}"
        else:
            args[name] = 7 + i
    return args


def preset(spec, op):
    """What the get should return, from the reader's scenario entry."""
    kw, values = op.keyword, spec.get("values", {})
    if op.rule == "keyed_list":
        svc = spec["services"][kw]
        fields = [svc["bEnable"]] + [svc[f] for f in op.service_fields]
        return fields + ([svc["ReportTime"]] if "report_time" in outputs(op) else [])
    if kw == "APLIST":
        return ",".join(ap["ssid"] for ap in spec["access_points"])
    if kw == "APSEL":
        return spec["selected_ap"]
    if op.rule == "osd":
        return values[f"{kw}1"].split(",", 1)
    if kw not in values:
        pytest.fail(f"the scenario has no preset for {kw}: add one to operations.json")
    fields = values[kw].split(",")
    if len(outputs(op)) == 1 and not struct_output(op):
        return fields[0] if op.rule == "field_list" else values[kw]
    if len(outputs(op)) == len(fields) + 1:  # "WxH" fills two outputs
        fields = fields[0].split("x") + fields[1:]
    return fields


def as_texts(value):
    if isinstance(value, (tuple, list)):
        return [as_texts(v) for v in value]
    return str(value)


@pytest.fixture(scope="module")
def reader():
    with vestra.Recorder(id_code="3400101", password=PASSWORD) as rec:
        yield rec


@pytest.fixture(scope="module")
def writer():
    with vestra.Recorder("VX006", password=PASSWORD) as rec:
        yield rec


def test_table_covers_the_rows_operations():
    # A row the generator lost would leave its operation out of the binding.
    keywords = {op.keyword for op in vestra.OPERATIONS}
    assert len(vestra.OPERATIONS) >= 70
    assert {"DEVNAME", "GBCFG", "GPSSERVCFG", "VIDEOOSD", "BASE64", "UMSJSON", "LOGEXPORT"} <= keywords
    # That each has its member is the stub test's (test_generator.py).


@pytest.mark.parametrize("op", GETS, ids=[op.function for op in GETS])
def test_get_returns_the_preset(op, reader, scenario):
    name = snake_case(op.function[3:])
    if op.keyword == "BATVAL":
        reader.info.lastBatteryQuery = -30000  # asked "long ago": the 20 s window is open
    args = {"index": 1} if op.rule == "osd" else {}
    value = getattr(reader, name)(**args)
    assert as_texts(value) == as_texts(preset(device_spec(scenario, "reader"), op))
    assert reader.info.lastCmd.decode().startswith(f"VX+{op.keyword}")


@pytest.mark.parametrize("op", SETS, ids=[op.function for op in SETS])
def test_set_reaches_the_device(op, writer):
    name = snake_case(op.function[3:])
    args = sample_arguments(op)
    if op.keyword in ("APSEL", "APDEL"):
        writer.add_ap("Known", "k-pw")
    result = getattr(writer, name)(**args)
    assert writer.status == capi.VX_STATUS_OK
    if outputs(op):  # the configuration texts answer with the entries touched
        assert result == args["text"]
    else:
        assert result == capi.VX_STATUS_OK
    wire = writer.info.lastCmd.decode()
    head = f"VX+{op.keyword}" + (str(args["index"]) if "index" in args else "")
    assert wire.startswith(head + ("\r\n" if op.form == "bare" else "="))
    for key, value in args.items():
        texts = value.values() if isinstance(value, dict) else [value]
        for text in texts:
            assert WIRE.get(key, str)(text) in wire, (key, wire)
    getter = getattr(vestra.Recorder, "get_" + name[4:], None) if name.startswith("set_") else None
    if getter is None:
        return
    get_inputs = {k: v for k, v in args.items() if k == "index"}
    sent = [v for k, v in args.items() if k not in get_inputs]
    read = getter(writer, **get_inputs)
    read = list(read) if isinstance(read, tuple) and len(sent) > 1 else [read]
    if len(read) != len(sent):
        return  # the get reads other fields (the clock): the wire check above stands
    if len(sent) == 1 and isinstance(sent[0], dict):
        sent = [list(sent[0].values())]
        read = [list(read[0])]
    assert as_texts(read) == as_texts(sent)


def test_set_with_a_property(writer):
    writer.serv_addr = ("203.0.113.9", 9100)
    assert writer.serv_addr == ("203.0.113.9", 9100)
    writer.dev_name = "Named by property"
    assert writer.command("VX+DEVNAME?") .startswith("+DEVNAME:Named by property")
