# Sourced by the scripts: the Wine prefix of the Windows build, and a way to
# stop its server so nothing keeps the caller's output open.
WINE_PREFIX_DIR="$ROOT/build/windows/wineprefix"
# The runner's window tests use a second prefix, with the display-less graphics driver.
WINE_SCREEN_PREFIX_DIR="$ROOT/build/windows/wineprefix-screen"
stop_wine() {
    local prefix
    for prefix in "$WINE_PREFIX_DIR" "$WINE_SCREEN_PREFIX_DIR"; do
        [ -d "$prefix" ] || continue
        WINEPREFIX="$prefix" "$(command -v wineserver || echo /usr/lib/wine/wineserver64)" -k >/dev/null 2>&1 || true
    done
}
