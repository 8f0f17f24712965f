#!/usr/bin/env bash
# vxctl gb / gbcmd as a user runs them: status values in words, exit codes.
set -u
source "$2/tests/e2e/expect.bash"

s=(--scenario "$root/tests/python/standard.json")  # the binding's standard-set scenario
expect 0 'id_code: KQWZM'                         -- "${s[@]}" gb init
expect 1 'Init_Device failed \(status 2\): no device' -- "${s[@]}" gb init KQWZX
expect 0 'width: 1280'                            -- "${s[@]}" gb resolution
expect 0 'battery: 64'                            -- "${s[@]}" gb battery
expect 1 'status 4\): login failed'               -- "${s[@]}" gb battery --password nope
expect 0 'status: clock set'                      -- "${s[@]}" gb sync-time
expect 0 'status: U-disk mode entered'            -- "${s[@]}" gb msdc
expect 0 '"battery":77'                           -- "${s[@]}" --json gbcmd battery 5550
expect 1 'status -1\): no matching recorder'      -- "${s[@]}" gbcmd battery 7001234
expect 1 'status -2\): login refused'             -- "${s[@]}" gbcmd battery M555 --password nope
expect 2 'needs --yes'                            -- "${s[@]}" gbcmd poweroff M555
expect 0 'status: done'                           -- "${s[@]}" gbcmd poweroff M555 --yes

finish "vxctl gb"
