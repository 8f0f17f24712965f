#!/usr/bin/env python3
"""check_package.py NUPKG VERSION: the Vestra package's layout and nuspec.
check_package.py --rid DLL: the runtime folder (win-x64, win-x86) a DLL belongs in.

Catches a package without one of its native libraries, a DLL of the wrong
bitness under a runtime folder (x86 and x64 swapped), a missing assembly or
documentation file, a targets file that .NET Framework hosts would not
import, nuspec fields lost (licence, project URL, readme, dependency) and a
missing symbols package."""
import re
import struct
import sys
import xml.etree.ElementTree as ET
import zipfile

PE_MACHINES = {"win-x64": 0x8664, "win-x86": 0x14C}


def pe_machine(data):
    (pe,) = struct.unpack_from("<I", data, 0x3C)
    assert data[pe:pe + 4] == b"PE\0\0", "not a PE file"
    return struct.unpack_from("<H", data, pe + 4)[0]


def check(nupkg, version):
    with zipfile.ZipFile(nupkg) as z:
        names = set(z.namelist())
        for required in ("lib/netstandard2.0/Vestra.dll", "lib/netstandard2.0/Vestra.xml", "README.md",
                         "buildTransitive/Vestra.targets", "build/Vestra.targets", "Vestra.nuspec"):
            assert required in names, f"{required} is missing"
        for rid, machine in PE_MACHINES.items():
            dll = f"runtimes/{rid}/native/LibVestra.dll"
            assert dll in names, f"{dll} is missing"
            assert pe_machine(z.read(dll)) == machine, f"{dll} is not a {rid} DLL"
        so = z.read("runtimes/linux-x64/native/LibVestra.so")
        assert so[:5] == b"\x7fELF\x02" and struct.unpack_from("<H", so, 18)[0] == 62, "not an x86-64 ELF library"
        xmldoc = z.read("lib/netstandard2.0/Vestra.xml").decode()
        assert "M:Vestra.Recorder.GetDevName" in xmldoc, "the documentation lacks the operations"
        targets = z.read("buildTransitive/Vestra.targets").decode()
        assert "runtimes/$(_VestraArch)/native/LibVestra.dll" in targets
        nuspec = z.read("Vestra.nuspec").decode()
    meta = ET.fromstring(nuspec).find("{*}metadata")
    field = lambda name: (meta.find("{*}" + name).text or "").strip() if meta.find("{*}" + name) is not None else ""
    assert field("id") == "Vestra" and field("version") == version, (field("id"), field("version"))
    license = meta.find("{*}license")
    assert license is not None and license.get("type") == "expression" and license.text, "no licence expression"
    assert field("projectUrl").startswith("https://"), "no project URL"
    assert field("readme") == "README.md", "no readme"
    groups = meta.find("{*}dependencies").findall("{*}group")
    assert any(g.get("targetFramework") == ".NETStandard2.0" and
               any(d.get("id") == "System.Memory" for d in g.findall("{*}dependency")) for g in groups), \
        "netstandard2.0 does not depend on System.Memory"
    symbols = re.sub(r"\.nupkg$", ".snupkg", nupkg)
    with zipfile.ZipFile(symbols) as z:
        assert "lib/netstandard2.0/Vestra.pdb" in z.namelist(), "the symbols package has no Vestra.pdb"
    print(f"package layout and nuspec: OK ({nupkg})")


if __name__ == "__main__":
    if sys.argv[1] == "--rid":
        with open(sys.argv[2], "rb") as f:
            machine = pe_machine(f.read())
        print(next((rid for rid, m in PE_MACHINES.items() if m == machine), hex(machine)))
    else:
        check(*sys.argv[1:3])
