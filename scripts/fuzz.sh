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
targets=(fuzz_avi_reader fuzz_frame_decrypt fuzz_device_reply)
cmake --build "$build" -j2 --target "${targets[@]}"

# Seeds: the demo recording for the reader, one of its key frames (with a
# one-byte key prefix) for the frame decryption.
seeds="$build/fuzz-seeds"
mkdir -p "$seeds/fuzz_avi_reader" "$seeds/fuzz_frame_decrypt" "$seeds/fuzz_device_reply"
cp "$root/samples/sample-encrypted.avi" "$seeds/fuzz_avi_reader/"
{ printf '\x04demo'; printf '\x00\x00\x00\x01\x67'; head -c 400 /dev/zero; } \
  > "$seeds/fuzz_frame_decrypt/keyframe"
printf '\x07+GBIDCODE:3400001\r\n+LOGIN:Sucess\r\n+LOGINID:ID1\r\nOK\r\n' > "$seeds/fuzz_device_reply/ok"
printf '\x01Error: para is error\r\n' > "$seeds/fuzz_device_reply/para"

for t in "${targets[@]}"; do
  corpus="$build/fuzz-corpus/$t"
  mkdir -p "$corpus"
  echo "== $t: ${secs}s"
  # close_fd_mask=1: the reader prints the marker line on standard output.
  "$build/bin/$t" -max_total_time="$secs" -close_fd_mask=1 -print_final_stats=1 \
    -max_len=65536 -rss_limit_mb=2048 "$corpus" "$seeds/$t"
done
echo "fuzzing: no findings"
