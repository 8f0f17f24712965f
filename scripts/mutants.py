#!/usr/bin/env python3
"""The planted-fault table: each row is a fault the suite must catch.

For every row the script plants the fault in the source (in place, restored
afterwards, also on Ctrl-C or a failure), rebuilds the plain build
incrementally (only what the changed file feeds recompiles), runs the suite
and records whether some test failed (caught) or none did (escaped).

    scripts/mutants.py [--build DIR] [--only NAME ...] [--ctest-args "..."] [--no-baseline]

A row may name the tests likely to catch it (first, a ctest -R pattern): they
run first, and only when none fails does the whole suite run, so a caught
fault costs its rebuild and a few tests, an escaped one the whole suite.

A row whose old text is no longer found exactly once in its file stops the run
before anything is planted: the code changed and the row must be updated. The
dotnet label is left out by default: those tests drive the same C interface
through the .NET binding and take minutes, and every fault below lies under
the interface, where the C and Python suites look.

Exit status: 0 when every fault was caught, 1 when one escaped, 2 when the
table no longer matches the code or a planted fault did not build.
"""
import argparse
import os
import shlex
import signal
import subprocess
import sys
import time
from pathlib import Path

ROWS = [
    # --- the device list -----------------------------------------------------
    dict(name="removal pass after the arrival pass", first="^Update\\.",
         file="src/devlist/update.cpp",
         old="            if (CheckRemoveUsbDev() == 1) r = 1;\n"
             "            if (CheckNewUsbDev() == 1) r = 1;\n",
         new="            if (CheckNewUsbDev() == 1) r = 1;\n"
             "            if (CheckRemoveUsbDev() == 1) r = 1;\n"),
    dict(name="debounce 1 s", first="^Refresh",
         file="src/devlist/refresh_timer.h",
         old="constexpr uint32_t kEventDebounceMs = 2000;",
         new="constexpr uint32_t kEventDebounceMs = 1000;"),
    dict(name="quiet interval growing by 10 s", first="^Refresh",
         file="src/devlist/refresh_timer.h",
         old="constexpr int kIntervalStepS = 5;",
         new="constexpr int kIntervalStepS = 10;"),
    dict(name="no kind-2 callback", first="^(RefreshTurns|Monitor)\\.",
         file="src/devlist/refresh.cpp",
         old="    if (state >= 1 && callback != nullptr && !g_list_stopping.load()) callback(2, state);",
         new="    (void)state;"),
    dict(name="new-device flag not set", first="^Update\\.",
         file="src/devlist/update.cpp",
         old="        slot.newDevFlag = 1;",
         new="        slot.newDevFlag = 0;"),
    dict(name="ID-code bound at 50 not DevSum", first="^(Update|Monitor)\\.",
         file="src/devlist/list.cpp",
         old="if (index < 0 || index >= TheDevList().DevSum || index >= kListSlots || idCode == nullptr)",
         new="if (index < 0 || index >= kListSlots || idCode == nullptr)"),
    dict(name="one ID-code attempt", first="^Update\\.",
         file="src/devlist/update.cpp",
         old="constexpr int kIdCodeAttempts = 2;",
         new="constexpr int kIdCodeAttempts = 1;"),
    dict(name="no logout from VX_UnInitDevList", first="^Update\\.",
         file="src/devlist/update.cpp",
         old="            VX_Logout(&slot);\n",
         new=""),
    dict(name="the bus dropped from the slot key", first="^Update\\.",
         file="src/devlist/update.cpp",
         old="return bus != nullptr && std::strncmp(SlotBus(slot), bus->dirname, kSlotBusName - 1) == 0;",
         new="return bus != nullptr;"),
    # --- login, exchange, transport -------------------------------------------
    dict(name="a 32-character password hashed", first="^(Login|Rules)\\.",
         file="src/session/login.cpp",
         old="    if (length == 32) return std::string(password, 32);\n",
         new=""),
    dict(name="no handle re-check under the lock", first="^ExchangePattern\\.",
         file="src/ops/steps.cpp",
         old="    LibGuard lock(LibLock());\n    if (!CheckRecord(dev)) return 0;\n    return body(dev);",
         new="    LibGuard lock(LibLock());\n    return body(dev);"),
    dict(name="reply area not zeroed", first="^OpsUnit\\.",
         file="src/protocol/exchange.cpp",
         old="    std::fill(reply, reply + capacity, '\\0');\n",
         new=""),
    dict(name="time-out closing the record", first="^(Ops/)?FaultMatrix|^Exchange\\.",
         file="src/transport/usbio.cpp",
         old="            if (r != kUsbTimeout) {",
         new="            if (true) {"),
    # --- operations -------------------------------------------------------------
    dict(name="battery window 2 s", first="^OpsUnit\\.",
         file="src/ops/identity.cpp",
         old="constexpr int32_t kBatteryWindowMs = 20000;",
         new="constexpr int32_t kBatteryWindowMs = 2000;"),
    dict(name="a last field without separator kept", first="^Rules\\.",
         file="src/ops/rules.cpp",
         old="        if (end == std::string_view::npos) break;  // no separator behind it: dropped",
         new="        if (end == std::string_view::npos) {\n"
             "            if (index < in.count) StoreField(in.outs[index], in.reply.substr(pos));\n"
             "            break;\n"
             "        }"),
    dict(name="INI record of 16 items taking one more", first="^IniCommand\\.",
         file="src/ops/inicmd.cpp",
         old="if (cmd->count < 0 || cmd->count >= VX_INI_ITEMS) return 0;",
         new="if (cmd->count < 0 || cmd->count > VX_INI_ITEMS) return 0;"),
    dict(name="APN refusal at 33", first="^Refusals\\.",
         file="src/protocol/command.cpp",
         old="        if (a.text.size() >= 32) return false;",
         new="        if (a.text.size() >= 33) return false;"),
    dict(name="outputs not cleared before parsing", first="^(Rules|Ops/KeyedOperation)",
         file="src/ops/steps.cpp",
         old="            if (o.ptr) std::memset(o.ptr, 0, o.size);",
         new="            (void)o;"),
    dict(name="GBCmd login failure as 0", first="^GbCmd\\.",
         file="src/standard/gbcmd.cpp",
         old="constexpr int32_t kLoginRefused = VX_GBCMD_LOGIN_REFUSED;",
         new="constexpr int32_t kLoginRefused = 0;"),
    # --- recordings, log, crash dumps -------------------------------------------
    dict(name="avih search case-sensitive", first="^Avi",
         file="src/media/avi.cpp",
         old='!riff::TagEq(&h[i], "avih")',
         new='std::memcmp(&h[i], "avih", 4) != 0'),
    dict(name="marker byte not reset", first="^(FileDecrypt|FrameDecrypt)",
         file="src/media/filedecrypt.cpp",
         old="    const uint8_t zero = 0;",
         new="    const uint8_t zero = 1;"),
    dict(name="log rotation at size >= limit", first="^log_tests$",
         file="src/common/log.cpp",
         old="size > g_log_max_size.load()",
         new="size >= g_log_max_size.load()"),
    dict(name="'_' in the dump name", first="^CrashDump\\.",
         file="src/platform/posix/crash_writer_posix.cpp",
         old='.Dec(day, 2).Put(" ");',
         new='.Dec(day, 2).Put("_");'),
]


class Planted:
    """The fault in the file while the block runs; the file's own text after."""

    def __init__(self, path, old, new):
        self.path, self.old, self.new = path, old, new
        self.text = None

    def __enter__(self):
        self.text = self.path.read_text()
        self.path.write_text(self.text.replace(self.old, self.new, 1))
        return self

    def __exit__(self, *exc):
        self.path.write_text(self.text)
        return False


def stale_rows(root, rows):
    bad = []
    for row in rows:
        path = root / row["file"]
        found = path.read_text().count(row["old"]) if path.exists() else 0
        if found != 1:
            bad.append(f'{row["name"]}: old text found {found} times in {row["file"]}')
    return bad


def run(cmd, cwd, log):
    with open(log, "w") as out:
        return subprocess.run(cmd, cwd=cwd, stdout=out, stderr=subprocess.STDOUT).returncode


def failed_tests(build):
    log = build / "Testing" / "Temporary" / "LastTestsFailed.log"
    if not log.exists():
        return []
    return [line.split(":", 1)[-1].strip() for line in log.read_text().splitlines() if line.strip()]


def main():
    root = Path(__file__).resolve().parent.parent
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--build", type=Path, default=root / "build", help="configured plain build")
    ap.add_argument("--only", nargs="*", help="rows whose name contains one of these texts")
    ap.add_argument("--ctest-args", default="-LE dotnet",
                    help="extra ctest arguments (default: %(default)s)")
    ap.add_argument("--jobs", default="2")
    ap.add_argument("--no-baseline", action="store_true",
                    help="skip the run of the suite on the unplanted tree (it must pass, or every "
                         "fault would look caught)")
    args = ap.parse_args()

    # SIGTERM unwinds like Ctrl-C, so the planted file is restored.
    signal.signal(signal.SIGTERM, lambda *_: (_ for _ in ()).throw(KeyboardInterrupt()))

    rows = [r for r in ROWS if not args.only or any(o in r["name"] for o in args.only)]
    bad = stale_rows(root, rows)
    if bad:
        print("The table no longer matches the code; update these rows:", file=sys.stderr)
        print("\n".join("  " + b for b in bad), file=sys.stderr)
        return 2

    build = args.build.resolve()
    logs = build / "mutants"
    logs.mkdir(parents=True, exist_ok=True)
    build_cmd = ["cmake", "--build", str(build), "-j", args.jobs]
    ctest_cmd = ["ctest", "-j", args.jobs, "--stop-on-failure", "--timeout", "300",
                 *shlex.split(args.ctest_args)]
    if run(build_cmd, root, logs / "unplanted-build.log") != 0:
        print(f"the unplanted tree does not build: {logs / 'unplanted-build.log'}", file=sys.stderr)
        return 2

    if not args.no_baseline and run(ctest_cmd, build, logs / "unplanted-ctest.log") != 0:
        print("the suite fails without a planted fault: " + ", ".join(failed_tests(build)),
              file=sys.stderr)
        return 2

    results = []
    status = 0
    try:
        for i, row in enumerate(rows, 1):
            tag = f"{i:02d}"
            start = time.monotonic()
            with Planted(root / row["file"], row["old"], row["new"]):
                if run(build_cmd, root, logs / f"{tag}-build.log") != 0:
                    verdict, by = "NOT BUILT", f"see {logs / (tag + '-build.log')}"
                    status = 2
                elif (row.get("first") and
                      run(ctest_cmd + ["-R", row["first"]], build, logs / f"{tag}-first.log") != 0) \
                        or run(ctest_cmd, build, logs / f"{tag}-ctest.log") != 0:
                    names = failed_tests(build)
                    verdict, by = "caught", ", ".join(names[:3]) + (" ..." if len(names) > 3 else "")
                else:
                    verdict, by = "ESCAPED", ""
                    status = max(status, 1)
            results.append((row["name"], verdict, by))
            print(f"{tag} {verdict:9} {row['name']:40} {time.monotonic() - start:5.0f}s  {by}",
                  flush=True)
    finally:
        # The restored files rebuild into the tree's own objects.
        run(build_cmd, root, logs / "restored-build.log")

    caught = sum(1 for _, v, _ in results if v == "caught")
    print(f"\n{caught} of {len(results)} planted faults caught")
    return status


if __name__ == "__main__":
    sys.exit(main())
