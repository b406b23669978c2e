#!/usr/bin/env bash
# The installer for Windows users, run silently under wine in a wine prefix of its own, made in a
# temporary folder and removed at the end: it puts into Program Files\habuki the files of the zip
# and an uninstaller, whose habuki.exe tells the project's version and whose habuki-gui.exe
# carries it in its version resource; the window's Start menu
# entry and no other; the uninstall entry that Add/Remove Programs lists; the sample comment
# files into %APPDATA%\habuki beside a user's own, which stays as it was. Installed again over
# itself, it keeps a comment file edited in its folder. While ハブキ丸 is open, neither it nor
# the uninstaller changes anything, and says so with a status that is not 0; an uninstaller that
# cannot remove a file (another program holds it open) names it and keeps habuki registered. Its
# silent uninstaller then takes away all but %APPDATA%\habuki and the edited comment file.
#   check-windows-installer.sh SETUP ZIP VERSION WINE HELPER
# HELPER is installer_helper.exe: it waits for a window, or holds a file open.
set -euo pipefail
. "$(dirname "$0")/../../scripts/wine-start.sh"
setup=$(realpath "$1") zip=$(realpath "$2") version=$3 wine=$4 helper=$(realpath "$5")
export LC_ALL=C.UTF-8 WINEDEBUG=-all
# Without .NET and a browser engine, which wine would offer to download, and without the menu
# entries and file types that wine copies from the prefix into this machine's desktop.
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
work=$(mktemp -d)
export WINEPREFIX=$work/prefix
# The prefix's own wine server ends with it; the server of any other prefix runs on.
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
failures=0
fail() {
  echo "$(basename "$setup"): $*" >&2
  failures=$((failures + 1))
}
# Wine's own programs print with CR LF.
windows() { wine_run "$wine" "$@" | tr -d '\r'; }
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\habuki'
registry_value() { windows reg query "$uninstall_key" /v "$1" | sed -n "s/^ *$1 *REG_[A-Z_]* *//p"; }

wineboot -i >/dev/null 2>&1
# Windows are made without a screen: the window runs as it would on one. Wine's desktop takes the
# driver as it starts, so the server ends here and starts anew with it.
windows reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null
wineserver -k
# Where this prefix keeps programs, everyone's Start menu and a user's roaming files.
mapfile -t folders < <(windows cmd /c 'echo %ProgramFiles%& echo %ProgramData%& echo %APPDATA%')
program_files=$(winepath -u "${folders[0]}")
start_menus=("$(winepath -u "${folders[1]}")/Microsoft/Windows/Start Menu"
  "$(winepath -u "${folders[2]}")/Microsoft/Windows/Start Menu")
user_comments=$(winepath -u "${folders[2]}")/habuki
installed=$program_files/habuki
installed_windows="${folders[0]}\\habuki"
start_menu_entries() { find "${start_menus[@]}" -type f 2>/dev/null | sort; }

unzip -q "$zip" -d "$work/zip"
zipped=$work/zip/$(basename "$zip" .zip)
# A user's own comment file, which the installer must leave as it is.
mkdir -p "$user_comments"
printf 'my own comment\r\n' >"$user_comments/英語ｺﾒﾝﾄ.txt"
cp "$user_comments/英語ｺﾒﾝﾄ.txt" "$work/own-comment"
menu_before=$(start_menu_entries)

"$wine" "$setup" /S || fail "the silent install ends with status $?"

expected=$( (ls "$zipped" && echo uninstall.exe) | sort)
[ "$(ls "$installed" 2>/dev/null | sort)" = "$expected" ] ||
  fail "$installed holds other files than the zip's and uninstall.exe:"$'\n'"$(
    diff <(echo "$expected") <(ls "$installed" 2>/dev/null | sort))"
for file in "$zipped"/*; do
  cmp -s "$file" "$installed/${file##*/}" || fail "the installed ${file##*/} is not the zip's"
done
[ "$(windows "$installed/habuki.exe" --version)" = "habuki $version" ] ||
  fail "the installed habuki.exe --version does not print \"habuki $version\""

# The file version of the version resource (VS_FIXEDFILEINFO, after its signature 0xFEEF04BD):
# two 32-bit numbers, each as two 16-bit halves, low first. The window's resource is written as
# its version always was, major.minor.0.revision (3.0.1 as "3.00.0001"): the fourth number is the third
# of project(VERSION), and the third must be 0.
#   file_version EXE  -> "MAJOR.MINOR.REVISION"
file_version() {
  local offset words
  offset=$(LC_ALL=C grep -obUaP '\xbd\x04\xef\xfe' "$1" | head -1 | cut -d: -f1)
  [ -n "$offset" ] || return 0
  read -r -a words < <(od -An -tu2 -j $((offset + 8)) -N8 "$1")
  [ "${words[3]}" -eq 0 ] || return 0
  echo "${words[1]}.${words[0]}.${words[2]}"
}
added_entries=$(comm -13 <(echo "$menu_before") <(start_menu_entries))
[ "$(file_version "$installed/habuki-gui.exe")" = "$version" ] ||
  fail "the installed habuki-gui.exe's version resource does not give $version"
[ "$(basename "$added_entries")" = ハブキ丸.lnk ] ||
  fail "the Start menu gained other entries than ハブキ丸.lnk:"$'\n'"$added_entries"
LC_ALL=C grep -qaF "$installed_windows\\habuki-gui.exe" "$added_entries" ||
  fail "the Start menu entry does not start $installed_windows\\habuki-gui.exe"

[ "$(registry_value DisplayVersion)" = "$version" ] ||
  fail "the uninstall entry's DisplayVersion is not $version"
[ -n "$(registry_value DisplayName)" ] || fail "the uninstall entry has no DisplayName"
[ -n "$(registry_value Publisher)" ] || fail "the uninstall entry has no Publisher"
[ "$(registry_value UninstallString)" = "\"$installed_windows\\uninstall.exe\"" ] ||
  fail "the uninstall entry's UninstallString does not name $installed_windows\\uninstall.exe"
[ "$(registry_value QuietUninstallString)" = "\"$installed_windows\\uninstall.exe\" /S" ] ||
  fail "the uninstall entry's QuietUninstallString is not the uninstaller with /S"

cmp -s "$work/own-comment" "$user_comments/英語ｺﾒﾝﾄ.txt" ||
  fail "the installer changed the user's own %APPDATA%\\habuki\\英語ｺﾒﾝﾄ.txt"
cmp -s "$zipped/日本語ｺﾒﾝﾄ.txt" "$user_comments/日本語ｺﾒﾝﾄ.txt" ||
  fail "the sample 日本語ｺﾒﾝﾄ.txt is not in %APPDATA%\\habuki"

# A comment file edited in the install folder survives an installation over it.
printf 'edited for every user\r\n' >"$installed/日本語ｺﾒﾝﾄ.txt"
"$wine" "$setup" /S || fail "installing over an installation ends with status $?"
[ "$(cat "$installed/日本語ｺﾒﾝﾄ.txt")" = $'edited for every user\r' ] ||
  fail "installing again replaced the edited 日本語ｺﾒﾝﾄ.txt of the install folder"

# The uninstaller run in place (_?=FOLDER, last and unquoted, as only cmd passes it) waits and
# tells its status.
uninstall_in_place() {
  "$wine" cmd /c "\"$installed_windows\\uninstall.exe\" /S _?=$installed_windows"
}
# With the window open, nothing is replaced or removed.
"$wine" "$installed/habuki-gui.exe" &
window=$!
"$wine" "$helper" wait-window habuki.Form1 || fail "ハブキ丸's window did not open"
printf 'marked' >"$installed/README-en.txt"
status=0
"$wine" "$setup" /S || status=$?
[ $status -ne 0 ] || fail "installing while ハブキ丸 is open ends with status 0"
[ "$(cat "$installed/README-en.txt")" = marked ] ||
  fail "installing while ハブキ丸 is open replaced files"
status=0
uninstall_in_place || status=$?
[ $status -ne 0 ] || fail "uninstalling while ハブキ丸 is open ends with status 0"
[ -f "$installed/habuki.exe" ] && [ -n "$(registry_value DisplayName)" ] ||
  fail "uninstalling while ハブキ丸 is open removed files or the registration"
"$wine" "$helper" close-window habuki.Form1 || fail "ハブキ丸's window did not close"
wait "$window" || true
"$wine" "$setup" /S || fail "installing after the window closed ends with status $?"

# A file that another program holds open is named, and habuki stays registered.
coproc holder { "$wine" "$helper" hold "$installed_windows\\LICENSE.txt"; }
read -r held <&"${holder[0]}" || true
[ "${held%$'\r'}" = held ] || fail "the helper could not hold LICENSE.txt open"
status=0
uninstall_in_place || status=$?
[ $status -ne 0 ] || fail "an uninstall that cannot remove LICENSE.txt ends with status 0"
[ -f "$installed/LICENSE.txt" ] && [ -n "$(registry_value DisplayName)" ] ||
  fail "an uninstall that cannot remove LICENSE.txt took its registration away"
exec {holder[1]}>&-
wait "$holder_PID" || true

# The uninstaller runs a copy of itself from %TEMP% and returns at once; the copy has done its
# work when the prefix's last program, and with it the wine server, has ended.
"$wine" "$installed_windows\\uninstall.exe" /S || fail "the silent uninstall ends with status $?"
wineserver -w
[ "$(ls "$installed" 2>/dev/null)" = 日本語ｺﾒﾝﾄ.txt ] ||
  fail "the uninstaller leaves other than the edited 日本語ｺﾒﾝﾄ.txt in $installed:"$'\n'"$(
    ls "$installed" 2>/dev/null)"
[ "$(start_menu_entries)" = "$menu_before" ] ||
  fail "the uninstaller leaves Start menu entries:"$'\n'"$(
    comm -13 <(echo "$menu_before") <(start_menu_entries))"
! windows reg query "$uninstall_key" >/dev/null 2>&1 ||
  fail "the uninstaller leaves the registry key $uninstall_key"
cmp -s "$work/own-comment" "$user_comments/英語ｺﾒﾝﾄ.txt" ||
  fail "after uninstalling, the user's own comment file is not as it was"

[ $failures -eq 0 ] || exit 1
echo "$(basename "$setup"): $(stat -c %s "$setup") bytes; installs $(wc -l <<<"$expected") files" \
  "under wine, habuki.exe $version runs, and uninstalls leaving only %APPDATA%\\habuki"
