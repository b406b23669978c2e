#!/bin/sh
# Makes the wine prefix $WINEPREFIX ready for the window, once: created, and with the fonts
# Windows draws Japanese interfaces in replaced by Noto Sans CJK JP (fonts-noto-cjk). Without
# that, wine draws the menus, dialogs and message boxes in fonts that have no Japanese glyphs.
# Wine's own Marlett, which draws the buttons of a window's title bar, goes where the prefix
# finds it: Debian's wine does not find it in its own folder.
#   WINEPREFIX=FOLDER window-prefix.sh WINE
set -eu
wine=$1
[ -f "$WINEPREFIX/.habuki-window-ready" ] && exit 0
mkdir -p "$WINEPREFIX"
"$wine" wineboot -i >/dev/null 2>&1
# The first start goes on in the background for a while; a window shown meanwhile stays blank.
timeout 60 wineserver -w || true
fonts=$WINEPREFIX/habuki-fonts.reg
cat >"$fonts" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"MS UI Gothic"="Noto Sans CJK JP"
"MS Shell Dlg"="Noto Sans CJK JP"
"MS Shell Dlg 2"="Noto Sans CJK JP"
"Tahoma"="Noto Sans CJK JP"
REG
"$wine" regedit /S "$fonts"
marlett=/usr/share/wine/fonts/marlett.ttf
[ ! -f "$marlett" ] || cp "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/"
touch "$WINEPREFIX/.habuki-window-ready"
