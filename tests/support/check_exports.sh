#!/usr/bin/env bash
# The DLL exports exactly the functions the header declares with VX_API,
# undecorated: objdump's export table against the names the header's one
# reader (python/gen/gen_binding.py) lists.
#   check_exports.sh OBJDUMP DLL HEADER PYTHON GENERATOR
set -euo pipefail
objdump="$1" dll="$2" header="$3" python="$4" generator="$5"
want="$("$python" "$generator" exports "$header" | sort -u)"
have="$("$objdump" -p "$dll" | awk '/\[Ordinal\/Name Pointer\] Table/{t=1;next} t&&/^[[:space:]]*\[/{print $NF} t&&/^$/{t=0}' | sort -u)"
if [ "$want" != "$have" ]; then
  diff <(echo "$want") <(echo "$have") | sed 's/^/  /'
  echo "exports: the DLL's export table differs from the header (< header, > DLL)"
  exit 1
fi
echo "exports: $(echo "$have" | wc -l) names, as in the header: 1 passed, 0 failed"
