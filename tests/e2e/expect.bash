# Shared by the e2e scripts (sourced, not a test of its own), each run as
# SCRIPT VXCTL ROOT [RUNNER...]: RUNNER (e.g. wine for vxctl.exe) runs vxctl.
set -o pipefail
vxctl="$1"
root="$2"
runner=("${@:3}")
if [ ${#runner[@]} -gt 0 ]; then runner=(timeout 60 "${runner[@]}"); fi  # a hang fails its case
run_vxctl() { "${runner[@]}" "$vxctl" "$@"; }
fails=0
passes=0

verdict() {  # verdict OK DESCRIPTION OUTPUT
  if [ "$1" -eq 0 ]; then passes=$((passes + 1)); return; fi
  echo "FAIL: $2"; echo "$3" | sed 's/^/    /'; fails=$((fails + 1))
}

# expect CODE PATTERN -- ARGS...: exit code CODE and PATTERN in stdout+stderr.
expect() {
  local want="$1" pattern="$2"
  shift 3
  local out code
  out="$(run_vxctl "$@" 2>&1 | tr -d '\r')"
  code=$?
  [ "$code" -eq "$want" ] && grep -qE -- "$pattern" <<<"$out"
  verdict $? "vxctl $* -> exit $code (want $want), output:" "$out"
}

# finish NAME: the tally, and the script's status.
finish() {
  echo "$1: $passes passed, $fails failed"
  [ "$fails" -eq 0 ]
}
