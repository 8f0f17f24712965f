"""The typing stub of vestra/recorder.py (recorder.pyi): Recorder's own
members, and one method per operation of the list (and its property) as the
package makes them at import. The names and parameter roles come from the
package's own vestra/_naming.py, read here by path."""
import importlib.util
import os

_spec = importlib.util.spec_from_file_location(
    "vestra_naming", os.path.join(os.path.dirname(__file__), "..", "vestra", "_naming.py"))
naming = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(naming)

_HEAD = '''"""Typing stub of vestra.recorder, generated at build time from LibVestra.h
and the list of operations: do not edit."""
from typing import Any, NamedTuple, Optional, Sequence, Union

def snake_case(name: str) -> str: ...

class Recorder:
    def __init__(self, model: Optional[str] = ..., *, id_code: Optional[str] = ..., password: str = ...) -> None: ...
    @classmethod
    def from_list(cls, index: int, *, password: str = ...) -> "Recorder": ...
    def close(self) -> None: ...
    def __enter__(self) -> "Recorder": ...
    def __exit__(self, *exc: Any) -> None: ...
    @property
    def closed(self) -> bool: ...
    @property
    def info(self) -> Any: ...
    @property
    def status(self) -> int: ...
    @property
    def error_text(self) -> str: ...
    @property
    def id_code(self) -> str: ...
    def login(self) -> None: ...
    def logout(self) -> None: ...
    def command(self, line: str) -> str: ...
'''


def _python_type(ctype, struct_names, output):
    base = ctype.replace("const ", "").replace("*", "").strip()
    if base in struct_names:
        return "Any" if output else "Union[Sequence[str], dict]"
    if base == "char":
        return "str"
    if base == "uint8_t":
        return "bytes"
    return "int"


def _method(model, function):
    params = next(p for _, n, p in model.functions if n == function)[2:]
    names, ctypes_ = [n for _, n, _ in params], [t for t, _, _ in params]
    skip = naming.sized(names, ctypes_)
    inputs, outputs = [], []
    for i, (ctype, name) in enumerate(zip(ctypes_, names)):
        if i in skip:
            continue
        output = naming.is_output(ctype)
        typed = (naming.snake_case(name), _python_type(ctype, model.struct_names, output))
        (outputs if output else inputs).append(typed)
    if not outputs:
        result = "int"
    elif len(outputs) == 1:
        result = outputs[0][1]
    else:
        result = f"tuple[{', '.join(t for _, t in outputs)}]"
    return naming.snake_case(function[3:]), inputs, outputs, result


def stub_text(model):
    lines, getters, setters = [], {}, {}
    for function in model.links:
        name, inputs, outputs, result = _method(model, function)
        args = "".join(f", {n}: {t}" for n, t in inputs)
        lines.append(f"    def {name}(self{args}) -> {result}: ...")
        if name.startswith("get_") and not inputs:
            getters[name[4:]] = (result, len(outputs))
        elif name.startswith("set_") and inputs:
            setters[name[4:]] = len(inputs)
    # The same rule as recorder.py: a property where the get takes nothing,
    # writable where the set takes as many values as the get returns.
    own = {"closed", "info", "status", "error_text", "id_code"}
    for name, (result, count) in getters.items():
        if not name.isidentifier() or name in own:
            continue
        lines += ["    @property", f"    def {name}(self) -> {result}: ..."]
        if setters.get(name) == count:
            value = result if count == 1 else f"Union[{result}, dict]"
            lines += [f"    @{name}.setter", f"    def {name}(self, value: {value}) -> None: ..."]
    return _HEAD + "\n".join(lines) + "\n"


def write(model, out):
    with open(out, "w", encoding="utf-8") as f:
        f.write(stub_text(model))
