#!/usr/bin/env bash
# vxctl as a user runs it, against the demo scenario: output and exit codes.
set -u -o pipefail
source "$2/tests/e2e/expect.bash"

s=(--scenario "$root/scenarios/demo.json")
expect 0 'first recorder on the bus: model VX007'        -- "${s[@]}" probe
expect 0 'model VX006, ID code 3400002'                  -- "${s[@]}" idcode --model VX006
expect 0 'model VX007, ID code 3400001'                  -- "${s[@]}" idcode --id 3400001
expect 1 'no recorder with ID code 3400002'              -- "${s[@]}" idcode --id 3400002
expect 0 'logged in to VX006 as admin'                   -- "${s[@]}" login --model VX006 --password patrol99
expect 1 'login refused'                                 -- "${s[@]}" login --model VX006 --password nope
expect 0 '^\+DEVNAME:Front desk unit'                    -- "${s[@]}" cmd --model VX007 VX+DEVNAME?
expect 1 'status 0\): Error: unsupported command$'       -- "${s[@]}" cmd --model VX007 VX+NOSUCH?
expect 1 'status -102\): No Login Device'                -- "${s[@]}" cmd --model VX006 VX+DEVNAME?
expect 1 'cannot open a VX001 recorder'                  -- "${s[@]}" idcode --model VX001
expect 2 'cannot read scenario file'                     -- --scenario /nonexistent.json probe
expect 2 'required'                                      -- "${s[@]}" cmd
expect 2 'not in range'                   -- "${s[@]}" --log 9 probe
expect 0 '^6 47 0 UA/Europe/Kiev$'                       -- tz-find Europe/Kiev
expect 1 'no zone'                                       -- tz-find asia/Shanghai
expect 0 '^CN/Asia/Shanghai$'                            -- tz-name 0 9 0
expect 2 'must be an integer'                            -- tz-name 0 x 0

# Recordings.
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
expect 0 '4 key frames decrypted'  -- decrypt "$root/samples/sample-encrypted.avi" "$tmp/plain.avi" --key demo1234
expect 1 'is not encrypted'        -- decrypt "$tmp/plain.avi" "$tmp/again.avi" --key demo1234
expect 1 'unreadable|cannot|not'   -- decrypt "$tmp/missing.avi" "$tmp/out.avi" --key demo1234
expect 2 'at most 8 characters'    -- decrypt "$root/samples/sample-encrypted.avi" "$tmp/x.avi" --key 123456789
! cmp -s "$root/samples/sample-encrypted.avi" "$tmp/plain.avi"
verdict $? "decrypt wrote the encrypted input unchanged" ""

# The log goes beside the executable only when asked for.
logdir="$(dirname "$vxctl")"
rm -f "$logdir/LibVestra.log"
run_vxctl "${s[@]}" probe >/dev/null 2>&1
[ ! -e "$logdir/LibVestra.log" ]
verdict $? "log written without --log" ""
run_vxctl "${s[@]}" --log 1 probe >/dev/null 2>&1
grep -q '\[VX_ProbeDev\]: Find  3A7C:0C07' "$logdir/LibVestra.log" 2>/dev/null
verdict $? "--log 1 wrote no probe line" "$(cat "$logdir/LibVestra.log" 2>/dev/null)"
rm -f "$logdir/LibVestra.log"

finish vxctl
