#!/usr/bin/env python3
"""The one reader of the public header: every list made from LibVestra.h
comes from here.

  header HEADER OUT            ctypes constants, structures, callback types and
                               prototypes, as a Python module
  def HEADER OUT LIBRARY       the DLL's module-definition file (undecorated
                               names, header order)
  map HEADER OUT               the shared library's version script
  exports HEADER               the exported names, one a line
  csharp HEADER DIR OPS        the same declarations as C# (DIR/Native.g.cs,
                               with the header's Doxygen text as XML comments)
                               and one Recorder method per operation of OPS
                               (DIR/Recorder.Operations.g.cs)
  stub HEADER OPS OUT          the Python package's typing stub of Recorder

OPS is the list of operations as the table printer writes it (optable
--json, made from src/ops/op_list.h). One parser reads the header into a
model (read_model); each printer writes from that model. No C++ body is read.
"""
import json
import os
import re
import sys
from collections import namedtuple

# The printers and the package's naming module are read from the source tree:
# no byte-code cache is left there.
sys.dont_write_bytecode = True
import csharp_printer  # noqa: E402
import stub_printer  # noqa: E402

_C_TYPES = {
    "int32_t": "C.c_int32", "uint32_t": "C.c_uint32", "uint16_t": "C.c_uint16",
    "uint8_t": "C.c_uint8", "char": "C.c_char", "size_t": "C.c_size_t",
}


def strip_comments(text):
    text = re.sub(r"/\*.*?\*/", " ", text, flags=re.S)
    return re.sub(r"//[^\n]*", " ", text)


def read_header(path):
    with open(path, encoding="utf-8") as f:
        text = strip_comments(f.read())
    defines = {}
    for name, value in re.findall(r"^\s*#\s*define\s+(\w+)[ \t]+([^\n]+)$", text, flags=re.M):
        value = value.strip()
        if re.fullmatch(r"\(?\s*-?\s*\d+\s*\)?", value):
            defines[name] = int(value.strip("() ").replace(" ", ""))
    code = " ".join(line for line in text.splitlines() if not line.lstrip().startswith("#"))
    code = re.sub(r"\s+", " ", code)
    return defines, code


def split_decl(decl):
    """'const char *pwd' -> ('const char *', 'pwd'); 'char name[N]' -> ('char', 'name', 'N')."""
    decl = decl.strip()
    m = re.fullmatch(r"(.*?[\s*])(\w+)\s*(?:\[\s*(\w+)\s*\])?", decl)
    if not m:
        raise SystemExit(f"cannot read declaration: {decl!r}")
    ctype = re.sub(r"\s*\*\s*", " *", m.group(1).strip()).strip()
    return ctype, m.group(2), m.group(3)


def ctypes_of(ctype, structs, callbacks, result=False):
    """The ctypes expression for a C type as a parameter or result."""
    if result and ctype == "char *":
        return "C.c_char_p"  # a library-owned text, read as bytes
    const = ctype.startswith("const ")
    base = ctype[6:] if const else ctype
    stars = base.count("*")
    base = base.replace("*", "").strip()
    if stars == 0:
        if base == "void":
            return "None"
        if base in callbacks:
            return base
        if base in structs:
            return base
        return _C_TYPES[base]
    if stars == 1:
        if base == "char":
            return "C.c_char_p" if const else "C.POINTER(C.c_char)"
        if base == "void":
            return "C.c_void_p"
        if base == "uint8_t" and const:
            return "C.c_char_p"
        if base in structs:
            return f"C.POINTER({base})"
        return f"C.POINTER({_C_TYPES[base]})"
    raise SystemExit(f"unsupported type {ctype!r}")


def parse(path):
    defines, code = read_header(path)
    structs = []  # (name, [(ctype, field, dim)])
    for name, body in re.findall(r"typedef struct (\w+)\s*\{(.*?)\}\s*\1\s*;", code):
        fields = [split_decl(d) for d in body.split(";") if d.strip()]
        structs.append((name, fields))
    struct_names = {s[0] for s in structs}
    callbacks = {}
    for ret, name, args in re.findall(r"typedef (\w+)\s*\(\*\s*(\w+)\)\s*\((.*?)\)\s*;", code):
        callbacks[name] = (ret, [split_decl(a) for a in args.split(",")])
    functions = []
    for ret, name, args in re.findall(r"VX_API ([\w\s]+?\s*\**)\s*(\w+)\s*\(([^)]*)\)\s*;", code):
        params = [] if args.strip() in ("", "void") else [split_decl(a) for a in args.split(",")]
        functions.append((re.sub(r"\s*\*", " *", ret.strip()), name, params))
    return defines, structs, struct_names, callbacks, functions


# What the printers share: the header's declarations, their documentation
# and, for each operation of the list, the row it uses.
Model = namedtuple("Model", "defines structs struct_names callbacks functions docs links")


def read_operations(path):
    """The list of operations (optable --json): entries in the list's order."""
    with open(path, encoding="utf-8") as f:
        return json.load(f)


def read_model(header, ops_path=None):
    defines, structs, struct_names, callbacks, functions = parse(header)
    with open(header, encoding="utf-8") as f:
        docs = read_docs(f.read(), read_aliases(header))
    links = {}
    if ops_path:
        links = {op["function"]: op["row"] for op in read_operations(ops_path) if op["row"]}
    return Model(defines, structs, struct_names, callbacks, functions, docs, links)


def read_aliases(header):
    """The Doxygen aliases the header's comments use ({name: text}), from the
    ALIASES of docs/Doxyfile beside the header's folder."""
    doxyfile = os.path.join(os.path.dirname(os.path.abspath(header)), os.pardir, "docs", "Doxyfile")
    with open(doxyfile, encoding="utf-8") as f:
        text = re.sub(r"\\\n", " ", f.read())
    m = re.search(r"^ALIASES\s*=(.*)$", text, flags=re.M)
    return dict(re.findall(r'"(\w+)=([^"]*)"', m.group(1))) if m else {}


def _clean_comment(body, aliases=None):
    lines = [re.sub(r"^\s*\*? ?", "", line) for line in body.strip().splitlines()]
    text = "\n".join(lines).strip()
    if aliases:
        text = re.sub(r"[@\\](\w+)\b", lambda m: aliases.get(m.group(1), m.group(0)), text)
    return text


def read_docs(raw, aliases=None):
    """Doxygen text by name: functions and types from the block before them,
    fields and constants from their trailing comment ("struct.field")."""
    docs = {}
    block = r"/\*\*(?!<)((?:(?!\*/).)*)\*/\s*"
    for body, name in re.findall(block + r"VX_API[^;(]*?\b(\w+)\s*\(", raw, flags=re.S):
        docs[name] = _clean_comment(body, aliases)
    for body, name in re.findall(block + r"typedef struct (\w+)", raw, flags=re.S):
        docs[name] = _clean_comment(body, aliases)
    for body, name in re.findall(block + r"typedef \w+\s*\(\*\s*(\w+)\)", raw, flags=re.S):
        docs[name] = _clean_comment(body, aliases)
    trailing = r"/\*\*<((?:(?!\*/).)*)\*/"
    for name, body in re.findall(r"^\s*#\s*define\s+(\w+)[^\n]*?" + trailing, raw, flags=re.M):
        docs[name] = _clean_comment(body, aliases)
    for name, fields in re.findall(r"typedef struct (\w+)\s*\{(.*?)\}\s*\1\s*;", raw, flags=re.S):
        for field, body in re.findall(r"(\w+)\s*(?:\[\s*\w+\s*\])?\s*;\s*" + trailing, fields,
                                      flags=re.S):
            docs[f"{name}.{field}"] = _clean_comment(body, aliases)
    return docs


def write_header_module(header, out):
    defines, structs, struct_names, callbacks, functions = parse(header)
    lines = ['"""ctypes declarations generated from LibVestra.h at build time: do not edit."""',
             "import ctypes as C", ""]
    lines += [f"{k} = {v}" for k, v in defines.items()]
    lines.append("")
    for name, fields in structs:
        lines.append(f"class {name}(C.Structure):")
        lines.append("    _fields_ = [")
        for ctype, field, dim in fields:
            t = ctypes_of(ctype, struct_names, callbacks)
            if dim is not None:
                t = f"{t} * {dim if dim.isdigit() else dim}"
            lines.append(f"        ({field!r}, {t}),")
        lines += ["    ]", ""]
    for name, (ret, args) in callbacks.items():
        types = [ctypes_of(ret, struct_names, {})] + [ctypes_of(t, struct_names, {}) for t, _, _ in args]
        lines += [f"{name} = C.CFUNCTYPE({', '.join(types)})", ""]
    lines.append("# name: (result, ((parameter, C type, ctypes type), ...))")
    lines.append("FUNCTIONS = {")
    for ret, name, params in functions:
        ps = "".join(f"({p!r}, {t!r}, {ctypes_of(t, struct_names, callbacks)}), " for t, p, _ in params)
        lines.append(f"    {name!r}: ({ctypes_of(ret, struct_names, callbacks, True)}, ({ps})),")
    lines.append("}")
    with open(out, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


def exported_names(header):
    return [name for _, name, _ in parse(header)[4]]


def write_if_changed(path, text):
    """Unchanged text keeps its time stamp, so that nothing relinks."""
    try:
        with open(path, encoding="utf-8") as f:
            if f.read() == text:
                return
    except FileNotFoundError:
        pass
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


def write_def(header, out, library):
    names = "".join(f"    {n}\n" for n in exported_names(header))
    write_if_changed(out, "; Generated from LibVestra.h by python/gen/gen_binding.py: do not edit.\n"
                     f"LIBRARY {library}\nEXPORTS\n{names}")


def write_map(header, out):
    names = "".join(f"    {n};\n" for n in exported_names(header))
    write_if_changed(out, "/* Generated from LibVestra.h by python/gen/gen_binding.py: the names the\n"
                     "   shared library exports; everything else stays inside. */\n"
                     f"{{\n  global:\n{names}  local:\n    *;\n}};\n")


def main(argv):
    command, args = (argv[0], argv[1:]) if argv else ("", [])
    if command == "header" and len(args) == 2:
        write_header_module(*args)
    elif command == "def" and len(args) == 3:
        write_def(*args)
    elif command == "map" and len(args) == 2:
        write_map(*args)
    elif command == "exports" and len(args) == 1:
        print("\n".join(exported_names(args[0])))
    elif command == "csharp" and len(args) == 3:
        csharp_printer.write(read_model(args[0], args[2]), args[1])
    elif command == "stub" and len(args) == 3:
        stub_printer.write(read_model(args[0], args[1]), args[2])
    else:
        raise SystemExit(__doc__)


if __name__ == "__main__":
    main(sys.argv[1:])
