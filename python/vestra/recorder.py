"""A recorder's record, and its device operations made from the operation table."""
import ctypes
import re
import weakref
from collections import namedtuple

from . import _capi
from ._library import VestraError, decode, encode, lib
from ._naming import is_output, sized, snake_case
from ._ops import OPERATIONS


def _check(handle, operation):
    """The record, or the error a released record gives."""
    if handle is None:
        raise VestraError(_capi.VX_STATUS_NOT_OPEN, "record released", operation=operation)
    return handle


def _raise_failure(handle, operation):
    info = handle.contents
    raise VestraError(lib.VX_GetErrNo(handle), decode(lib.VX_GetErrStr(handle) or b""),
                      decode(info.lastCmd), operation)


def _release(handle, owned):
    """Logs out and gives a caller-owned record back (also run by the finalizer)."""
    if owned:
        lib.VX_UnInitDev(handle)  # logs out first
    elif handle.contents.isLogin:
        lib.VX_Logout(handle)


class Recorder:
    """One recorder, opened by model name (the first attached of that model)
    or ID code (the first attached recorder, if it carries that code). The
    device list's recorders are reached with from_list. Use it in a with block:
    leaving it logs out and releases the record. Every operation takes the
    password given here (the library logs in on first use)."""

    def __init__(self, model=None, *, id_code=None, password=""):
        if (model is None) == (id_code is None):
            raise TypeError("give a model name or an id_code")
        handle = lib.VX_InitDev(encode(model)) if id_code is None else lib.VX_InitDevEx(encode(id_code))
        if not handle:
            raise VestraError(_capi.VX_STATUS_NOT_OPEN, f"no recorder {model or id_code} could be opened",
                              operation="open")
        self._adopt(handle, True, password)

    @classmethod
    def from_list(cls, index, *, password=""):
        """The recorder of a device-list slot (the record stays the list's:
        closing logs out only)."""
        handle = lib.VX_GetDevHandleFromList(index)
        if not handle:
            raise VestraError(_capi.VX_STATUS_NOT_OPEN, f"no record in slot {index}", operation="from_list")
        self = cls.__new__(cls)
        self._adopt(handle, False, password)
        return self

    def _adopt(self, handle, owned, password):
        self._handle = handle
        self._password = encode(password)
        self._finalizer = weakref.finalize(self, _release, handle, owned)

    def close(self):
        """Logs out and releases the record; later calls raise VestraError (-101)."""
        if self._handle is not None:
            self._handle = None
            self._finalizer()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    @property
    def closed(self):
        return self._handle is None

    @property
    def info(self):
        """The record itself (a VestraInfo structure)."""
        return _check(self._handle, "info").contents

    @property
    def status(self):
        """Status number of the record's last operation."""
        return lib.VX_GetErrNo(_check(self._handle, "status"))

    @property
    def error_text(self):
        return decode(lib.VX_GetErrStr(_check(self._handle, "error_text")) or b"")

    @property
    def id_code(self):
        out = ctypes.create_string_buffer(_capi.VX_TEXT_AREA)
        self._call("id_code", lib.VX_GetIDCode, out)
        return decode(out.raw)

    def login(self):
        self._call("login", lib.VX_Login, self._password)

    def logout(self):
        self._call("logout", lib.VX_Logout)

    def command(self, line):
        """Sends a raw command line ("\\r\\n" added when missing) and returns
        the device's whole reply."""
        line = encode(line)
        if not line.endswith(b"\r\n"):
            line += b"\r\n"
        self._call("command", lib.VX_Cmd, self._password, line)
        return self.error_text

    def _call(self, operation, function, *args):
        handle = _check(self._handle, operation)
        if not function(handle, *args):
            _raise_failure(handle, operation)
        return lib.VX_GetErrNo(handle)

    def __repr__(self):
        if self._handle is None:
            return "<Recorder released>"
        info = self._handle.contents
        return f"<Recorder {decode(info.model.name)} serial={decode(info.serial)!r}>"


# ---- The device operations, one method per row-backed function ------------

class _Param:
    """How one C parameter after (record, password) is handled."""

    def __init__(self, name, ctype, argtype):
        self.name, self.ctype, self.argtype = snake_case(name), ctype, argtype
        self.pointer = ctype.endswith("*")
        self.output = is_output(ctype)
        self.struct = getattr(_capi, ctype.replace("const ", "").rstrip(" *"), None)
        if not isinstance(self.struct, type) or not issubclass(self.struct, ctypes.Structure):
            self.struct = None
        self.auto_size = False


def _signature(function):
    declared = _capi.FUNCTIONS[function][1][2:]
    params = [_Param(*p) for p in declared]
    for i in sized([name for name, _, _ in declared], [ctype for _, ctype, _ in declared]):
        params[i].auto_size = True
    return params


def _make_output(param, area):
    if param.struct is not None:
        return param.struct()
    if param.ctype == "char *":
        return ctypes.create_string_buffer(area)
    return param.argtype._type_()  # a number


def _read_output(param, out):
    if param.struct is not None:
        fields = [f for f, _ in param.struct._fields_]
        return namedtuple(param.struct.__name__, [snake_case(f) for f in fields])(
            *(decode(getattr(out, f)) for f in fields))
    if param.ctype == "char *":
        return decode(out.raw)
    return out.value


def _make_input(param, value):
    if param.struct is not None:
        if isinstance(value, dict):
            value = [value[snake_case(f)] for f, _ in param.struct._fields_]
        record = param.struct()
        for (field, _), item in zip(param.struct._fields_, value):
            setattr(record, field, encode(item))
        return ctypes.pointer(record)
    if param.argtype in (ctypes.c_char_p,):
        return encode(value)
    return int(value)


def _describe(op, inputs, outputs):
    line = {"get": f"VX+{op.keyword}?", "set": f"VX+{op.keyword}=...", "bare": f"VX+{op.keyword}"}[op.form]
    args = ", ".join(p.name for p in inputs)
    result = ", ".join(p.name for p in outputs) or "the status number"
    return f"{op.function}({args}): sends {line}; returns {result}."


def _make_method(op):
    params = _signature(op.function)
    inputs = [p for p in params if not p.output and not p.auto_size]
    outputs = [p for p in params if p.output]
    function = getattr(lib, op.function)
    method_name = snake_case(op.function[3:])
    record = (namedtuple(method_name, [p.name for p in outputs]) if len(outputs) > 1 else None)

    def method(self, *args, **kwargs):
        if len(args) + len(kwargs) != len(inputs):
            raise TypeError(f"{method_name} takes {[p.name for p in inputs]}")
        given = dict(zip((p.name for p in inputs), args), **kwargs)
        values, outs, last = [], [], None
        for p in params:
            if p.auto_size:
                value = len(last)
            elif p.output:
                value = _make_output(p, op.reply_area)
                outs.append(value)
            else:
                value = _make_input(p, given[p.name])
            values.append(value)
            last = value
        status = self._call(method_name, function, self._password, *values)
        if not outputs:
            return status
        results = [_read_output(p, o) for p, o in zip(outputs, outs)]
        return record(*results) if record else results[0]

    method.__name__ = method_name
    method.__doc__ = _describe(op, inputs, outputs)
    return method_name, method, inputs, len(outputs)


def _install_operations(cls):
    getters, setters, outputs = {}, {}, {}
    for op in OPERATIONS:
        name, method, inputs, count = _make_method(op)
        setattr(cls, name, method)
        if name.startswith("get_") and not inputs:
            getters[name[4:]] = method
            outputs[name[4:]] = count
        elif name.startswith("set_") and inputs:
            setters[name[4:]] = (method, len(inputs))
    # A property is writable where its setter takes what its getter returns.
    for name, getter in getters.items():
        if not name.isidentifier() or hasattr(cls, name):
            continue
        setter = setters.get(name)
        fset = None
        if setter is not None and setter[1] == outputs[name]:
            method, count = setter

            def fset(self, value, _method=method, _count=count):
                if _count == 1:
                    _method(self, value)
                elif isinstance(value, dict):
                    _method(self, **value)
                else:
                    _method(self, *value)
        setattr(cls, name, property(getter, fset, doc=getter.__doc__))


_install_operations(Recorder)
