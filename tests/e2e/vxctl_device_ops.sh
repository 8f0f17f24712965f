#!/usr/bin/env bash
# vxctl's device verbs against one virtual recorder (device_ops.json): text
# and --json output, exit codes, and what reached the recorder. Each process
# starts from the scenario, so a change and its check run in one batch.
set -u
source "$2/tests/e2e/expect.bash"
s=(--scenario "$root/tests/e2e/device_ops.json")
run_vxctl() { "${runner[@]}" "$vxctl" "${s[@]}" "$@"; }  # every case on the scenario
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

# batch CODE PATTERN LINE...: the lines run in one process.
batch() {
  local want="$1" pattern="$2"; shift 2
  local out code
  out="$(printf '%s\n' "$@" | run_vxctl batch --keep-going 2>&1 | tr -d '\r')"; code=$?
  [ "$code" -eq "$want" ] && grep -qE -- "$pattern" <<<"$out"
  verdict $? "batch [$*] -> exit $code (want $want), no /$pattern/" "$out"
}

# json PYTHON-CONDITION -- ARGS...: exit 0 and stdout is one JSON object d
# for which the condition holds.
json() {
  local cond="$1"; shift 2
  local out code
  out="$(run_vxctl --json "$@" 2>"$tmp/err" | tr -d '\r')"; code=$?
  [ "$code" -eq 0 ] && python3 -c "import json,sys; d=json.loads(sys.stdin.read()); sys.exit(0 if ($cond) else 1)" <<<"$out"
  verdict $? "vxctl --json $* -> exit $code, not ($cond)" "$out$(cat "$tmp/err")"
}

# show: every section; a refused item is unavailable and the rest still read.
expect 0 '^  devname: Front desk unit$'                       -- show
expect 0 '^battery: 64$'                                      -- show
expect 0 'video-sub: unavailable \(status 0: Error: encoder busy\)' -- show
expect 0 '^  gps: enable=1 ServIP=203.0.113.20 ServPort=6608'  -- show
expect 0 '^  selected: Station-HQ$'                           -- show
json 'd["identity"]["uid"] == "00C0FFEE" and d["battery"] == 64 and d["encoders"]["video-main"]["width"] == 1920
      and d["encoders"]["video-sub"]["error"]["status"] == 0 and len(d["services"]) == 8
      and d["wifi"] == {"access_points": ["Station-HQ"], "selected": "Station-HQ"}' -- show

# get / set from the table.
expect 0 '^devname: Front desk unit$'                          -- get devname
expect 0 '^servaddr: address=0.0.0.0 port=0$'                  -- get servaddr
json 'd == {"heartbeat": 60}'                                   -- get heartbeat
json 'd["video-main"] == {"width": 1920, "height": 1080, "third": 30, "fourth": 4096}' -- get video-main
expect 1 'get video-sub failed \(status 0\): Error: encoder busy$' -- get video-sub
expect 2 "no key 'nosuch' to get; keys: devname"                -- get nosuch
expect 2 "no key 'uid' to set"                                  -- set uid 1
expect 2 "'high' is not an integer"                             -- set loglevel high
expect 2 'usage: vxctl set vpn first second third'              -- set vpn a b
expect 2 'required'                                             -- get
batch 0 '^vpn: first=a second="" third=c$' 'set vpn a "" c' 'get vpn'
batch 0 '^\+SERVADDR:198.51.100.9,7000' 'set servaddr 198.51.100.9 7000' 'cmd VX+SERVADDR?'

# The help lists every readable key (the output of one per kind is checked above).
keys="$("${runner[@]}" "$vxctl" get --help | sed -n 's/^  \([a-z0-9-]*\) .*get: .*/\1/p')"
[ "$(wc -w <<<"$keys")" -eq 21 ]
verdict $? "get --help lists 21 readable keys" "$keys"
json "list(d) == ['zfyinfo'] and d['zfyinfo']['serial'] != ''" -- get zfyinfo

# One settable key of each kind (text, number, several texts, clock, record):
# set, then the next get shows the new value (the wire lines are the C row
# table's).
while IFS='|' read -r set_line pattern; do
  key="$(cut -d' ' -f2 <<<"$set_line")"
  batch 0 "$pattern" "$set_line" "get $key"
done <<'ROWS'
set apn cmnet|^apn: cmnet$
set heartbeat 30|^heartbeat: 30$
set user officer7 pw-one pw-two|^user: officer7$
set time 8 CST|^time: utc=[0-9]{14} second=0 third=8 text=CST$
set zfyinfo S12345 000007 'Li Wei' 320100000001 'Traffic unit'|^zfyinfo: serial=S12345 userNo=000007 userName="Li Wei" unitNo=320100000001 unitName="Traffic unit"$
ROWS
expect 0 '^done: set datapthread$'   -- set datapthread 3
expect 2 "no key 'datapthread' to get" -- get datapthread

# Batch lines are split like a shell's words; a failing line stops the rest.
batch 0 '^devname: It.s "here"$'     "set devname 'It'\''s'" 'set devname "It'"'"'s \"here\""' 'get devname'
batch 0 '^apn: a b$'                 '# a comment' '' 'set apn a\ b' 'get apn'
batch 2 'unclosed quote'             'set devname "Unit'
out="$(printf '%s\n' 'get nosuch' 'set devname Late' 'cmd VX+DEVNAME?' | run_vxctl batch 2>&1)"
[ $? -eq 2 ] && ! grep -q 'Late' <<<"$out"
verdict $? "batch without --keep-going stops at the first failing line" "$out"

# time sync: the recorder's clock read back equals the host's UTC second.
json 'abs(int(d["device_utc"]) - int(d["host_utc"])) <= 1 and d["host_utc"].startswith(__import__("time").strftime("%Y%m%d", __import__("time").gmtime()))' -- time sync

# Services: fields not given keep their values, ReportTime too.
expect 0 '^gps: enable=1 ServIP=203.0.113.20 ServPort=6608 DevNo="" Passwd="" ReportTime=15$' -- service get gps
batch 0 '^\+GPSSERVCFG:bEnable:0,ServIP:203.0.113.20,ServPort:6608,DevNo:77,Passwd:,ReportTime:15,' \
  'service set gps --enable 0 --DevNo 77' 'cmd VX+GPSSERVCFG?'
batch 0 'ServID:34020000,Name:34020000,'  'service set gb28181 --enable 1 --ServID 34020000' 'cmd VX+GB28181CFG?'
json 'd["lbs"]["ReportTime"] == 60 and d["lbs"]["enable"] == 0'  -- service get lbs
expect 2 'service diagnostic has no field ReportTime'           -- service set diagnostic --enable 1 --ReportTime 5
expect 2 'service talkback has no field Passwd'                 -- service set talkback --enable 1 --Passwd x
expect 2 "no service 'radio'"                                   -- service get radio
expect 2 'enable'                                               -- service set gps --ServIP x

# Access points and the library's own outcomes.
json 'd == {"access_points": ["Station-HQ"], "selected": "Station-HQ"}' -- ap list
batch 0 'access_points: Station-HQ, Yard' 'ap add Yard yard-pw' 'ap select Yard' 'ap list'
batch 0 '^selected: Yard$'              'ap add Yard yard-pw' 'ap select Yard' 'ap list'
expect 1 'ap del Nope failed \(status -110\): the recorder did not confirm the deletion'   -- ap del Nope
expect 1 'ap select Nope failed \(status -111\): the recorder did not confirm the selection' -- ap select Nope
batch 0 '^selected: \(none\)$'          'ap del --all' 'ap list'
batch 0 '^access_points: \(none\)$'     'ap del Station-HQ' 'ap list'
expect 2 'usage: vxctl ap del \(SSID \| --all\)'               -- ap del
expect 2 'usage: vxctl ap del \(SSID \| --all\)'               -- ap del Yard --all

# Configuration text, INI and JSON.
expect 0 '^config: Video.FrameRate=30 System.Language=en$'     -- config get Video.FrameRate System.Language
batch 0 '^config: Video.FrameRate=25$'  'config set Video.FrameRate=25' 'config get Video.FrameRate'
json 'd == {"config": {"Video": {"FrameRate": "30"}}}'          -- config get --as-json Video.FrameRate
printf '{"Video": {"FrameRate": 24}}' >"$tmp/cfg.json"
batch 0 '"FrameRate":"24"'              "config set --file $tmp/cfg.json" 'config get --json --as-json Video.FrameRate'
expect 1 'config set failed \(status 0\): Error: para is error' -- config set Video
expect 2 'is not Section.Key'                                   -- config get FrameRate
expect 2 'give the text or --file'                              -- config set

# OSD, data packs, the caller's own lines.
batch 0 '^osd2: value=1 text="Gate A"$' 'osd set 2 1 "Gate A"' 'osd get 2'
expect 2 'INDEX must be an integer'                             -- osd get two
head -c 160000 /dev/zero | tr '\0' 'v' >"$tmp/pack.bin"
json 'd == {"packs": 3, "bytes": 160000, "first": 5}'          -- datapack --file "$tmp/pack.bin" --first 5
expect 0 '^packs: 1$'                                           -- datapack hello
expect 2 'nothing to send'                                      -- datapack --file /dev/null
expect 0 '^\+DEVNAME:Front desk unit$'                          -- user-cmd VX+DEVNAME?
expect 1 'user-cmd failed \(status 0\): cmd error'              -- user-cmd devname

# Actions that lose data or the connection need --yes; refused, they send nothing.
expect 2 'poweroff needs --yes'                                 -- poweroff
expect 2 'format needs --yes'                                   -- format --fs exfat
expect 2 'fat32,exfat'                                          -- format --fs ntfs --yes
batch 2 'first recorder on the bus: model VX007' 'poweroff' 'probe'
batch 1 'no supported recorder attached'         'reboot --yes' 'probe'
batch 0 '^devname: Front desk unit$'   'set devname "Unit 12"' 'reset --yes' 'get devname'
expect 0 '^done: format exfat$'                                 -- format --fs exfat --yes
expect 0 '^done: disk-mode$'                                    -- disk-mode

# A refused login stops show at once with its status.
expect 1 'show failed \(status -102\): No Login Device'          -- show --password wrong
expect 1 '"status": ?-102'                                      -- --json get devname --password wrong

finish "vxctl device ops"
