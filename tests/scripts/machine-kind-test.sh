#!/usr/bin/env bash
# How scripts/machine.sh names a machine from the probe's status and the
# kernel's binfmt_misc entries, and what it leaves in binfmt_misc when the
# probe still fails under emulation, on made-up entry folders.
set -u
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
source "$ROOT/scripts/machine.sh"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
qemu='interpreter /usr/bin/qemu-i386-static
flags: POCF
offset 0
magic 7f454c4601010100000000000000000002000300
mask fffffffffffefe00fffffffffffffffffeffffff'
arm=${qemu//0300/2800}
failed=0
# case NAME PROBE-STATUS GLOBAL-STATUS ENTRY-TEXT EXPECTED
case_() {
    rm -f "$dir"/*
    echo "$3" >"$dir/status"
    [ -z "$4" ] || printf '%s\n' "$4" >"$dir/handler"
    local got
    got=$(x86_32_kind "$2" "$dir")
    if [ "$got" != "$5" ]; then echo "FAIL $1: got $got, expected $5"; failed=1; fi
}
case_ "probe failed"                 1 enabled  "enabled
$qemu" none
case_ "ran, no handlers"             0 enabled  "" native
case_ "ran through qemu-i386"        0 enabled  "enabled
$qemu" emulated
case_ "qemu-i386 entry disabled"     0 enabled  "disabled
$qemu" native
case_ "a handler for ARM programs"   0 enabled  "enabled
$arm" native
case_ "binfmt_misc switched off"     0 disabled "enabled
$qemu" native
case_ "binfmt_misc not mounted"      0 ""       "" native

# Enabling emulation on a made-up binfmt_misc (writes land in its files), as
# root with qemu-i386 installed, then the probe once more: the status file,
# the qemu-i386 entry ("-" when none) and the register file after it.
id() { echo 0; }
QEMU_I386=/bin/sh
BINFMT_DIR=$dir
probe_x86_32() { return "$probe_after"; }
# undo NAME STATUS ENTRY PROBE-STATUS EXPECTED
undo() {
    rm -f "$dir"/*
    echo "$2" >"$dir/status"
    : >"$dir/register"
    [ "$3" = - ] || echo "$3" >"$dir/qemu-i386"
    probe_after=$4
    local result=ran got
    probe_under_emulation >/dev/null || result=none
    got="$result $(head -n 1 "$dir/status") $(head -n 1 "$dir/qemu-i386" 2>/dev/null || echo -) $(head -c 12 "$dir/register")"
    if [ "$got" != "$5" ]; then echo "FAIL $1: got $got, expected $5"; failed=1; fi
}
undo "registered, runs"                enabled  -        0 "ran enabled - :qemu-i386:M"
undo "registered, still fails"         enabled  -        1 "none enabled -1 :qemu-i386:M"
undo "switched on, still fails"        disabled -        1 "none 0 -1 :qemu-i386:M"
undo "switched on, runs"               disabled -        0 "ran 1 - :qemu-i386:M"
undo "its entry enabled, still fails"  enabled  disabled 1 "none enabled 0 "
[ $failed -eq 0 ] && echo "all machine kinds named and emulation undone as expected"
exit $failed
