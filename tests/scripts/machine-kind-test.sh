#!/usr/bin/env bash
# How scripts/machine.sh names a machine from the probe's status and the
# kernel's binfmt_misc entries, on made-up entry folders.
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
[ $failed -eq 0 ] && echo "all machine kinds named as expected"
exit $failed
