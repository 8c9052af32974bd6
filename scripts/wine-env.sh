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
# Wine's own fonts (Marlett for caption buttons, Tahoma for texts), so windows look as they would
# on Windows: Debian's fonts-wine puts them where this Wine does not look, so the prefix's Fonts
# folder gets a copy of each one it lacks.
for wine_fonts in /usr/share/wine/fonts /usr/lib/wine/fonts /usr/lib/*/wine/fonts; do
  [ -d "$wine_fonts" ] || continue
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  for font in "$wine_fonts"/*; do
    [ -e "$WINEPREFIX/drive_c/windows/Fonts/${font##*/}" ] || cp "$font" "$WINEPREFIX/drive_c/windows/Fonts/"
  done
  break
done
