"""How an operation's Python method is made from its C declaration: its name
and what each parameter after (record, password) becomes. Read by recorder.py
at import and by the typing stub's generator at build time, so that the stub
and the methods cannot differ. Imports nothing of the package."""
import re

AUTO_SIZES = ("size", "length")  # filled from the argument before them


def snake_case(name):
    """'GetDevUDiskAuthEn' -> 'get_dev_u_disk_auth_en', 'Set0787Serv01Cfg' -> 'set_0787_serv01_cfg'."""
    name = re.sub(r"^(Get|Set)(?=[0-9])", r"\1_", name)
    name = re.sub(r"([A-Z]+)([A-Z][a-z])", r"\1_\2", name)
    name = re.sub(r"(?<=[a-z0-9])(?=[A-Z])", "_", name)
    return name.lower()


def is_output(ctype):
    """A pointer to a non-const: the method returns it instead of taking it."""
    return ctype.endswith("*") and not ctype.startswith("const ")


def sized(names, ctypes_):
    """Indexes of the parameters filled from the length of the one before."""
    return {i for i in range(1, len(names))
            if snake_case(names[i]) in AUTO_SIZES and not ctypes_[i].endswith("*")
            and ctypes_[i - 1].endswith("*")}
