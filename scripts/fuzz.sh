#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs each for a while. Fails on any crash,
# leak or sanitizer report.
#   scripts/fuzz.sh [seconds-per-target] [build-dir]   (defaults: 30, build-fuzz)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
secs="${1:-30}"
build="${2:-$root/build-fuzz}"
CC=clang-14 CXX=clang++-14 cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVESTRA_FUZZ=ON -DVESTRA_TESTS=OFF -DVESTRA_BENCH=OFF \
  -DVESTRA_SANITIZE=address,undefined \
  -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >/dev/null
targets=(fuzz_avi_reader fuzz_frame_decrypt fuzz_reply fuzz_ini_command)
cmake --build "$build" -j2 --target "${targets[@]}" reply_seeds

# Seeds: the demo recording for the reader, one of its key frames (with a
# one-byte key prefix) for the frame decryption.
seeds="$build/fuzz-seeds"
rm -rf "$seeds"
mkdir -p "$seeds/fuzz_avi_reader" "$seeds/fuzz_frame_decrypt" "$seeds/fuzz_reply"
cp "$root/samples/sample-encrypted.avi" "$seeds/fuzz_avi_reader/"
{ printf '\x04demo'; printf '\x00\x00\x00\x01\x67'; head -c 400 /dev/zero; } \
  > "$seeds/fuzz_frame_decrypt/keyframe"

# Replies: the virtual recorder's answer to every case's command; the
# dictionary holds the protocol's words, taken from the rows.
"$build/bin/reply_seeds" "$seeds/fuzz_reply"
dict="$build/fuzz-reply.dict"
keys="$(sed -n 's/.*constexpr Row k[A-Za-z0-9]*{\.key = "\([A-Z0-9]*\)".*/\1/p; s/.*VX_SERVICE_ROWS([A-Za-z0-9]*, "\([A-Z0-9]*\)".*/\1/p' \
  "$root/src/ops/rows.h" | sort -u)"
# A row format this no longer reads would leave the dictionary without keywords.
[ "$(echo "$keys" | wc -l)" -ge 40 ] || { echo "fuzz.sh: too few keywords read from src/ops/rows.h" >&2; exit 1; }
{
  echo "$keys" | sed 's/.*/"+&:"/'
  grep -o '"[A-Za-z]*"' "$root/src/ops/rows.h" | grep -v '"[A-Z0-9]*"$' | sort -u | sed 's/"\(.*\)"/"\1:"/'
  printf '%s\n' '"OK\x0d\x0a"' '"\x0d\x0a"' '"NULL"' '"ALL"' '"Error: para is error"' '"Sucess"' \
    '"bEnable:"' '"ReportTime:"' '"Name:"' '"1920x1080"' '"|."' '"=?"' '"+="' '"-="'
} > "$dict"

# INI texts: byte 0's bit 0 starts a fresh record; NUL separates texts.
ini="$seeds/fuzz_ini_command"; mkdir -p "$ini"
printf '\x01Video.Resolution=1080P|.Fps=30' > "$ini/set"
printf '\x01Net.Apn=?|.Ssid=?' > "$ini/query"
printf '\x00Wifi.Ap+=home|.Ap-=car\x00Gps.Rate = 5' > "$ini/add-remove"

for t in "${targets[@]}"; do
  corpus="$build/fuzz-corpus/$t"
  mkdir -p "$corpus"
  echo "== $t: ${secs}s"
  # close_fd_mask=1: the reader prints the marker line on standard output.
  extra=()
  [ "$t" = fuzz_reply ] && extra=(-dict="$dict" -max_len=2100)  # the largest reply area read here: 2048
  "$build/bin/$t" -max_total_time="$secs" -close_fd_mask=1 -print_final_stats=1 \
    -max_len=65536 -rss_limit_mb=2048 "${extra[@]}" "$corpus" "$seeds/$t"
done
echo "fuzzing: no findings"
