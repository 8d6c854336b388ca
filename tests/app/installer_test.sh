#!/bin/sh
# Installs the program silently into a fresh Wine prefix and checks what a member gets:
# the program folder, the Start-menu shortcuts, the control library's registration and
# the uninstall entry; the installed program starts against the test backend and asks
# the server-list service for access; a second installation started while the program
# runs waits until it has ended and then replaces its files; the uninstaller removes it.
#
#   installer_test.sh SETUP.exe WINE-WRAPPER BACKEND.env VERSION
set -eu
setup=$1 wine=$2 envfile=$3 version=$4
value() { sed -n "s/^$1=//p" "$envfile"; }
fail() { echo "FAIL: $*" >&2; exit 1; }

export WINEPREFIX
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/vcm-install-prefix.XXXXXX")
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX"' EXIT
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineboot -i >/dev/null 2>&1
wineserver -w
# Files the installation writes are readable by their owner only, as the access list of
# a Windows profile folder makes them; Wine derives the access list from this mask.
umask 077

start=$(date +%s.%N)
"$wine" "$setup" /S
wineserver -w
echo "silent install: $(awk "BEGIN { print $(date +%s.%N) - $start }") s"

user=$(whoami)
dir="$WINEPREFIX/drive_c/users/$user/AppData/Local/Programs/Vetra_Care_Member"
for f in Vetra_Care_Member.exe Uninstall.exe libKoltRich.dll Qt6Core.dll platforms/qwindows.dll \
         styles/qwindowsvistastyle.dll imageformats/qgif.dll translations/qtbase_ko.qm image/Loading.gif; do
  [ -f "$dir/$f" ] || fail "missing $f in the program folder"
done
menu="$WINEPREFIX/drive_c/users/$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/베트라Care"
[ -f "$menu/베트라Care.lnk" ] || fail "no Start-menu shortcut"
"$wine" reg query 'HKCU\Software\Classes\Kolt_Rich.KoltRich\CLSID' | grep -q '{A725C546-9F14-4F2E-B34B-7329A4A324D9}' \
  || fail "control library not registered for the current user"
"$wine" reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vetra_Care_Member' /v DisplayVersion \
  | grep -q "$version" || fail "no uninstall entry with version $version"

# The installed program on the offscreen platform, pointed at the test backend.
log=$(value SERVER_LIST_LOG)
lines() { if [ -f "$log" ]; then wc -l < "$log"; else echo 0; fi; }
before=$(lines)
deploy="$WINEPREFIX/deploy.ini"
cp "$(value DEPLOY_FILE)" "$deploy"
# Plain Wine, not the kit's wrapper: the program must find its DLLs in its own folder.
# Only the offscreen platform plugin is the test's own addition (no display here).
cp "$(dirname "$wine")/../plugins/platforms/qoffscreen.dll" "$dir/platforms/"
WINEQT_QPA_PLATFORM=offscreen WINEQT_QPA_FONTDIR="Z:/usr/share/fonts/truetype/nanum" \
  VETRA_CARE_DEPLOY="Z:$deploy" wine "$dir/Vetra_Care_Member.exe" &
program=$!
i=0
until [ "$(lines)" -gt "$before" ]; do
  i=$((i + 1)); [ $i -le 300 ] || fail "the installed program never asked the server-list service"
  kill -0 $program 2>/dev/null || fail "the installed program ended early"
  sleep 0.1
done
echo "installed program reached the server-list service after $(awk "BEGIN { print $i / 10 }") s"
tail -n 1 "$log" | grep -q '"granted": "127.0.0.1"' || fail "access not granted: $(tail -n 1 "$log")"

# An installation while the program runs waits for it to end.
rm -f "$dir/translations/qt_ko.qm"
"$wine" "$setup" /S &
installer=$!
sleep 3
[ ! -f "$dir/translations/qt_ko.qm" ] || fail "the installer replaced files while the program ran"
kill $program 2>/dev/null || true
wait $installer || fail "the second installation failed"
wineserver -w
[ -f "$dir/translations/qt_ko.qm" ] || fail "the second installation did not replace the files"

"$wine" "$dir/Uninstall.exe" /S _?="$(printf 'C:\\users\\%s\\AppData\\Local\\Programs\\Vetra_Care_Member' "$user")"
wineserver -w
[ ! -f "$dir/Vetra_Care_Member.exe" ] || fail "the uninstaller left the program"
! "$wine" reg query 'HKCU\Software\Classes\Kolt_Rich.KoltRich' >/dev/null 2>&1 || fail "registration left behind"
echo "installer test passed"
