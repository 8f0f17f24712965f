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
targets=(fuzz_avi_reader fuzz_frame_decrypt fuzz_device_reply fuzz_parse_rules fuzz_ini_command
  fuzz_get_reply)
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

# Parse rules: byte 0 picks the case (see kCases in fuzz_parse_rules.cpp),
# byte 1 an index or size, then a reply the case's rule understands.
rules="$seeds/fuzz_parse_rules"; mkdir -p "$rules"
printf '\x00\x00+GBCFG:A123456,100001,Officer Li,U000000000001,Unit One\r\nOK\r\n' > "$rules/gbcfg"
printf '\x01\x00+SYSTIME:20260101120000,0,8,Asia/Shanghai\r\nOK\r\n' > "$rules/systime"
printf '\x02\x00+VPN:NULL,user,pass\r\nOK\r\n' > "$rules/vpn"
printf '\x04\x00+MVEINFO:1920x1080,30,4096\r\nOK\r\n' > "$rules/mveinfo"
printf '\x06\x00+GB28181CFG:bEnable:1,ServIP:10.0.0.1,ServPort:5060,DevNo:3402,ChnNo:1,Chnname:c,ServID:34,Name:34,Passwd:p,\r\nOK\r\n' > "$rules/gb28181"
printf '\x09\x00+PTYTCFG:bEnable:0,ServIP:h,ServPort:1,DevNo:2,DevName:n,DevPasswd:p,ReportTime:30,\r\nOK\r\n' > "$rules/ptyt"
printf '\x0d\x11+VIDEOOSD1:1,Police 0001\r\nOK\r\n' > "$rules/osd"
printf '\x0f\x40+UMSJSON:{"a":1}\r\n' > "$rules/json"
printf '\x10\x00+DEVNAME:bench\r\nOK\r\n' > "$rules/devname"
printf '\x12\x00+BATVAL:87\r\nOK\r\n' > "$rules/batval"
printf '\x14\x00+APLIST:home,office,car\r\nOK\r\n' > "$rules/aplist"
printf '\x15\x00+APLIST:\r\nOK\r\n' > "$rules/apsel-empty"
printf '\x16\x00+APDEL:ALL\r\nOK\r\n' > "$rules/apdel"
printf '\x19\x07+BASE64:7\r\nOK\r\n' > "$rules/base64"

# INI texts: byte 0's bit 0 starts a fresh record; NUL separates texts.
ini="$seeds/fuzz_ini_command"; mkdir -p "$ini"
printf '\x01Video.Resolution=1080P|.Fps=30' > "$ini/set"
printf '\x01Net.Apn=?|.Ssid=?' > "$ini/query"
printf '\x00Wifi.Ap+=home|.Ap-=car\x00Gps.Rate = 5' > "$ini/add-remove"

# Get operations: byte 0 picks one (see kOps in fuzz_get_reply.cpp), byte 1
# the packet size, byte 2 an index or size, then the reply.
get="$seeds/fuzz_get_reply"; mkdir -p "$get"
printf '\x00\x3f\x00+GBCFG:A123456,100001,Officer Li,U000000000001,Unit One\r\nOK\r\n' > "$get/gbcfg"
printf '\x01\x07\x00+GB28181CFG:bEnable:1,ServIP:10.0.0.1,ServPort:5060,DevNo:3402,ChnNo:1,Chnname:c,ServID:34,Name:34,Passwd:p,\r\nOK\r\n' > "$get/gb28181"
printf '\x03\x3f\x09+VIDEOOSD1:1,Police 0001\r\nOK\r\n' > "$get/osd"
printf '\x04\x3f\x00+APLIST:home,office\r\nOK\r\n' > "$get/aplist"
printf '\x06\x3f\x10+UMSJSON:{"a":1}\r\nOK\r\n' > "$get/json"
printf '\x09\x3f\x00+SYSTIME:20260101120000,0,8,zone\r\nOK\r\n' > "$get/systime"

for t in "${targets[@]}"; do
  corpus="$build/fuzz-corpus/$t"
  mkdir -p "$corpus"
  echo "== $t: ${secs}s"
  # close_fd_mask=1: the reader prints the marker line on standard output.
  "$build/bin/$t" -max_total_time="$secs" -close_fd_mask=1 -print_final_stats=1 \
    -max_len=65536 -rss_limit_mb=2048 "$corpus" "$seeds/$t"
done
echo "fuzzing: no findings"
