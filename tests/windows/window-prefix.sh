#!/bin/sh
# Makes the wine prefix $WINEPREFIX ready for the window, once: created, and with the fonts
# Windows draws Japanese interfaces in replaced by Noto Sans CJK JP (fonts-noto-cjk). Without
# that, wine draws the menus, dialogs and message boxes in fonts that have no Japanese glyphs.
#   WINEPREFIX=FOLDER window-prefix.sh WINE
set -eu
wine=$1
[ -f "$WINEPREFIX/.habuki-window-ready" ] && exit 0
mkdir -p "$WINEPREFIX"
"$wine" wineboot -i >/dev/null 2>&1
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
touch "$WINEPREFIX/.habuki-window-ready"
