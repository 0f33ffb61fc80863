# Sourced by scripts/setup.sh: what this machine does with 32-bit x86
# programs. The runner and the HSP compiler are 32-bit, and not every x86-64
# machine runs such code: some run it natively, some only under qemu-i386
# registered with the kernel's binfmt_misc (about a minute per process
# start), some not at all. A probe program tells which; the answer, with one
# 32-bit start timed under Wine, goes to build/machine.env for the tests:
#   TOLLIK_X86_32=native|emulated|none
#   TOLLIK_X86_32_START_MS=milliseconds (0 when none)
#   TOLLIK_X86_32_TIMED=no when the start could not be timed (a guess)
#   TOLLIK_X86_32_WHY=the reason, when none
# To try the other kinds on a machine that runs 32-bit code natively:
# TOLLIK_X86_32_PROBE=no-native fails the probe unless an emulator is
# registered, as on a kernel without i386 support (emulation is enabled);
# TOLLIK_X86_32_PROBE=fail fails it always (emulation is then not tried).

MACHINE_FILE="$ROOT/build/machine.env"
BINFMT_DIR=/proc/sys/fs/binfmt_misc
QEMU_I386=/usr/bin/qemu-i386-static
# The entry's name, type, magic and mask; the interpreter and flags follow.
QEMU_I386_MATCH=':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'

# An enabled binfmt_misc entry that takes i386 ELF programs (an emulator).
is_i386_handler() {  # is_i386_handler ENTRY-FILE
    local state magic offset
    state=$(head -n 1 "$1" 2>/dev/null) || return 1
    magic=$(sed -n 's/^magic //p' "$1" 2>/dev/null)
    offset=$(sed -n 's/^offset //p' "$1" 2>/dev/null)
    # e_ident: ELF, 32-bit, little-endian; e_machine (bytes 18-19): 3, i386.
    [ "$state" = enabled ] && [ "${offset:-0}" = 0 ] &&
        [ "${magic:0:10}" = 7f454c4601 ] && [ "${magic:36:4}" = 0300 ]
}

# x86_32_kind PROBE-STATUS BINFMT-DIR: native, emulated or none.
x86_32_kind() {
    local entry
    if [ "$1" -ne 0 ]; then echo none; return; fi
    if [ "$(head -n 1 "$2/status" 2>/dev/null)" = enabled ]; then
        for entry in "$2"/*; do
            case ${entry##*/} in status | register) continue ;; esac
            if is_i386_handler "$entry"; then echo emulated; return; fi
        done
    fi
    echo native
}

# Runs a 96-byte static i386 Linux program that exits with 42.
probe_x86_32() {
    local probe="$ROOT/build/x86-32-probe"
    case ${TOLLIK_X86_32_PROBE:-} in
    fail) return 1 ;;
    no-native) [ "$(x86_32_kind 0 "$BINFMT_DIR")" = emulated ] || return 1 ;;
    esac
    mkdir -p "$ROOT/build"
    # ELF header, one loadable segment, then: mov eax,1; mov ebx,42; int 0x80.
    printf '\177ELF\1\1\1\0\0\0\0\0\0\0\0\0\2\0\3\0\1\0\0\0\124\200\4\10\64\0\0\0\0\0\0\0\0\0\0\0\64\0\40\0\1\0\0\0\0\0\0\0\1\0\0\0\0\0\0\0\0\200\4\10\0\200\4\10\140\0\0\0\140\0\0\0\5\0\0\0\0\20\0\0\270\1\0\0\0\273\52\0\0\0\315\200' >"$probe"
    chmod +x "$probe"
    local status=0
    "$probe" >/dev/null 2>&1 || status=$?
    [ "$status" -eq 42 ]
}

# Mounts binfmt_misc where root can and it is not: the kernel's emulators
# are then seen, and one can be registered.
mount_binfmt_misc() {
    [ -e "$BINFMT_DIR/register" ] && return 0
    [ "$(id -u)" -eq 0 ] && [ -d "$BINFMT_DIR" ] && mount -t binfmt_misc binfmt_misc "$BINFMT_DIR" 2>/dev/null
}

# Installs qemu-user-static and registers it for i386 programs (root only);
# on failure EMULATION_WHY says what stood in the way. What it changed in
# binfmt_misc goes to EMULATION_UNDO ("VALUE FILE", latest first), so that
# undo_x86_32_emulation can put binfmt_misc back as it was found.
enable_x86_32_emulation() {
    local flags=F
    EMULATION_UNDO=()
    if [ "$(id -u)" -ne 0 ]; then EMULATION_WHY="enabling emulation needs root"; return 1; fi
    if ! mount_binfmt_misc; then EMULATION_WHY="binfmt_misc cannot be mounted here"; return 1; fi
    if [ ! -x "$QEMU_I386" ]; then
        echo "Installing qemu-user-static to run 32-bit x86 programs under emulation"
        export DEBIAN_FRONTEND=noninteractive
        if ! { apt-get update -q && apt-get install -y -q --no-install-recommends qemu-user-static; } >/dev/null; then
            EMULATION_WHY="qemu-user-static did not install"
            return 1
        fi
    fi
    # Switched on only when off: it is the whole machine's switch, for every format.
    if [ "$(head -n 1 "$BINFMT_DIR/status" 2>/dev/null)" != enabled ] &&
        echo 1 >"$BINFMT_DIR/status" 2>/dev/null; then
        EMULATION_UNDO=("0 status")
    fi
    if [ -e "$BINFMT_DIR/qemu-i386" ]; then
        if [ "$(head -n 1 "$BINFMT_DIR/qemu-i386" 2>/dev/null)" != enabled ] &&
            echo 1 >"$BINFMT_DIR/qemu-i386" 2>/dev/null; then
            EMULATION_UNDO=("0 qemu-i386" "${EMULATION_UNDO[@]}")
        fi
    else
        # P keeps the program's own argv[0]; qemu learns of it only from Linux 5.12 on.
        [ "$(printf '%s\n' "$(uname -r)" 5.12 | sort -V | head -n 1)" != 5.12 ] || flags=FP
        if ! printf '%s' "$QEMU_I386_MATCH$QEMU_I386:$flags" >"$BINFMT_DIR/register" 2>/dev/null; then
            EMULATION_WHY="the kernel refused to register qemu-i386 with binfmt_misc"
            undo_x86_32_emulation
            return 1
        fi
        EMULATION_UNDO=("-1 qemu-i386" "${EMULATION_UNDO[@]}")
    fi
}

# Undoes what enable_x86_32_emulation changed: -1 removes the entry it
# registered, 0 switches off what it switched on.
undo_x86_32_emulation() {
    local step
    for step in "${EMULATION_UNDO[@]}"; do
        echo "${step%% *}" >"$BINFMT_DIR/${step#* }" 2>/dev/null ||
            echo "warning: could not write ${step%% *} to $BINFMT_DIR/${step#* } to put binfmt_misc back" >&2
    done
    EMULATION_UNDO=()
}

# Enables emulation and probes again. When even then no i386 program runs
# (a noexec build folder, a security policy), binfmt_misc is put back as it
# was: an emulator that runs nothing should not stay registered.
probe_under_emulation() {
    enable_x86_32_emulation || return 1
    probe_x86_32 && return 0
    undo_x86_32_emulation
    EMULATION_WHY="even under qemu-i386 registered with binfmt_misc no i386 program ran from build/ (a noexec mount or a security policy?), so binfmt_misc was put back as it was"
    return 1
}

# Milliseconds for one 32-bit program start under Wine, warm, in PREFIX.
time_x86_32_start() {
    local prefix=$1 started
    cmake/wine-run.sh "$prefix" 'C:\windows\syswow64\cmd.exe' /c exit >/dev/null 2>&1 </dev/null || true
    started=$(date +%s%N)
    cmake/wine-run.sh "$prefix" 'C:\windows\syswow64\cmd.exe' /c exit >/dev/null 2>&1 </dev/null || return 1
    echo $(( ($(date +%s%N) - started) / 1000000 ))
}

# Writes build/machine.env (KIND START-MS TIMED WHY), whole at once: the
# build may read it while a start is timed in the background.
write_the_machine() {
    mkdir -p "$(dirname "$MACHINE_FILE")"
    printf "TOLLIK_X86_32=%s\nTOLLIK_X86_32_START_MS=%s\nTOLLIK_X86_32_TIMED=%s\nTOLLIK_X86_32_WHY='%s'\n" \
        "$1" "$2" "$3" "$4" >"$MACHINE_FILE.new"
    mv -f "$MACHINE_FILE.new" "$MACHINE_FILE"
}

# Times one 32-bit start in PREFIX (made first when new) for the kind that
# build/machine.env names, and writes the time there.
time_the_machine() {  # time_the_machine PREFIX
    local kind start timed=yes
    kind=$(sed -n 's/^TOLLIK_X86_32=//p' "$MACHINE_FILE")
    [ "$kind" = native ] || echo "Timing one 32-bit program start under Wine (a new prefix takes minutes under emulation)"
    start=$(time_x86_32_start "$1") || start=0
    stop_wine
    # An emulator this namespace cannot see (binfmt_misc not mounted) shows in the time.
    if [ "$kind" = native ] && [ "$start" -gt 10000 ]; then kind=emulated; fi
    if [ "$start" -le 0 ]; then
        echo "warning: a 32-bit program did not start under Wine; the tests that need one will fail" >&2
        [ "$kind" = native ] || start=60000  # waits as for emulation
        timed=no  # and timed again next time
    fi
    write_the_machine "$kind" "$start" "$timed" ""
    say_the_machine "$kind" "$start" ""
}

say_the_machine() {  # say_the_machine KIND START-MS WHY
    case $1 in
    native) echo "32-bit x86 programs run natively here (a 32-bit start under Wine: $2 ms)." ;;
    emulated) echo "32-bit x86 programs run here only under emulation (qemu-i386 through binfmt_misc): a 32-bit start under Wine takes $2 ms, so the tests that start the runner wait longer and some are shortened." ;;
    none) echo "32-bit x86 programs cannot run here ($3): the runner and the HSP compiler cannot run, and the tests that need them are skipped." ;;
    esac
}

# Names the machine's kind and, unless it is known already, times one 32-bit
# start in the build's prefix, making it. With TOLLIK_TIME_LATER_IN=PREFIX
# the caller times it there itself (time_the_machine, in the background while
# the programs build): the kind is written at once, the start marked untimed.
know_the_machine() {
    local status=0 kind why= start=0 before= prefix EMULATION_WHY= EMULATION_UNDO=()
    local timing_prefix=${TOLLIK_TIME_LATER_IN:-$WINE_PREFIX_DIR}
    mount_binfmt_misc || true
    probe_x86_32 || status=1
    kind=$(x86_32_kind "$status" "$BINFMT_DIR")
    if [ "$kind" = none ] && [ "${TOLLIK_X86_32_PROBE:-}" != fail ]; then
        if probe_under_emulation; then
            kind=$(x86_32_kind 0 "$BINFMT_DIR")
        else
            why="the kernel runs no i386 programs, and $EMULATION_WHY"
        fi
    fi
    [ "$kind" != none ] || why=${why:-TOLLIK_X86_32_PROBE=fail made the probe fail}
    [ ! -f "$MACHINE_FILE" ] || before=$(cat "$MACHINE_FILE")
    if [ "$kind" = none ]; then
        write_the_machine none 0 yes "$why"
        say_the_machine none 0 "$why"
        return
    fi
    # A prefix made while 32-bit code could not run lacks its 32-bit half for good.
    for prefix in "$WINE_PREFIX_DIR" "$WINE_SCREEN_PREFIX_DIR"; do
        if [ -d "$prefix/drive_c/windows" ] && [ -z "$(ls -A "$prefix/drive_c/windows/syswow64" 2>/dev/null)" ]; then
            echo "Making the Wine prefix ${prefix#"$ROOT"/} again: it was made while 32-bit programs could not run"
            WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
            rm -rf "$prefix"
            before=
        fi
    done
    start=$(sed -n 's/^TOLLIK_X86_32_START_MS=//p' <<<"$before")
    # Timed again also when the prefix is missing: making it is minutes of
    # emulated starts, which no test's timeout should have to hold.
    if grep -qx "TOLLIK_X86_32=$kind" <<<"$before" && [ "${start:-0}" -gt 0 ] &&
        ! grep -qx "TOLLIK_X86_32_TIMED=no" <<<"$before" && [ -d "$timing_prefix/drive_c" ]; then
        write_the_machine "$kind" "$start" yes ""
        say_the_machine "$kind" "$start" ""
    elif [ -n "${TOLLIK_TIME_LATER_IN:-}" ]; then
        [ "${start:-0}" -gt 0 ] || { start=0; [ "$kind" = native ] || start=60000; }
        write_the_machine "$kind" "$start" no ""
        echo "32-bit x86 programs run here $([ "$kind" = native ] && echo natively || echo "only under emulation (qemu-i386 through binfmt_misc)"); one start under Wine is timed in ${TOLLIK_TIME_LATER_IN#"$ROOT"/}, in the background."
    else
        write_the_machine "$kind" "${start:-0}" no ""
        time_the_machine "$WINE_PREFIX_DIR"
    fi
}
