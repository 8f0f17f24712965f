"""Loading the shared library and the pieces every part of the binding uses."""
import ctypes
import os
import sys

from . import _capi

_SONAME = "LibVestra.dll" if os.name == "nt" else "LibVestra.so.0"


def _load():
    path = os.environ.get("VESTRA_LIBRARY") or _SONAME
    lib = ctypes.CDLL(path)
    for name, (restype, params) in _capi.FUNCTIONS.items():
        function = getattr(lib, name)
        function.restype = restype
        function.argtypes = [argtype for _, _, argtype in params]
    return lib


lib = _load()


def encode(text):
    """A Python text (or bytes, or None) as the library's byte string."""
    if text is None or isinstance(text, bytes):
        return text
    return str(text).encode("utf-8", "surrogateescape")


def decode(data):
    """A byte string from the library (up to its first NUL) as text."""
    if isinstance(data, (bytes, bytearray)):
        data = bytes(data).split(b"\0", 1)[0]
        return data.decode("utf-8", "surrogateescape")
    return data


# The command lines that carry a password or a digest: what starts them and
# how many leading ':' fields of the value are not secret (as the library's
# log masks them).
_SECRET_LINES = (("VX+LOGIN=", 1), ("VX+LOGINPWD=", 0), ("VX+USER=", 1),
                 ("VX+RECVPWD=", 0), ("VX+APADD=", 1))


def mask_secrets(line):
    """The command line with its password or digest as as many asterisks."""
    for prefix, kept in _SECRET_LINES:
        if line.startswith(prefix):
            body, end = line[len(prefix):], ""
            while body.endswith(("\r", "\n")):
                body, end = body[:-1], body[-1] + end
            fields = body.split(":", kept) if kept else [body]
            shown = ":".join(fields[:kept] + ["*" * len(fields[kept])]) if len(fields) > kept else body
            return prefix + shown + end
    return line


class VestraError(Exception):
    """An operation the library reported as failed.

    status:    the record's status number (0 refused or no reply, -101 not
               open, -102 login refused, ...; the VX_STATUS_* constants)
    text:      the library's error text (for status 0 the device's reply, or
               the reason nothing was sent)
    command:   the last command line sent on the record, if any (a password
               or digest in it masked, as the log shows it)
    operation: the binding's name of what failed
    """

    def __init__(self, status, text, command="", operation=""):
        self.status = status
        self.text = text
        self.command = mask_secrets(command)
        self.operation = operation
        where = f"{operation}: " if operation else ""
        super().__init__(f"{where}status {status}: {text.strip()}")

    @property
    def reply(self):
        """The device's reply, for a refused or unanswered command (status 0)."""
        return self.text if self.status == _capi.VX_STATUS_FAILED else None


def _main_folder():
    """The folder of the main script; the working directory for an interactive
    session, `python -c` and `python -m` (whose main file is a library's)."""
    main = sys.modules.get("__main__")
    path = getattr(main, "__file__", None)
    if path and getattr(main, "__spec__", None) is None:
        return os.path.dirname(os.path.abspath(path))
    return os.getcwd()


def set_log_dir(folder):
    """Where LibVestra.log, LibVestra.1.log and crash reports go (None: beside
    the executable, which for Python is the interpreter's system folder)."""
    lib.VX_SetLibLogDir(None if folder is None else encode(os.fspath(folder)))


# Set once, at import: a host's own later call wins.
set_log_dir(_main_folder())
