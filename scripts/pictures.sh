#!/usr/bin/env bash
# The pictures in docs/images/, as a user sees them: the runner's window for a
# compile error (mode 1, also at 144 DPI) and mode 2's report, in Japanese, drawn by Wine into
# a real X server (Xvfb) and captured from it. Not part of the tests.
#   scripts/pictures.sh
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
source scripts/wine-env.sh

scripts/setup.sh
# The X server, a dumper, the Japanese font Wine falls back on, and Wine's
# own fonts (the caption buttons' symbols).
missing=()
for tool in Xvfb:xvfb xwd:x11-apps; do
    command -v "${tool%%:*}" >/dev/null || missing+=("${tool##*:}")
done
fc-list | grep -q IPAGothic || missing+=(fonts-ipafont-gothic)
[ -d /usr/share/wine/fonts ] || missing+=(fonts-wine)
if [ ${#missing[@]} -gt 0 ]; then
    sudo=$([ "$(id -u)" = 0 ] || echo sudo)
    $sudo apt-get install -y --no-install-recommends "${missing[@]}" >/dev/null
fi
scripts/build-hsp.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target Tollik tollik_stand_in_editor tollik_real_runner >/dev/null

# An editor of its own: the stand-in Pellam.exe, the real plug-in and runner.
work=build/pictures
rm -rf "$work"
mkdir -p "$work/Pellam/Plugins/Tollik" "$work/work"
cp build/windows/bin/tollik_stand_in_editor.exe "$work/Pellam/Pellam.exe"
cp build/windows/bin/Tollik.dll build/windows/bin/runner32/Tollik.exe "$work/Pellam/Plugins/"
touch "$work/Pellam/PellamPortable.ini"
windows_path() { echo "Z:$(cd "$(dirname "$1")" && pwd)/$(basename "$1")" | tr / '\\'; }
printf '[Tollik]\r\nHSPDirName=%s\\\r\nMode=1\r\nDebugWindow=0\r\n' "$(windows_path build/openhsp)" \
    > "$work/Pellam/Plugins/Tollik/Tollik.ini"
printf 'mes "こんにちは"\r\nx = 1\r\nmes x+*\r\n' > "$work/work/broken.txt"
printf 'mes "こんにちは、HSP"\r\nrepeat 3\r\n\tmes cnt\r\nloop\r\n' > "$work/work/hello.txt"

# A prefix made afresh, so that it sees the fonts just installed.
export WINEPREFIX="$ROOT/build/windows/wineprefix-pictures" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
loader=/usr/lib/wine/wine64
server=$(command -v wineserver || echo /usr/lib/wine/wineserver64)
display=:77
Xvfb "$display" -screen 0 1280x800x24 >/dev/null 2>&1 &
xvfb=$!
trap 'WINEPREFIX="$WINEPREFIX" "$server" -k >/dev/null 2>&1 || true; kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$display
sleep 1
# One Wine desktop the size of the runner's window, which opens centred in it (its work area).
"$loader" wineboot >/dev/null 2>&1
"$loader" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
"$loader" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 720x460 /f >/dev/null 2>&1
"$server" -k >/dev/null 2>&1 || true
"$server" -w >/dev/null 2>&1 || true

# Invokes the command on TEXT (saved as C:\users\Public\game.hsp) with the
# editor's further OPTIONS, captures the runner's window as docs/images/NAME.png
# and closes everything again.
shoot() {
    local name=$1 text
    text=$(windows_path "$2")
    shift 2
    local size=${SIZE:-720x460}
    (cd "$work/work" && "$loader" "$ROOT/$work/Pellam/Pellam.exe" --quiet --text "$text" \
        --path 'C:\users\Public\game.hsp' "$@" >/dev/null 2>&1 &)
    sleep 8
    xwd -root -silent > "$work/$name.xwd"
    python3 tools/pictures/xwd_to_png.py "$work/$name.xwd" "docs/images/$name.png" "$size"
    "$server" -k >/dev/null 2>&1 || true
    "$server" -w >/dev/null 2>&1 || true
    echo "docs/images/$name.png"
}
mkdir -p docs/images
shoot compile-error "$work/work/broken.txt"
shoot compile-only-report "$work/work/hello.txt" --ctrl
# At 150 % (144 DPI): the window, its font and its margins scale with it.
"$loader" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
"$loader" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1080x690 /f >/dev/null 2>&1
"$server" -k >/dev/null 2>&1 || true
"$server" -w >/dev/null 2>&1 || true
SIZE=1080x690 shoot compile-error-144dpi "$work/work/broken.txt"
