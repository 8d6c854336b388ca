#!/bin/sh
# The built program, started on the display (xvfb-run) against the test backend, shows
# its login window; the time from its start to that window is printed, the measure the
# installer test prints for the installed Windows program.
#
#   login_window_test.sh PROGRAM REGSVR CONTROL-LIBRARY BACKEND.env
set -eu
program=$1 regsvr=$2 control=$3 envfile=$4
fail() { echo "FAIL: $*" >&2; exit 1; }
work=$(mktemp -d "${TMPDIR:-/tmp}/vcm-login-window.XXXXXX")
trap 'kill $pid 2>/dev/null || true; rm -rf "$work"' EXIT
pid=
# Settings and the control library's registration of the test's own.
export VCM_SETTINGS_FILE="$work/settings.ini" VCM_CLASS_REGISTRY="$work/classes.ini"
"$regsvr" "$control" >/dev/null
umask 077
cp "$(sed -n 's/^DEPLOY_FILE=//p' "$envfile")" "$work/deploy.ini"

start=$(date +%s.%N)
QT_QPA_PLATFORM=xcb VETRA_CARE_DEPLOY="$work/deploy.ini" "$program" &
pid=$!
login_shown() {
  for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do
    [ "$(xdotool getwindowname "$w" 2>/dev/null)" = "베트라케어 로그인" ] && return 0
  done
  return 1
}
i=0
until login_shown; do
  i=$((i + 1)); [ $i -le 600 ] || fail "no login window"
  kill -0 $pid 2>/dev/null || fail "the program ended without a login window"
  sleep 0.1
done
echo "program: start to login window $(awk "BEGIN { printf \"%.1f\", $(date +%s.%N) - $start }") s"
