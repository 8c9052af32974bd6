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
# folder gets a copy of each one it lacks. Call it again after pointing WINEPREFIX elsewhere.
bkf_wine_fonts() {
  local wine_fonts font fonts_dir="$WINEPREFIX/drive_c/windows/Fonts"
  for wine_fonts in /usr/share/wine/fonts /usr/lib/wine/fonts /usr/lib/*/wine/fonts; do
    [ -d "$wine_fonts" ] || continue
    mkdir -p "$fonts_dir"
    for font in "$wine_fonts"/*; do
      [ -e "$fonts_dir/${font##*/}" ] || cp "$font" "$fonts_dir/"
    done
    return 0
  done
}
bkf_wine_fonts
