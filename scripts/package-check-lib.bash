# Helpers of package-check.sh: each check prints one line and is counted.
passes=0
fails=0

Pass() { passes=$((passes + 1)); echo "ok   $1"; }
Fail() {
  fails=$((fails + 1))
  echo "FAIL $1"
  [ -s "$work/out" ] && sed 's/^/     | /' "$work/out" | head -40
  return 0
}

# Check WHAT COMMAND...: the command succeeds.
Check() {
  local what="$1"
  shift
  if "$@" >"$work/out" 2>&1; then Pass "$what"; else Fail "$what"; fi
}

# Expect WHAT [--] PATTERN COMMAND...: succeeds and a line of its output, or
# the whole output read as one line, matches the extended regular expression.
Expect() {
  local what="$1"
  shift
  [ "$1" = "--" ] && shift
  local pattern="$1"
  shift
  if "$@" >"$work/out" 2>&1 &&
    { grep -Eq -- "$pattern" "$work/out" || tr '\n' ' ' <"$work/out" | grep -Eq -- "$pattern"; }; then
    Pass "$what"
  else
    Fail "$what (wanted /$pattern/)"
  fi
}

# ExpectFail WHAT PATTERN COMMAND...: fails, and says why.
ExpectFail() {
  local what="$1" pattern="$2"
  shift 2
  if ! "$@" >"$work/out" 2>&1 && grep -Eq -- "$pattern" "$work/out"; then
    Pass "$what"
  else
    Fail "$what (wanted a failure with /$pattern/)"
  fi
}

# HasLine PACKAGE LINE: the package's file list holds the line.
HasLine() {
  if grep -qxF -- "$2" "$work/$1.files"; then
    Pass "$1 holds ${2#.}"
  else
    cp "$work/$1.files" "$work/out"
    Fail "$1 holds ${2#.}"
  fi
}

Summary() {
  echo "package-check: $passes passed, $fails failed"
  [ "$fails" -eq 0 ]
}
