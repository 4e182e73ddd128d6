#!/usr/bin/env bash
# The Windows build: installs what is missing, cross-builds chengxi-grades.exe and the test suites
# with mingw-w64, runs the suites under Wine in a virtual display, then runs the real program
# under Wine against the sample server, logs in, saves the report and compares it byte for byte
# with the report the Linux build saves for the same student. Exits non-zero on any failure.
# Screenshots of both windows land in build/windows/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash tools/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows
# The sample server and the Linux program, for the end-to-end comparison.
cmake --preset default >/dev/null
cmake --build --preset default --target chengxi-sample-server chengxi-grades

export WINEPREFIX="$root/build/windows/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A virtual display on a free number.
Xvfb -displayfd 3 -screen 0 1024x768x24 3>"$work/display" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -1 "$work/display")"

# The Wine prefix, once: Chinese text in a CJK font, and a Wine desktop that draws the frames.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i >/dev/null 2>&1
  wineserver -w
fi
cat >"$work/prefix.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Tahoma"="WenQuanYi Micro Hei"
"MS Shell Dlg"="WenQuanYi Micro Hei"
"MS Shell Dlg 2"="WenQuanYi Micro Hei"
"Microsoft Sans Serif"="WenQuanYi Micro Hei"
"SimSun"="WenQuanYi Micro Hei"
"Segoe UI"="WenQuanYi Micro Hei"

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1024x768"
REG
wine regedit "$work/prefix.reg"
wineserver -w
# One wineserver for the whole run: a test that starts while an idle one shuts down would lose
# its connection to it. Wine's own services start here too, outside the pipes ctest reads (a
# service holding them open would keep ctest waiting).
wineserver -p
wine cmd /c exit </dev/null >/dev/null 2>&1

ctest --preset windows -j2

# --- End to end -------------------------------------------------------------------------------
# Both programs are built for the default server address, http://127.0.0.1:8936/.
shots="$root/build/windows/screenshots"
mkdir -p "$shots"
"$root/build/default/tools/sample-server/chengxi-sample-server" --port 8936 >"$work/server.log" 2>&1 &
pids+=($!)
sleep 1
grep -q "serving http://127.0.0.1:8936/" "$work/server.log" || {
  echo "windows-test: the sample server cannot listen on 127.0.0.1:8936" >&2
  exit 1
}

fail() {
  echo "windows-test: $*" >&2
  exit 1
}
# Waits until the file exists (at most 20 s).
wait_for() {
  for _ in $(seq 200); do [ -s "$1" ] && return 0; sleep 0.1; done
  return 1
}

# Windows: the login window is centred on the 1024 x 768 desktop at (343, 273), the grade
# window at (269, 207).
wine "$root/build/windows/app/chengxi-grades.exe" &
program=$!
sleep 4
import -window root "$shots/login.png"
xdotool mousemove 520 350 click 1
xdotool type --delay 30 2020110101
xdotool key Tab
xdotool type --delay 30 123456
xdotool key Return
sleep 4
import -window root "$shots/grade.png"
xdotool mousemove 611 442 click 1
sleep 3
import -window root "$shots/save-dialog.png"
xdotool key ctrl+a
xdotool type --delay 20 "Z:${work//\//\\}\\windows-report"
xdotool key Return
wait_for "$work/windows-report.html" || fail "the Windows program saved no report"
sleep 1
import -window root "$shots/saved-message.png"
xdotool key Return
sleep 0.5
xdotool mousemove 500 215 click 1
xdotool key Escape
code=0
wait "$program" || code=$?
[ "$code" -eq 0 ] || fail "the Windows program ended with exit code $code"
wineserver -k || true

# Linux: the same student through the Qt build.
"$root/build/default/app/chengxi-grades" &
program=$!
sleep 2
xdotool windowfocus --sync "$(xdotool search --name '澄溪学院成绩计算器' | head -1)"
xdotool type --delay 20 2020110101
xdotool key Tab
xdotool type --delay 20 123456
xdotool key Return
sleep 3
xdotool mousemove 609 421 click 1
sleep 2
xdotool key ctrl+a
xdotool type --delay 10 "$work/linux-report.html"
xdotool key Return
wait_for "$work/linux-report.html" || fail "the Linux program saved no report"
kill "$program" 2>/dev/null || true

cmp "$work/windows-report.html" "$work/linux-report.html" ||
  fail "the Windows and Linux reports differ"
echo "windows-test: suites passed; the Windows report equals the Linux one ($(wc -c <"$work/windows-report.html") bytes)"
