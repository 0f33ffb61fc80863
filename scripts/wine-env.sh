# Sourced by the scripts: the Wine prefix of the Windows build, and a way to
# stop its server so nothing keeps the caller's output open.
WINE_PREFIX_DIR="$ROOT/build/windows/wineprefix"
stop_wine() {
    if [ -d "$WINE_PREFIX_DIR" ]; then
        WINEPREFIX="$WINE_PREFIX_DIR" "$(command -v wineserver || echo /usr/lib/wine/wineserver64)" -k >/dev/null 2>&1 || true
    fi
}
