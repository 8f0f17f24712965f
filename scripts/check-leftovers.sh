#!/usr/bin/env bash
# Proves that a command leaves no file outside the build folders and the
# temporary folders: lists /usr, /etc, /opt and $HOME before and after it,
# and the project's untracked files (the build folders are ignored), and
# fails naming every file or folder it created or changed there.
#   scripts/check-leftovers.sh COMMAND [ARG...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
places=(/usr /etc /opt "$HOME")
state="$(mktemp -d)"
trap 'rm -rf "$state"' EXIT

listing() {  # every path but the project's own tree, whose untracked files stand for it
  find "${places[@]}" -xdev -path "$root" -prune -o -print 2>/dev/null
  git -C "$root" ls-files --others --exclude-standard 2>/dev/null | sed "s|^|$root/|"
}
sorted_listing() { listing | LC_ALL=C sort; }

sorted_listing >"$state/before"
touch "$state/marker"
sleep 1  # file times have a resolution of their own: nothing now is "newer" by accident
"$@"
sorted_listing >"$state/after"

{
  LC_ALL=C comm -13 "$state/before" "$state/after"
  find "${places[@]}" -xdev -path "$root" -prune -o ! -type d -newer "$state/marker" -print 2>/dev/null
} | LC_ALL=C sort -u >"$state/left"
if [ -s "$state/left" ]; then
  echo "FAIL: files left outside the build and temporary folders:"
  sed 's/^/  /' "$state/left" | head -n 50
  exit 1
fi
echo "no file left in ${places[*]} or among the project's untracked files"
