#!/usr/bin/env bash
# The Linux program's harness: run.sh CASE PROGRAM ARTIFACTS-FOLDER
# Each case starts a virtual X screen of its own (Xvfb, with a window manager), runs the program
# there in a folder of its own and drives it with xdotool; what the windows show comes from the
# program's windows report, what was pasted from its simulated workbooks' report. Pictures of
# the windows go to the artifacts folder. Exit status 0 when every expectation held.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
case_name=${1:?usage: run.sh CASE PROGRAM ARTIFACTS}
program=$(realpath "${2:?program}")
PROGRAM_ARTIFACTS=$(realpath -m "${3:?artifacts folder}")
# shellcheck source=session.sh
source "$here/session.sh"

readonly TOPMOST_MESSAGE="フォームが[最前面]になります。"
readonly BOTTOM_MESSAGE="フォームが[最背面]になります。"
readonly STOPPED_CAPTION="    ファイル名  開く"
readonly INTEGER_MESSAGE="小数点以下(四捨五入)カンマなしで貼り付けます。"
readonly NUMBER_MESSAGE="データを[数値データ]として貼り付けます。"
readonly PICTURE_MESSAGE="画像を元のサイズのまま貼り付けます。"
readonly FIT_PICTURE_MESSAGE="画像をセルサイズに合わせて縮小貼り付けます。"
readonly USAGE_CAPTION="Form2"
readonly SPEECH_CAPTION="クリックボードの読み上げ"

# The colour of one pixel of a picture, as "R,G,B".
pixel() {
  convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p' | head -n1
}

# expect_pixel PICTURE X Y R,G,B WHAT
expect_pixel() {
  local got
  got=$(pixel "$1" "$2" "$3")
  [[ $got == "$4" ]] || fail "$5: expected colour $4 at $2,$3, got $got"
}

# A control's middle within its window's client area.
middle_in_window() {
  local window=$1 control=$2 cx cy cw ch x y w h
  read -r cx cy cw ch <<<"$(fact "$window.client")"
  read -r x y w h <<<"$(fact "$window.$control.screen")"
  echo "$((x - cx + w / 2)) $((y - cy + h / 2))"
}

# Whether the window manager keeps the window above the others.
above() { xprop -id "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE; }
not_above() { ! above "$1"; }

# The layout at a DPI: the client area of 3915 x 1395 twips at 12465, 3495, the fonts' pixel
# sizes, the texts and states of the first start.
check_first_start() {
  local dpi=$1 left top width height
  left=$(( (12465 * dpi + 720) / 1440 ))
  top=$(( (3495 * dpi + 720) / 1440 ))
  width=$(( (3915 * dpi + 720) / 1440 ))
  height=$(( (1395 * dpi + 720) / 1440 ))
  expect Form1.dpi "$dpi"
  expect Form1.client "$left $top $width $height"
  expect Form1.caption Harumado
  expect Form1.Text1.text 1
  expect Form1.Text2.text "$TOPMOST_MESSAGE"
  expect Form1.Text3.text ""
  expect Form1.Label1.text "ファイル名"
  expect Form1.Command5.text "$STOPPED_CAPTION"
  expect Form1.Command8.text '1.ファイル名を入力\n2.開始ボタン　　　　'
  expect Form1.Command10.text "使い方"
  expect Form1.Check2.text "整数"
  expect Form1.Check2.checked 1
  expect Form1.Check3.checked 0
  expect Form1.Check4.checked 1
  expect Form1.Check4.tooltip "フォーム[最前面]"
  expect Form1.Command2.tooltip "列幅の自動調整"
  expect Form1.Text3.focus 1
  # 9.75 points and 8.25 points at the DPI, in the proportional Gothic face.
  expect Form1.Text1.font "IPAPGothic $(( (975 * dpi + 3600) / 7200 ))"
  expect Form1.Label1.font "IPAPGothic $(( (825 * dpi + 3600) / 7200 ))"
  expect Form1.topmost 1
  expect Form2.visible 0
  expect Form3.visible 0
  expect Form2.topmost 1
  expect Form3.topmost 1
  local main
  main=$(x_window Harumado)
  wait_for 10 above "$main" || fail "the window manager does not keep the main window above"
  # A fixed frame: the smallest and the largest size are the layout's; the icon is set.
  local hints
  hints=$(xprop -id "$main" WM_NORMAL_HINTS)
  grep -q "minimum size: $width by $height" <<<"$hints" || fail "no fixed minimum size: $hints"
  grep -q "maximum size: $width by $height" <<<"$hints" || fail "no fixed maximum size: $hints"
  # Read whole before it is matched: xprop draws the icon's pictures as text, and a match that
  # stopped reading early would end xprop by a broken pipe, which pipefail takes as a failure.
  local icon
  icon=$(xprop -id "$main" _NET_WM_ICON)
  [[ $icon == *'_NET_WM_ICON(CARDINAL)'* ]] || fail "no window icon: ${icon:0:200}"
  # What the screen shows: the back colours of the window and of the graphical buttons.
  screenshot Harumado "main-${dpi}dpi"
  local shot="$PROGRAM_ARTIFACTS/main-${dpi}dpi.png"
  expect_pixel "$shot" 2 2 192,255,192 "main window back"
  read -r x y <<<"$(middle_in_window Form1 Command2)"
  expect_pixel "$shot" "$x" "$y" 0,255,255 "Command2 back"
  read -r x y <<<"$(middle_in_window Form1 Command10)"
  local cx cy cw ch
  read -r cx cy cw ch <<<"$(fact Form1.client)"
  read -r x y w h <<<"$(fact Form1.Command5.screen)"
  expect_pixel "$shot" $((x - cx + 4)) $((y - cy + 4)) 0,255,0 "Command5 back"
}

case_startup_first_96() {
  start_session 96
  prepare_program "$program"
  start_program
  check_first_start 96
  close_program
}

case_startup_first_144() {
  start_session 144
  prepare_program "$program"
  start_program
  check_first_start 144
  close_program
}

# The desktop's scale changes while the program runs (its settings manager tells the new font
# DPI): the main window is laid out again at that DPI where it stands, its fonts with it; and back.
case_scale_change() {
  start_session 96
  start_xsettings 96
  prepare_program "$program"
  start_program
  expect Form1.dpi 96
  local dpi left top
  read -r left top _ <<<"$(fact Form1.client)"
  for dpi in 144 96; do
    set_xsettings_dpi "$dpi"
    expect Form1.dpi "$dpi"
    expect Form1.client "$left $top $(((3915 * dpi + 720) / 1440)) $(((1395 * dpi + 720) / 1440))"
    expect Form1.Text1.font "IPAPGothic $(((975 * dpi + 3600) / 7200))"
    expect Form1.Text1.text 1
    screenshot Harumado "main-scaled-to-${dpi}dpi"
  done
  close_program
}

# A settings file of an earlier session: the main window's place, the wrap count, the paste mode
# and the topmost state come back; the window has its layout's size at the DPI.
check_restored() {
  local dpi=$1
  local -a cases=(
    '120,80,3,2,0\r\n|120 80|3|数値|0|'"$NUMBER_MESSAGE"
    '-20,40,0,3,1|-20 40|1|画像|1|'"$PICTURE_MESSAGE"
    '300\r\n200\r\n12\r\n4\r\n1\r\n|300 200|12|画像□|1|'"$FIT_PICTURE_MESSAGE"
  )
  local entry file place text1 check2 topmost text2 frame
  for entry in "${cases[@]}"; do
    IFS='|' read -r file place text1 check2 topmost text2 <<<"$entry"
    start_session "$dpi"
    prepare_program "$program" "$file"
    start_program
    expect Form1.dpi "$dpi"
    wait_for 10 fact_starts Form1.frame "$place " || fail "[$file] main window at '$place', frame '$(fact Form1.frame)'"
    expect Form1.Text1.text "$text1"
    expect Form1.Check2.text "$check2"
    expect Form1.Check4.checked "$topmost"
    expect Form1.topmost "$topmost"
    expect Form3.topmost "$topmost"
    expect Form1.Text2.text "$text2"
    expect_size Form1.client "$(( (3915 * dpi + 720) / 1440 )) $(( (1395 * dpi + 720) / 1440 ))"
    close_program
    end_session
  done
}
fact_starts() { [[ $(fact "$1") == "$2"* ]]; }
# The size part (the last two numbers) of a rectangle fact.
fact_size_is() { [[ $(fact "$1" | cut -d' ' -f3-4) == "$2" ]]; }
# expect_size KEY "W H": the rectangle comes to have that size within 10 s, wherever the window
# manager has put it meanwhile.
expect_size() {
  wait_for 10 fact_size_is "$1" "$2" || fail "$1: expected the size '$2', got '$(fact "$1")'"
  return 0
}

case_startup_restored_96() { check_restored 96; }
case_startup_restored_144() { check_restored 144; }

# The usage window beside the main window and the speech window below it, with pictures of both.
check_side_windows() {
  local dpi=$1
  start_session "$dpi"
  prepare_program "$program"
  start_program
  click Form1.Command10
  expect Form2.visible 1
  wait_for 10 x_window "$USAGE_CAPTION" >/dev/null || fail "no usage window on the screen"
  expect_size Form2.client "$(( (8055 * dpi + 720) / 1440 )) $(( (12405 * dpi + 720) / 1440 ))"
  screenshot "$USAGE_CAPTION" "usage-${dpi}dpi"
  click Form1.Check3
  expect Form1.Check3.checked 1
  expect Form3.visible 1
  expect_size Form3.client "$(( (2820 * dpi + 720) / 1440 )) $(( (960 * dpi + 720) / 1440 ))"
  expect Form3.Command2.text "読み上げ中止"
  screenshot "$SPEECH_CAPTION" "speech-${dpi}dpi"
  screenshot Harumado "main-with-side-windows-${dpi}dpi"
  local shot="$PROGRAM_ARTIFACTS/usage-${dpi}dpi.png"
  # The usage page is a picture with a white ground.
  expect_pixel "$shot" 5 5 255,255,255 "usage page ground"
  close_program
}

case_windows_96() { check_side_windows 96; }
case_windows_144() { check_side_windows 144; }

# The side windows follow the main window when it is dragged: the usage window's left-top stays
# 270 pixels (at 96 dpi) right of the main window's.
case_side_windows_follow() {
  start_session 96
  prepare_program "$program"
  start_program
  click Form1.Command10
  expect Form2.visible 1
  local main
  main=$(x_window Harumado)
  local -a places=("100 100" "400 300" "50 600")
  local place x y
  for place in "${places[@]}"; do
    read -r x y <<<"$place"
    # xdotool places the client area; the frame goes where the window manager puts it around.
    xdotool windowmove --sync "$main" "$x" "$y" || true
    wait_for 10 fact_starts Form1.client "$x $y " || fail "main window not at $x,$y: $(fact Form1.client)"
    local fx fy
    read -r fx fy _ <<<"$(fact Form1.frame)"
    wait_for 10 fact_starts Form2.frame "$((fx + 270)) $fy " ||
      fail "usage window not beside the main window at $fx,$fy: $(fact Form2.frame)"
  done
  close_program
}

# Z-order: all three windows are kept above others while Check4 is ticked; unticking it lets
# the window manager stack them as any other window.
case_z_order() {
  start_session 96
  prepare_program "$program"
  start_program
  local main
  main=$(x_window Harumado)
  wait_for 10 above "$main" || fail "main window not above at the start"
  click Form1.Check4
  expect Form1.Check4.checked 0
  expect Form1.topmost 0
  expect Form2.topmost 0
  expect Form3.topmost 0
  expect Form1.Check4.tooltip "フォーム[最背面]"
  expect Form1.Text2.text "$BOTTOM_MESSAGE"
  wait_for 10 not_above "$main" || fail "main window still above after Check4 was unticked"
  click Form1.Check4
  expect Form1.topmost 1
  wait_for 10 above "$main" || fail "main window not above again"
  close_program
}

# The fields of the main window, typed into as a user types.
case_input_fields() {
  start_session 96
  prepare_program "$program"
  start_program
  click Form1.Text1
  expect Form1.Text2.text "縦方向(1-9)毎に自動改行されます。"
  expect Form1.Text1.focus 1
  # Only the digits 1 to 9 get into the wrap field: the typed text replaces the selection.
  local key
  for key in 0 a minus BackSpace ctrl+v; do
    xdotool key --clearmodifiers "$key"
    expect Form1.Text1.text 1 2
  done
  xdotool type --delay 20 5
  expect Form1.Text1.text 5
  click Form1.Text1
  xdotool key Delete
  expect Form1.Text1.text ""
  xdotool type --delay 20 7
  expect Form1.Text1.text 7
  click Form1.Text3
  expect Form1.Text2.text "ファイル名を入力（拡張子なしの場合は自動で .xlsx になります）。既存ファイルがあれば開き、なければ新規作成します。"
  expect Form1.Text3.focus 1
  xdotool type --delay 20 "sales-1.xlsx"
  expect Form1.Text3.text "sales-1.xlsx"
  expect Form1.Command5.text "$STOPPED_CAPTION"
  # Releasing the mouse over the message field puts the focus in Text3; typing there changes
  # nothing.
  click Form1.Text1
  expect Form1.Text1.focus 1
  local message
  message=$(fact Form1.Text2.text)
  click Form1.Text2
  expect Form1.Text3.focus 1
  close_program
}

# Each click on Check2 moves to the next paste mode; the box stays ticked; the mode is saved.
case_mode_selector() {
  start_session 96
  prepare_program "$program"
  start_program
  local -a cycle=("数値|$NUMBER_MESSAGE" "画像|$PICTURE_MESSAGE" "画像□|$FIT_PICTURE_MESSAGE"
    "整数|$INTEGER_MESSAGE" "数値|$NUMBER_MESSAGE")
  local step caption message
  for step in "${cycle[@]}"; do
    IFS='|' read -r caption message <<<"$step"
    click Form1.Check2
    expect Form1.Check2.text "$caption"
    expect Form1.Text2.text "$message"
    expect Form1.Check2.checked 1
  done
  local left top
  read -r left top _ <<<"$(fact Form1.frame)"
  close_program
  local line
  line=$(od -An -c "$(settings_file)" | tr -s ' ' | tr -d '\n')
  [[ $(cat "$(settings_file)") == "$left,$top,1,2,1"* ]] || fail "settings file: $line"
}

# Closing the main window writes "Harumado.dat" beside the program: the main window's left and
# top, the wrap count, the paste mode and the topmost state; the next start restores them.
case_shutdown_settings() {
  start_session 96
  prepare_program "$program"
  start_program
  click Form1.Text1
  xdotool type --delay 20 4
  expect Form1.Text1.text 4
  click Form1.Check2
  expect Form1.Check2.text "数値"
  click Form1.Check4
  expect Form1.topmost 0
  local main
  main=$(x_window Harumado)
  xdotool windowmove --sync "$main" 200 150 || true
  wait_for 10 fact_starts Form1.client "200 150 " || fail "main window not moved: $(fact Form1.client)"
  local fx fy
  read -r fx fy _ <<<"$(fact Form1.frame)"
  close_program
  [[ -f $(settings_file) ]] || { fail "no settings file after the close"; return; }
  local bytes
  bytes=$(od -An -tx1 "$(settings_file)" | tr -d ' \n')
  [[ $bytes == "$(printf '%s,%s,4,2,0\r\n' "$fx" "$fy" | od -An -tx1 | tr -d ' \n')" ]] ||
    fail "settings file: $(od -An -c "$(settings_file)"), frame at $fx,$fy"
  start_program
  wait_for 10 fact_starts Form1.frame "$fx $fy " || fail "restored place: $(fact Form1.frame)"
  expect Form1.Text1.text 4
  expect Form1.Check2.text "数値"
  expect Form1.Check4.checked 0
  close_program
}

pasted() { grep -q "^cell $1 $2" "$SESSION/workbooks.txt"; }

# Types the workbook's name and presses the start button: the workbook is created on the Desktop
# and pasting starts; once the paste loop watches the clipboard, a copy lands in A1.
start_pasting() {
  click Form1.Text3
  xdotool type --delay 20 "book"
  expect Form1.Text3.text book
  click Form1.Command5
  wait_for 30 test -f "$SESSION/home/Desktop/book.xlsx" || fail "no workbook created on the Desktop"
  wait_for 30 grep -q '^workbook book.xlsx' "$SESSION/workbooks.txt" || {
    fail "the workbook was not opened: $(cat "$SESSION/workbooks.txt" 2>/dev/null)"
    return 1
  }
  wait_for 30 paste_watching || {
    fail "no paste loop watches the clipboard: $(fact Program.paste-loops) loops, $(fact Program.paste-cycles) cycles"
    return 1
  }
  copy 1234
  wait_for 10 pasted A1 "number 1234" || {
    fail "the copied number was not pasted: $(cat "$SESSION/workbooks.txt")"
    return 1
  }
}

# Text copied by another program lands in the workbook, the cursor moving on after each paste.
case_paste_text() {
  start_session 96
  prepare_program "$program"
  start_program
  start_pasting
  copy "売上"
  wait_for 10 pasted A2 "text 売上" || fail "the copied text is not in A2: $(cat "$SESSION/workbooks.txt")"
  end_copier
  close_program
}

# A copy its owner marks as a secret (a password manager's) is passed over: nothing is pasted
# and the cursor stays; the next plain copy lands in the next cell.
case_paste_secret() {
  start_session 96
  prepare_program "$program"
  start_program
  start_pasting
  copy 9999 secret
  # The program has looked at the marker (and so at this copy) before the next copy comes.
  wait_for 10 grep -q "served x-kde-passwordManagerHint" "$SESSION/copier.out" ||
    fail "the program did not look at the secret's marker"
  copy 5678
  wait_for 10 pasted A2 "number 5678" || fail "the plain copy is not in A2: $(cat "$SESSION/workbooks.txt")"
  if grep -q 9999 "$SESSION/workbooks.txt"; then fail "the secret was pasted"; fi
  end_copier
  close_program
}

fn="case_${case_name//-/_}"
declare -F "$fn" >/dev/null || { echo "no case $case_name" >&2; exit 2; }
"$fn"
end_copier
end_session
if ((FAILURES > 0)); then
  echo "$case_name: $FAILURES expectation(s) failed" >&2
  exit 1
fi
echo "$case_name: passed"
