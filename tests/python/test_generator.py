"""The build-time generator reads the header as the compiler does: comments
(Doxygen blocks included) change nothing, every function is declared and
found in the library, and the structures have the header's layout."""
import ctypes
import os
import re
import subprocess
import sys

import vestra
from vestra import capi

ROOT = os.path.join(os.path.dirname(__file__), "..", "..")
GENERATOR = os.path.join(ROOT, "python", "gen", "gen_binding.py")
HEADER = os.path.join(ROOT, "include", "LibVestra.h")


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


def test_every_header_function_is_declared_and_exported():
    declared = set(re.findall(r"^VX_API[^(]*?\b(\w+)\s*\(", open(HEADER).read(), flags=re.M))
    assert declared == set(capi.FUNCTIONS)
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
