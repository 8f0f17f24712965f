"""The C# printer of gen_binding.py's model: the P/Invoke declarations of the
header (Native.g.cs) and one Recorder method per record operation
(Recorder.Operations.g.cs), with the header's Doxygen text as XML comments.

Nothing here names an operation: every method is made from the function's
declaration, its documentation ([out] marks an output) and its row."""
import os
import re
from collections import namedtuple

_NUMBERS = {"int32_t": "int", "uint32_t": "uint", "uint16_t": "ushort", "uint8_t": "byte",
            "size_t": "UIntPtr"}
_KEYWORDS = {"out", "ref", "in", "string", "params", "fixed", "object", "base", "event", "lock"}
# Recorder members written by hand that a generated property must not hide.
_HANDWRITTEN = {"Status", "ErrorText", "IdCode", "Info", "IsDisposed", "Handle"}
_AUTO_SIZES = ("size", "length")  # filled from the buffer before them


def ident(name):
    return "@" + name if name in _KEYWORDS else name


def pascal(name):
    """'bEnable' -> 'Enable' (the flag prefix), 'servIp' -> 'ServIp'."""
    name = re.sub(r"^b(?=[A-Z])", "", name)
    return name[0].upper() + name[1:]


def managed_struct(name):
    """'ZFYInfo' -> 'ZfyInfo': a run of capitals reads as one word."""
    return re.sub(r"([A-Z])([A-Z]+)(?=[A-Z][a-z]|$)", lambda m: m.group(1) + m.group(2).lower(), name)


# ---- Doxygen text as XML documentation ------------------------------------

Doc = namedtuple("Doc", "brief details params returns")


def read_doc(text):
    """Splits a cleaned Doxygen block into its brief, paragraphs, parameters
    ({name: (direction, text)}) and return text."""
    brief, details, params, returns = "", [], {}, ""
    current = None
    for chunk in re.split(r"\n(?=@(?:brief|param|return|par|ingroup|def|\{|\}))|\n\s*\n", text or ""):
        chunk = chunk.strip()
        if not chunk:
            continue
        m = re.match(r"@brief\s+(.*)", chunk, flags=re.S)
        p = re.match(r"@param(?:\[([\w,]+)\])?\s+(\w+)\s*(.*)", chunk, flags=re.S)
        if m:
            brief, current = m.group(1), None
        elif p:
            params[p.group(2)] = (p.group(1) or "in", p.group(3))
        elif chunk.startswith("@return"):
            returns = chunk[len("@return"):].strip()
        elif chunk.startswith("@par "):
            title, _, rest = chunk[5:].partition("\n")
            details.append(f"{title.strip()}: {rest.strip()}")
        elif chunk.startswith("@"):
            continue  # @def, @ingroup, @{, ...
        else:
            details.append(chunk)
    if not brief and details:
        brief = details.pop(0)
    return Doc(brief, details, params, returns)


def xml(text):
    text = re.sub(r"\s*\(@ref \w+\)", "", text)
    text = re.sub(r"@ref (\w+)", r"\1", text)
    text = text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
    text = re.sub(r"`([^`]*)`", r"<c>\1</c>", text)
    text = re.sub(r"[@\\][pc] (\w+)", r"<c>\1</c>", text)
    text = re.sub(r"#(\w+)", r"<c>\1</c>", text)
    return re.sub(r"\s+", " ", text).strip()


def doc_lines(indent, summary, remarks=(), params=(), returns=None, extra=()):
    pad = " " * indent
    out = [f"{pad}/// <summary>{xml(summary) or 'See the library header.'}</summary>"]
    if remarks:
        out.append(f"{pad}/// <remarks>")
        out += [f"{pad}/// <para>{xml(r)}</para>" for r in remarks]
        out.append(f"{pad}/// </remarks>")
    for name, text in params:
        out.append(f'{pad}/// <param name="{name}">{xml(text) or name}</param>')
    if returns is not None:
        out.append(f"{pad}/// <returns>{xml(returns)}</returns>")
    return out + [f"{pad}/// {line}" for line in extra]


# ---- Native.g.cs ------------------------------------------------------------

def split_type(ctype):
    const = ctype.startswith("const ")
    base = ctype[6:] if const else ctype
    return const, base.replace("*", "").strip(), base.count("*")


def field_type(model, ctype, dim):
    const, base, stars = split_type(ctype)
    if stars:
        return "IntPtr", None
    if dim is not None:
        size = f"Constants.{dim}" if dim in model.defines else dim
        element = base if base in model.struct_names else "byte"
        return f"{element}[]", f"[MarshalAs(UnmanagedType.ByValArray, SizeConst = {size})]"
    return (base if base in model.struct_names else _NUMBERS[base]), None


def param_type(model, ctype, name, direction, following):
    """The P/Invoke parameter for a C parameter (following: the next one)."""
    const, base, stars = split_type(ctype)
    if stars == 0:
        return base if base in model.callbacks else _NUMBERS[base]
    if base == "VestraInfo":
        return "RecorderHandle"
    if base == "char":
        return "[MarshalAs(UnmanagedType.LPStr)] string?" if const else "byte[]?"
    if base == "void":
        return "IntPtr"
    if base == "uint8_t":
        return "byte*"
    if base in model.struct_names:
        if following is not None and "count" in following[1].lower():
            return f"[Out] {base}[]"
        if const or direction == "in":
            return f"[In] ref {base}"
        return f"ref {base}" if "in" in direction.split(",") else f"out {base}"
    return f"ref {_NUMBERS[base]}" if direction == "in,out" else f"out {_NUMBERS[base]}"


def result_type(ctype):
    const, base, stars = split_type(ctype)
    if stars:
        return "IntPtr"
    return "void" if base == "void" else _NUMBERS[base]


def native_file(model):
    lines = ["// Generated by gen_binding.py from LibVestra.h: do not edit.",
             "#nullable enable", "using System;", "using System.Runtime.InteropServices;", "",
             "namespace Vestra.Native", "{"]
    lines += doc_lines(4, "The header's constants: sizes, status numbers and log modes.")
    lines += ["    public static class Constants", "    {"]
    for name, value in model.defines.items():
        lines += doc_lines(8, model.docs.get(name, name))
        lines.append(f"        public const int {name} = {value};")
    lines += ["    }", ""]
    for name, fields in model.structs:
        lines += doc_lines(4, read_doc(model.docs.get(name)).brief or name)
        lines += ["    [StructLayout(LayoutKind.Sequential)]", f"    public struct {name}", "    {"]
        for ctype, field, dim in fields:
            cstype, attribute = field_type(model, ctype, dim)
            lines += doc_lines(8, model.docs.get(f"{name}.{field}", field))
            if attribute:
                lines.append(f"        {attribute}")
            lines.append(f"        public {cstype}{'?' if cstype.endswith('[]') else ''} {field};")
        lines += ["    }", ""]
    for name, (ret, args) in model.callbacks.items():
        doc = read_doc(model.docs.get(name))
        lines += doc_lines(4, doc.brief, doc.details, [(a, doc.params.get(a, ("", a))[1]) for _, a, _ in args])
        lines.append("    [UnmanagedFunctionPointer(CallingConvention.Cdecl)]")
        params = ", ".join(f"{_NUMBERS[t]} {ident(a)}" for t, a, _ in args)
        lines += [f"    public delegate {result_type(ret)} {name}({params});", ""]
    lines += doc_lines(4, "Every exported function of the library, as declared in LibVestra.h.",
                       ["Texts are marshalled in the library's code page: the ANSI code page on "
                        "Windows, UTF-8 elsewhere. A character the ANSI code page cannot hold "
                        "raises an ArgumentException instead of reaching the device as '?'."])
    lines += ["    public static unsafe class NativeMethods", "    {",
              '        /// <summary>The library\'s file name without its extension.</summary>',
              '        public const string Library = "LibVestra";', ""]
    for ret, name, params in model.functions:
        doc = read_doc(model.docs.get(name))
        cs_params = []
        for i, (ctype, pname, _) in enumerate(params):
            following = params[i + 1] if i + 1 < len(params) else None
            direction = doc.params.get(pname, ("in", ""))[0]
            cs_params.append(f"{param_type(model, ctype, pname, direction, following)} {ident(pname)}")
        lines += doc_lines(8, doc.brief, doc.details, [(p, doc.params.get(p, ("", p))[1]) for _, p, _ in params],
                           doc.returns if result_type(ret) != "void" else None)
        lines.append("        [DllImport(Library, CallingConvention = CallingConvention.Cdecl, "
                     "CharSet = CharSet.Ansi, BestFitMapping = false, ThrowOnUnmappableChar = true)]")
        lines.append(f"        public static extern {result_type(ret)} {name}({', '.join(cs_params)});")
        lines.append("")
    lines += ["    }", "}"]
    return "\n".join(lines) + "\n"


# ---- Recorder.Operations.g.cs -------------------------------------------------

Param = namedtuple("Param", "cname name ctype kind output auto_size struct doc")


def operation_params(model, function, doc):
    """The parameters after (record, password), with how each is handled."""
    params = next(p for _, n, p in model.functions if n == function)[2:]
    out = []
    for ctype, cname, _ in params:
        const, base, stars = split_type(ctype)
        direction, text = doc.params.get(cname, ("in", cname))
        struct = base if base in model.struct_names else None
        if base == "char":
            kind = "string"
        elif base == "uint8_t" and stars:
            kind = "bytes"
        elif struct:
            kind = "struct"
        else:
            kind = _NUMBERS[base]
        auto = bool(stars == 0 and cname in _AUTO_SIZES and out and out[-1].ctype.endswith("*"))
        out.append(Param(cname, ident(cname), ctype, kind, stars > 0 and "out" in direction, auto, struct,
                         text))
    return out


def managed_type(param):
    if param.kind == "struct":
        return f"global::Vestra.{managed_struct(param.struct)}"
    if param.kind == "bytes":
        return "byte[]"
    return param.kind


def method_body(function, method, params, result):
    """Statements of one operation: outputs made, the call checked, outputs read."""
    body, args, fixed = [f"var handle = Enter(nameof({method}));"], ["handle", "password"], []
    before = None
    for p in params:
        local = "_" + p.cname
        if p.auto_size:
            args.append(f"({p.kind}){before}.Length")
        elif p.kind == "bytes" and not p.output:
            body.append(f"if ({p.name} == null) throw new ArgumentNullException(nameof({p.name}));")
            fixed.append(f"fixed (byte* {local} = {p.name})")
            args.append(local)
        elif p.output and p.kind == "string":
            body.append(f"var {local} = new byte[Operations.{function}.ReplyArea];")
            args.append(local)
        elif p.output and p.kind == "struct":
            body.append(f"var {local} = default(Native.{p.struct});")
            args.append(f"out {local}")
        elif p.output:
            body.append(f"{p.kind} {local};")
            args.append(f"out {local}")
        elif p.kind == "struct":
            body.append(f"var {local} = {p.name}.ToNative();")
            args.append(f"ref {local}")
        else:
            args.append(p.name)
        before = local if p.kind != "bytes" else p.name
    call = f"Check(nameof({method}), NativeMethods.{function}({', '.join(args)}))"
    outputs = [p for p in params if p.output]
    if fixed:
        body += fixed + ["{", f"    {'return ' if not outputs else ''}{call};", "}"]
    else:
        body.append(f"{'return ' if not outputs else ''}{call};")

    def read(p):
        local = "_" + p.cname
        if p.kind == "string":
            return f"AnsiText.Decode({local})"
        if p.kind == "struct":
            return f"global::Vestra.{managed_struct(p.struct)}.FromNative({local})"
        return local

    if len(outputs) == 1:
        body.append(f"return {read(outputs[0])};")
    elif outputs:
        body.append(f"return new {result}({', '.join(read(p) for p in outputs)});")
    return body


def operations_file(model):
    lines = ["// Generated by gen_binding.py from LibVestra.h and the operation rows: do not edit.",
             "#nullable enable", "using System;", "using Vestra.Native;", "", "namespace Vestra", "{"]
    records, structs, getters, setters = [], set(), {}, {}
    methods = []
    for function in model.links:
        doc = read_doc(model.docs.get(function))
        method = function[3:]
        params = operation_params(model, function, doc)
        inputs = [p for p in params if not p.output and not p.auto_size]
        outputs = [p for p in params if p.output]
        structs.update(p.struct for p in params if p.struct)
        result = None
        if len(outputs) > 1:
            named = method.startswith("Get") and method[3].isalpha()  # "Get0787..." names no type
            result = f"global::Vestra.{method[3:] if named else method + 'Result'}"
            records.append((result.split(".")[-1], method, outputs))
        if not outputs:
            returns, rtype = ("The record's status number: 1, or the special status this operation "
                              "reports instead of failing (see Status)."), "int"
        elif len(outputs) == 1:
            rtype = managed_type(outputs[0])
            returns = (f"The text read (the `{outputs[0].cname}` output)." if outputs[0].kind == "string"
                       else outputs[0].doc)
        else:
            returns, rtype = "The outputs, in the order the device gives them.", result
        methods += doc_lines(8, doc.brief, doc.details, [(p.name, p.doc) for p in inputs], returns,
                             ['<exception cref="VestraException">The device refused or did not answer, '
                              'the login failed, or the record is not open.</exception>'])
        signature = ", ".join(f"{managed_type(p)} {p.name}" for p in inputs)
        methods.append(f"        public {'unsafe ' if any(p.kind == 'bytes' for p in inputs) else ''}"
                       f"{rtype} {method}({signature})")
        methods.append("        {")
        methods += [f"            {s}" for s in method_body(function, method, params, result)]
        methods += ["        }", ""]
        if method.startswith("Get") and not inputs and outputs:
            getters[method[3:]] = (rtype, outputs, doc.brief)
        elif method.startswith("Set") and inputs:
            setters[method[3:]] = inputs
    # Properties: a get without arguments; writable where its set takes what it returns.
    for name, (rtype, outputs, brief) in getters.items():
        if not name[0].isalpha() or name in _HANDWRITTEN:
            continue
        inputs = setters.get(name)
        setter = None
        if inputs and len(inputs) == len(outputs) and all(
                (a.kind == "string") == (b.kind == "string") and a.struct == b.struct
                for a, b in zip(inputs, outputs)):
            if len(outputs) == 1:
                cast = "" if inputs[0].kind == outputs[0].kind else f"({inputs[0].kind})"
                setter = f"Set{name}({cast}value)"
            else:
                fields = [(pascal(o.cname), "" if i.kind == o.kind else f"({i.kind})")
                          for i, o in zip(inputs, outputs)]
                setter = f"Set{name}({', '.join(f'{c}value.{f}' for f, c in fields)})"
        methods += doc_lines(8, brief + (" Setting it calls Set" + name + "()." if setter else ""),
                             extra=['<exception cref="VestraException">The operation failed.</exception>'])
        methods.append(f"        public {rtype} {name}")
        methods.append("        {")
        methods.append(f"            get => Get{name}();")
        if setter:
            methods.append(f"            set => {setter};")
        methods += ["        }", ""]
    for name, method, outputs in records:
        lines += doc_lines(4, f"What {method}() reads.",
                           params=[(pascal(p.cname), p.doc) for p in outputs])
        fields = ", ".join(f"{managed_type(p)} {pascal(p.cname)}" for p in outputs)
        lines += [f"    public sealed record {name}({fields});", ""]
    for struct in sorted(structs):
        lines += struct_record(model, struct)
    lines += ["    public sealed partial class Recorder", "    {"] + methods + ["    }", "}"]
    return "\n".join(lines) + "\n"


def struct_record(model, struct):
    """A managed record for a structure of texts, with its conversions."""
    fields = next(f for n, f in model.structs if n == struct)
    name = managed_struct(struct)
    params = [(pascal(f), model.docs.get(f"{struct}.{f}", f)) for _, f, _ in fields]
    lines = doc_lines(4, read_doc(model.docs.get(struct)).brief, params=params,
                      extra=["<remarks>Each text must fit its field's width in the library's code "
                             "page.</remarks>"])
    lines.append(f"    public sealed record {name}({', '.join(f'string {p}' for p, _ in params)})")
    lines += ["    {", f"        internal Native.{struct} ToNative() => new Native.{struct}", "        {"]
    for (_, field, dim), (prop, _) in zip(fields, params):
        size = f"Constants.{dim}" if dim in model.defines else dim
        lines.append(f"            {field} = AnsiText.EncodeField({prop}, {size}, nameof({prop})),")
    lines += ["        };", "",
              f"        internal static {name} FromNative(in Native.{struct} n) =>",
              f"            new {name}({', '.join(f'AnsiText.Decode(n.{f})' for _, f, _ in fields)});",
              "    }", ""]
    return lines


def write(model, out_dir):
    os.makedirs(out_dir, exist_ok=True)
    for name, text in (("Native.g.cs", native_file(model)),
                       ("Recorder.Operations.g.cs", operations_file(model))):
        path = os.path.join(out_dir, name)
        # Unchanged text keeps its time stamp, so that the C# build is not redone.
        if os.path.exists(path) and open(path, encoding="utf-8").read() == text:
            continue
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)
