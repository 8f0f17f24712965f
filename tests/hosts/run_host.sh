#!/usr/bin/env bash
# Runs one host program against the virtual recorders, in a temporary folder
# of its own (its working directory, where it puts the log and crash
# reports), and judges how it ended:
#   run_host.sh SIMDIR LIBDIR SCENARIO EXPECT [SAID] -- COMMAND...
# EXPECT "clean": exit 0 and no crash report; "dump": ended by a signal with
# exactly one crash report; "term": ended by SIGTERM with none. SAID, if given, must be in the host's output.
# Nothing may appear beside the interpreter (the command's own folder).
set -uo pipefail
simdir="$1" libdir="$2" scenario="$3" expect="$4"
shift 4
said=""
if [ "$1" != "--" ]; then said="$1"; shift; fi
shift
work="$(mktemp -d "${TMPDIR:-/tmp}/vx-host.XXXXXX")"
trap 'rm -rf "$work"' EXIT
interpreter_dir="$(dirname "$(readlink -f "$(command -v "$1")")")"
before="$(ls "$interpreter_dir" | grep -E '^(TarnbyCrash|LibVestra|hs_err)' | xargs -r -I{} stat -c '%n %s' "$interpreter_dir/{}")"
ulimit -c 0
(cd "$work" && VSIM_SCENARIO="$scenario" LD_LIBRARY_PATH="$simdir:$libdir${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}" \
   "$@" >"$work/output.txt" 2>&1)
status=$?
cat "$work/output.txt"
dumps=$(find "$work" -maxdepth 1 -name 'TarnbyCrash-*.dmp' | wc -l)
after="$(ls "$interpreter_dir" | grep -E '^(TarnbyCrash|LibVestra|hs_err)' | xargs -r -I{} stat -c '%n %s' "$interpreter_dir/{}")"
failed=0
fail() { echo "FAILED: $*"; failed=1; }
case "$expect" in
  clean) [ "$status" -eq 0 ] || fail "exit status $status, expected 0"
         [ "$dumps" -eq 0 ] || fail "$dumps crash reports, expected none" ;;
  dump)  [ "$status" -gt 128 ] || fail "exit status $status, expected the end by a signal"
         [ "$dumps" -eq 1 ] || fail "$dumps crash reports, expected one" ;;
  term)  [ "$status" -eq 143 ] || fail "exit status $status, expected the end by SIGTERM (143)"
         [ "$dumps" -eq 0 ] || fail "$dumps crash reports, expected none" ;;
  *)     fail "unknown expectation $expect" ;;
esac
if [ -n "$said" ] && ! grep -qF -- "$said" "$work/output.txt"; then fail "the output lacks: $said"; fi
[ "$before" = "$after" ] || fail "files changed beside the interpreter in $interpreter_dir"
[ "$failed" -eq 0 ] && echo "host: $expect as expected (status $status, $dumps crash reports)"
exit "$failed"
