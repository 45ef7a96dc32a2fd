#!/usr/bin/env bash
# Takes the README's pictures from the real program under Wine on a virtual
# display: the settings dialog for each kind of application, with its slot
# list open and with the keeping's options, the countdown, alone and over the
# cover, and the settings at 150% and in a dark contrast theme. Writes
# docs/screenshots/*.png, in 256 colours at most, as they are committed.
set -euo pipefail
. "$(dirname "$0")/common.sh"

"$KESTRUP_ROOT/scripts/install-deps.sh"
build_all >/dev/null
export WINEPREFIX="$KESTRUP_BUILD/shots-prefix"
export KESTRUP_SHOTS="$KESTRUP_ROOT/docs/screenshots"
mkdir -p "$KESTRUP_SHOTS"

exec xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
set -u
. "$1/scripts/common.sh"
ensure_prefix
wine=$(wine_loader)
server=$(wineserver_binary)
exe="$KESTRUP_BUILD/Kestrup.exe"
"$server" -p </dev/null >/dev/null 2>&1
trap "\"$server\" -k </dev/null >/dev/null 2>&1 || true" EXIT
"$wine" cmd /c exit </dev/null >/dev/null 2>&1

reg() { "$wine" reg "$@" </dev/null >/dev/null 2>&1; }
slot="HKCU\\software\\vaxo\\vaxo Kestrup V3.6\\Slot0"
uninstall="HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall"

# The suite installed as its installer would leave it.
suite="$WINEPREFIX/drive_c/Program Files/vaxo"
mkdir -p "$suite/Zentor" "$suite/ORBX Player"
touch "$suite/Zentor/ZENTOR.EXE" "$suite/ORBX Player/ORBXPlayer.exe"
reg add "$uninstall\\vaxo Zentor" /v UninstallString /d "C:\\Program Files\\vaxo\\Zentor\\uninstall.exe" /f
reg add "$uninstall\\ORBX Player" /v UninstallString /d "C:\\Program Files\\vaxo\\ORBX Player\\uninstall.exe" /f

# The largest viewable window of the program with the given name (all its
# windows for none; "(has no name)" for the open slot list), as an X window id.
program_window() {
  { xwininfo -root -tree | grep -F "${1:-}: (\"kestrup.exe\"" || true; } | awk "{print \$1}" | while read -r id; do
    info=$(xwininfo -id "$id")
    echo "$info" | grep -q "IsViewable" || continue
    w=$(echo "$info" | sed -n "s/.*Width: //p"); h=$(echo "$info" | sed -n "s/.*Height: //p")
    echo "$((w * h)) $id"
  done | sort -n | tail -n 1 | cut -d" " -f2
}

# X Y WIDTH HEIGHT of a window on the screen.
geometry() {
  xwininfo -id "$1" | sed -n "s/.*Absolute upper-left [XY]: *//p; s/.*Width: //p; s/.*Height: //p" | tr "\n" " "
}

save() {  # IMAGE NAME
  convert "$1" "PNG8:$KESTRUP_SHOTS/$2.png"
  echo "docs/screenshots/$2.png"
}

start() {  # ARGUMENTS...
  "$wine" "$exe" "$@" </dev/null >/dev/null 2>&1 &
  pid=$! id=""
  for _ in $(seq 1 200); do id=$(program_window); [ -n "$id" ] && break; sleep 0.2; done
  [ -n "$id" ] || { echo "no window"; exit 1; }
  sleep 2
}

finish() {
  kill -9 "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
}

shoot() {  # NAME ARGUMENTS...
  local name=$1; shift
  start "$@"
  import -window "$id" "$KESTRUP_BUILD/shot.png"
  save "$KESTRUP_BUILD/shot.png" "$name"
  finish
}

set_slot() {  # MODE APPPATH SHOWPATH PARAMETER KIOSK DELAY [KEEPRUNNING]
  reg delete "HKCU\\software\\vaxo" /f || true
  reg add "$slot" /v Mode /t REG_DWORD /d "$1" /f
  reg add "$slot" /v AppPath /d "$2" /f
  reg add "$slot" /v ShowPath /d "$3" /f
  reg add "$slot" /v Parameter /d "$4" /f
  reg add "$slot" /v Kiosk /t REG_DWORD /d "$5" /f
  reg add "$slot" /v Delay /t REG_DWORD /d "$6" /f
  reg add "$slot" /v KeepRunning /t REG_DWORD /d "${7:-0}" /f
}

set_slot 0 "" "" "" 0 20
shoot settings-disable
set_slot 1 "" "D:\\Shows\\opening.shw" "" 1 30
shoot settings-zentor
set_slot 2 "" "" "-fullscreen" 0 15
shoot settings-orbx-player
set_slot 3 "C:\\Program Files\\Signage\\signage.exe" "" "--kiosk --screen 2" 0 10 1
shoot settings-user-defined

# The slot list opened from the keyboard (Alt+S, F4) over three more slots;
# the open list is a window of its own, put with the dialog on a clear ground.
slots=${slot%0}
reg add "${slots}1" /v Mode /t REG_DWORD /d 3 /f
reg add "${slots}1" /v AppPath /d "C:\\Shows\\player.exe" /f
reg add "${slots}3" /v Mode /t REG_DWORD /d 1 /f
reg add "${slots}4" /v Mode /t REG_DWORD /d 0 /f
start
xdotool key alt+s F4
sleep 2
list=$(program_window "(has no name)")
read -r dx dy dw dh <<< "$(geometry "$id")"
read -r lx ly lw lh <<< "$(geometry "$list")"
import -window "$id" "$KESTRUP_BUILD/dialog.png"
import -window "$list" "$KESTRUP_BUILD/list.png"
convert -size "$((lx + lw > dx + dw ? lx + lw - dx : dw))x$((ly + lh > dy + dh ? ly + lh - dy : dh))" xc:none \
  "$KESTRUP_BUILD/dialog.png" -composite "$KESTRUP_BUILD/list.png" -geometry "+$((lx - dx))+$((ly - dy))" -composite \
  "$KESTRUP_BUILD/shot.png"
save "$KESTRUP_BUILD/shot.png" settings-slot-list
finish

# The options of the keeping (Alt+P), some stored.
reg add "$slot" /v RestartDaily /d "05:30" /f
reg add "$slot" /v NotRespondingSeconds /t REG_DWORD /d 120 /f
reg add "$slot" /v Cover /t REG_DWORD /d 1 /f
reg add "$slot" /v HideCursor /t REG_DWORD /d 1 /f
reg add "$slot" /v ShowHours /d "Mon-Fri 07:00-19:00; Sat 10:00-16:00" /f
start
# The pointer away from the dialog, whose tips it would open.
xdotool mousemove 0 0
xdotool key alt+p
sleep 2
import -window "$(program_window "\"Start again when it ends\"")" "$KESTRUP_BUILD/shot.png"
save "$KESTRUP_BUILD/shot.png" keep-options
finish

set_slot 3 "C:\\Program Files\\Signage\\signage.exe" "" "" 0 30
shoot countdown /run 0

# The countdown over the cover: the whole screen, at half its size.
set_slot 3 "C:\\Program Files\\Signage\\signage.exe" "" "" 0 30 1
reg add "$slot" /v Cover /t REG_DWORD /d 1 /f
start /run 0
import -window root -resize 50% "$KESTRUP_BUILD/shot.png"
save "$KESTRUP_BUILD/shot.png" countdown-cover
finish

# The same program at 150% (144 DPI), then in a dark contrast theme: white
# text on black, visual styles off. Each is read when the program starts.
desktop="HKCU\\Control Panel\\Desktop"
colours="HKCU\\Control Panel\\Colors"
theme="HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager"
set_slot 3 "C:\\Program Files\\Signage\\signage.exe" "" "--kiosk --screen 2" 0 10 1
reg add "$desktop" /v LogPixels /t REG_DWORD /d 144 /f
shoot settings-150-percent
reg delete "$desktop" /v LogPixels /f
reg export "$colours" "$KESTRUP_BUILD/colours.reg" /y
for colour in "Window=0 0 0" "WindowText=255 255 255" "GrayText=63 242 63" "ButtonFace=0 0 0" \
              "ButtonText=255 255 255" "ButtonShadow=128 128 128" "ButtonHilight=255 255 255"; do
  reg add "$colours" /v "${colour%%=*}" /d "${colour#*=}" /f
done
reg add "$theme" /v ThemeActive /d 0 /f
shoot settings-dark-theme
reg delete "$theme" /v ThemeActive /f
reg import "$KESTRUP_BUILD/colours.reg"
reg delete "HKCU\\software\\vaxo" /f || true
' shots "$KESTRUP_ROOT"
