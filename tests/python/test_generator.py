"""The header's one reader (python/gen/gen_binding.py) and what it makes:
comments (Doxygen blocks included) change nothing, the shared library
exports exactly the declared functions, the structures have the header's
layout, each operation's documented command line is its row's, and the
typing stub names what the package makes at import."""
import ast
import ctypes
import os
import re
import subprocess
import sys

import pytest

import vestra
from vestra import capi
from vestra import recorder as recorder_module

ROOT = os.path.join(os.path.dirname(__file__), "..", "..")
GEN = os.path.join(ROOT, "python", "gen")
GENERATOR = os.path.join(GEN, "gen_binding.py")
HEADER = os.path.join(ROOT, "include", "LibVestra.h")
sys.path.insert(0, GEN)
import gen_binding  # noqa: E402


def generate(header, out):
    subprocess.run([sys.executable, GENERATOR, "header", str(header), str(out)], check=True)
    return out.read_text()


def test_doxygen_comments_change_nothing(tmp_path):
    text = open(HEADER, encoding="utf-8").read()
    commented = re.sub(r"^(VX_API .*)$", r"/**\n * @brief (x) VX_API int fake(void);\n */\n\1 ///< note",
                       text, flags=re.M)
    commented = commented.replace("int32_t  errNo;", "int32_t  errNo; /**< status; */")
    (tmp_path / "commented.h").write_text(commented)
    assert generate(tmp_path / "commented.h", tmp_path / "b.py") == generate(HEADER, tmp_path / "a.py")


def test_library_exports_exactly_the_declared_functions():
    # Catches an export list (version script) that leaks an internal symbol
    # or drops a declared function, and ctypes prototypes of the wrong arity.
    path = os.environ["VESTRA_LIBRARY"]
    table = subprocess.run(["nm", "-D", "--defined-only", path], check=True, capture_output=True,
                           text=True).stdout
    exported = {line.split()[-1].split("@")[0] for line in table.splitlines() if line.split()[1:2] == ["T"]}
    assert exported == set(capi.FUNCTIONS)
    for name, (restype, params) in capi.FUNCTIONS.items():
        function = getattr(vestra.lib, name)
        assert function.restype is restype and len(function.argtypes) == len(params)


def test_structures_have_the_header_layout():
    pointer = ctypes.sizeof(ctypes.c_void_p)
    assert capi.DevListInfo.index.offset == pointer
    assert capi.DevListInfo.serial.offset == pointer + 16
    assert capi.DevListInfo.busVendorId.offset == pointer + 58
    assert ctypes.sizeof(capi.ZFYInfo) == 94
    assert ctypes.sizeof(capi.TimeZoneCountry) == 1052
    assert ctypes.sizeof(capi.TimeZoneRegion) * capi.VX_TZ_REGIONS == capi.VX_TZ_BLOCK_SIZE


DOCS = gen_binding.read_docs(open(HEADER, encoding="utf-8").read())
_MARKS = {"?": "get", "=": "set", "": "bare"}


def documented_line(function):
    """(keyword, form) of the doc's first command line ('Sends "VX+KEY..."',
    'sending "VX+KEY..."', '("VX+KEY?")'); a keyword that
    carries an index ("VX+VIDEOOSD" followed by the index, "=...") takes its
    form from the next quoted text of the sentence."""
    m = re.search(r'"VX\+([A-Z0-9]+)([?=]?)[^"]*"([^.;]*)', DOCS.get(function, ""))
    if m is None:
        return None
    mark = m.group(2)
    if not mark:
        later = re.search(r'"([?=])', m.group(3))
        mark = later.group(1) if later else ""
    return m.group(1), _MARKS[mark]


@pytest.mark.parametrize("op", vestra.OPERATIONS, ids=[op.function for op in vestra.OPERATIONS])
def test_documented_command_is_the_rows(op):
    # Catches a row whose keyword or form drifted from what the header
    # promises the caller (or a header line copied from the wrong operation).
    assert documented_line(op.function) == (op.keyword, op.form)


def test_shared_doc_lines_reach_the_bindings_expanded():
    # Catches the header's shared lines (Doxygen aliases) reaching the .NET
    # documentation as "@devrecord" instead of the parameter text they stand for.
    doc = gen_binding.read_model(HEADER).docs["VX_GetDevName"]
    assert "@param dev Device record." in doc and "@param pwd Login password" in doc
    assert "@devrecord" not in doc and "@loginpwd" not in doc
    assert "@return 1 when the device said OK" in gen_binding.read_model(HEADER).docs["VX_SetDevName"]


def stub_members():
    path = os.path.join(os.path.dirname(recorder_module.__file__), "recorder.pyi")
    tree = ast.parse(open(path, encoding="utf-8").read())
    cls = next(n for n in tree.body if isinstance(n, ast.ClassDef) and n.name == "Recorder")
    return {n.name for n in cls.body if isinstance(n, ast.FunctionDef)}


def test_stub_names_every_operation_the_package_makes():
    # Catches a stub generated from another table than the package's, or a
    # naming rule that differs between the two: every public member of the
    # class at run time (operations, their properties, the hand-written ones)
    # is in the stub, and the stub names nothing the class lacks.
    runtime = {name for name in dir(vestra.Recorder) if not name.startswith("_")} | {"__init__"}
    stub = stub_members() - {"__enter__", "__exit__"}
    assert stub == runtime
    for op in vestra.OPERATIONS:
        assert recorder_module.snake_case(op.function[3:]) in stub
