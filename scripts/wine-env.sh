# Sourced by the build scripts (with BUILD_DIR set): a private Wine prefix inside the build folder.
export WINEPREFIX="$BUILD_DIR/wineprefix"
if [ "$(cat "$BUILD_DIR/.bkf-arch" 2>/dev/null)" = x86_64 ]; then
  export WINEARCH=win64
else
  export WINEARCH=win32
fi
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mshtml=;mscoree="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i </dev/null >/dev/null 2>&1 || true
  wineserver -w
fi
