#!/bin/sh
# Installs the program silently into a fresh Wine prefix and checks what a member gets:
# the program folder, the Start-menu shortcuts, the control library's registration and
# the uninstall entry; the installed program, started against the test backend, shows
# its login window; a second installation started while the program runs waits until it
# has ended and then replaces its files; an installed older version updates itself to
# the newer one through its update screen; the uninstaller removes it.
#
#   installer_test.sh SETUP.exe WINE-WRAPPER BACKEND.env VERSION NEXT-SETUP.exe NEXT-VERSION
#
# Runs on an X display (xvfb-run): the program is shown on Qt's windows platform and its
# windows are found by their titles with xdotool.
set -eu
setup=$1 wine=$2 envfile=$3 version=$4 next_setup=$5 next_version=$6
value() { sed -n "s/^$1=//p" "${2:-$envfile}"; }
fail() { echo "FAIL: $*" >&2; exit 1; }
now() { date +%s.%N; }
since() { awk "BEGIN { printf \"%.1f\", $(now) - $1 }"; }
# A shown top-level window whose title matches the pattern $1.
shown() {
  for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do
    case "$(xdotool getwindowname "$w" 2>/dev/null)" in $1) echo "$w"; return 0 ;; esac
  done
  return 1
}
# Waits up to $2 seconds for a window titled $1 while the process $3 lives.
await_window() {
  i=0
  until shown "$1" >/dev/null; do
    i=$((i + 1)); [ $i -le $(($2 * 10)) ] || return 1
    [ -z "${3:-}" ] || kill -0 "$3" 2>/dev/null || return 1
    sleep 0.1
  done
}
# FILEVERSION of a Windows program's version resource, as major.minor.revision.
file_version() {
  python3 -c 'import struct, sys
data = open(sys.argv[1], "rb").read()
at = data.find(struct.pack("<I", 0xFEEF04BD), data.find("VS_VERSION_INFO".encode("utf-16-le")))
ms, ls = struct.unpack_from("<II", data, at + 8) if at >= 0 else (0, 0)
print(f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}")' "$1"
}

export WINEPREFIX
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/vcm-install-prefix.XXXXXX")
update_backend=$WINEPREFIX.backend
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [ ! -f "$update_backend/backend.env" ] || "$(value PYTHON)" "$(value BACKEND_SCRIPT)" stop "$update_backend" || true
  rm -rf "$WINEPREFIX"
}
trap cleanup EXIT
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineboot -i >/dev/null 2>&1
wineserver -w
# Files the installation writes are readable by their owner only, as the access list of
# a Windows profile folder makes them; Wine derives the access list from this mask.
umask 077

echo "installer: $(wc -c < "$setup") bytes"
start=$(now)
"$wine" "$setup" /S
wineserver -w
echo "silent install: $(since "$start") s"

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
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vetra_Care_Member'
"$wine" reg query "$uninstall_key" /v DisplayVersion | grep -q "$version" \
  || fail "no uninstall entry with version $version"

# The installed program on the display, pointed at the test backend: plain Wine, not the
# kit's wrapper, so that it finds its DLLs and plugins in its own folder only.
log=$(value SERVER_LIST_LOG)
lines() { if [ -f "$log" ]; then wc -l < "$log"; else echo 0; fi; }
before=$(lines)
deploy="$WINEPREFIX/deploy.ini"
cp "$(value DEPLOY_FILE)" "$deploy"
start=$(now)
VETRA_CARE_DEPLOY="Z:$deploy" wine "$dir/Vetra_Care_Member.exe" &
program=$!
await_window "베트라케어 로그인" 120 $program || fail "the installed program showed no login window"
echo "installed program: start to login window $(since "$start") s"
[ "$(lines)" -gt "$before" ] || fail "the installed program never asked the server-list service"
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

# The update: a backend of its own publishes the next version and serves its installer.
# The installed program finds the newer version, downloads the installer from the web
# server, starts it and ends; the member clicks through the installer's two pages.
"$(value PYTHON)" "$(value BACKEND_SCRIPT)" start "$update_backend" >/dev/null
update_env="$update_backend/backend.env"
cp "$next_setup" "$(value HTTP_ROOT "$update_env")/Vetra_Care_Setup_Up_Member.exe"
mariadb --no-defaults --socket="$(value ADMIN_SOCKET "$update_env")" -uroot "$(value DB_NAME "$update_env")" -e \
  "UPDATE M_VERSION_INFO_VETRA_MEMBER SET VETRA_MEMBER_V = '$next_version', FILE_SIZE = '$(wc -c < "$next_setup")'"
cp "$(value DEPLOY_FILE "$update_env")" "$deploy"
start=$(now)
VETRA_CARE_DEPLOY="Z:$deploy" wine "$dir/Vetra_Care_Member.exe" &
program=$!
i=0
while kill -0 $program 2>/dev/null; do
  i=$((i + 1)); [ $i -le 1200 ] || fail "the program did not end after its update screen"
  sleep 0.1
done
grep -q '"method": "GET", "path": "/Vetra_Care_Setup_Up_Member.exe"' "$(value HTTP_LOG "$update_env")" \
  || fail "the program did not download the installer from the web server"
cmp -s "$next_setup" "$dir/Vetra_Care_Setup_Up_Member.exe" || fail "the downloaded installer is not the published one"
# The installer's pages, by their titles: the folder (Enter installs), then the end (Enter
# closes).
for page in "폴더 지정" "설치 완료"; do
  await_window "베트라Care 설치: $page" 120 || fail "the downloaded installer showed no page '$page'"
  [ "$page" = "설치 완료" ] || echo "update: program start to the downloaded installer's window $(since "$start") s"
  xdotool windowfocus "$(shown "베트라Care 설치: $page")" key Return
done
i=0
while shown "베트라Care 설치*" >/dev/null; do
  i=$((i + 1)); [ $i -le 300 ] || fail "the installer did not close"
  sleep 0.1
done
wineserver -w
"$wine" reg query "$uninstall_key" /v DisplayVersion | grep -q "$next_version" \
  || fail "the uninstall entry does not show version $next_version"
[ "$(file_version "$dir/Vetra_Care_Member.exe")" = "$next_version" ] \
  || fail "the installed program is version $(file_version "$dir/Vetra_Care_Member.exe"), not $next_version"
cmp -s "$(dirname "$next_setup")/Vetra_Care_Member.exe" "$dir/Vetra_Care_Member.exe" \
  || fail "the installed program is not the newer build"
# The updated program is the published version: it goes on to the login window.
VETRA_CARE_DEPLOY="Z:$deploy" wine "$dir/Vetra_Care_Member.exe" &
program=$!
await_window "베트라케어 로그인" 120 $program || fail "the updated program showed no login window"
kill $program 2>/dev/null || true
wineserver -w

"$wine" "$dir/Uninstall.exe" /S _?="$(printf 'C:\\users\\%s\\AppData\\Local\\Programs\\Vetra_Care_Member' "$user")"
wineserver -w
[ ! -f "$dir/Vetra_Care_Member.exe" ] || fail "the uninstaller left the program"
! "$wine" reg query 'HKCU\Software\Classes\Kolt_Rich.KoltRich' >/dev/null 2>&1 || fail "registration left behind"
echo "installer test passed"
