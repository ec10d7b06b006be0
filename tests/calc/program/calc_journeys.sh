#!/usr/bin/env bash
# The Linux program with LibreOffice Calc: calc_journeys.sh PROGRAM CALC-CELLS ARTIFACTS CASE
# A session of the Linux program's harness (tests/qt/harness/session.sh: its own virtual screen,
# window manager, HOME and program folder), the program run without the simulated spreadsheet's
# report, so that it uses Calc: the start button creates book.xlsx on the Desktop with a
# LibreOffice that the program starts (with the session's HOME, so a profile of its own), and
# copies made by another program land in its cells, read through UNO (CALC-CELLS). Each CASE is
# one journey; the LibreOffice is ended after it. Every wait is for a condition, with a bound.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$(realpath "${1:?program}")
cells=$(realpath "${2:?harumado-calc-cells}")
PROGRAM_ARTIFACTS=$(realpath -m "${3:?artifacts folder}")
journey=${4:?case}
# shellcheck source=../../qt/harness/session.sh
source "$here/../../qt/harness/session.sh"
readonly PIPE=harumado
readonly INTEGER_MESSAGE="小数点以下(四捨五入)カンマなしで貼り付けます。"
readonly PASTING_CAPTION="     貼り付け     開始"
readonly STOPPED_CAPTION="    ファイル名  開く"

# What the cell reader prints; its complaints (and, under the sanitizers, their reports) go to a
# log of the session, so that they never read as a value.
office() { timeout 20 "$cells" "$PIPE" "$@" 2>>"$SESSION/office.log"; }
# The reader's lines are taken whole before they are matched, whatever its exit status.
row_is() { grep -qx -- "$1" <<<"$(office 4)"; }
# cell_is NAME "TYPE VALUE|FORMAT|SHOWN"
cell_is() { [[ $(office cell "$1") == "$1 $2" ]]; }
cell_filled() { grep -Eq "^$1 (VALUE|TEXT|FORMULA) " <<<"$(office cell "$1")"; }
# expect_cell NAME "TYPE VALUE|FORMAT|SHOWN" [SECONDS]
expect_cell() {
  wait_for "${3:-10}" cell_is "$1" "$2" || fail "$1: expected '$1 $2', got '$(office cell "$1")'"
}
end_office() { timeout 30 "$cells" "$PIPE" quit >/dev/null 2>&1 || true; }
office_gone() { ! timeout 20 "$cells" "$PIPE" 1 >/dev/null 2>&1; }
workbook_path() { echo "$SESSION/home/Desktop/book.xlsx"; }
# The workbook's path as the program shows it: the Desktop folder and the name joined with "/".
shown_workbook_path() { printf '%s/book.xlsx' "$SESSION/home/Desktop"; }

# A speech-dispatcher that records what it speaks (start_recorder before start_pasting).
RECORDER_PID="" SPEECH_ADDRESS="" SPOKEN=""
start_recorder() {
  "${HARUMADO_SPEECH_RECORDER:?the speech recorder program}" >"$SESSION/recorder.out" 2>&1 &
  RECORDER_PID=$!
  wait_for 20 grep -q '^unix_socket:' "$SESSION/recorder.out" || { fail "no speech server"; return 1; }
  read -r SPEECH_ADDRESS SPOKEN <"$SESSION/recorder.out"
}
end_recorder() {
  [[ -n $RECORDER_PID ]] || return 0
  kill "$RECORDER_PID" 2>/dev/null || true
  wait "$RECORDER_PID" 2>/dev/null || true
  RECORDER_PID=""
}
# spoken TEXT: a record of the recorder holds exactly the text.
spoken() { [[ -f $SPOKEN ]] && tr '\036' '\n' <"$SPOKEN" | grep -qE -- "^[^|]*\|[^|]*\|[^|]*\|$1\$"; }

# start_pasting [WRAP]: the program shown, the wrap count typed (when given), book typed as the
# workbook's name and the start button pressed: the workbook is created on the Desktop.
start_pasting() {
  [[ -n $SESSION ]] || start_session 96
  prepare_program "$program"
  start_program HARUMADO_SIM_REPORT= SAL_USE_VCLPLUGIN=gen \
    SPEECHD_ADDRESS="${SPEECH_ADDRESS:-unix_socket:$SESSION/run/no-speech}" || return 1
  if [[ -n ${1:-} ]]; then
    click Form1.Text1
    xdotool type --delay 20 "$1"
    expect Form1.Text1.text "$1"
  fi
  click Form1.Text3
  xdotool type --delay 20 "book"
  expect Form1.Text3.text book
  click Form1.Command5
  wait_for 120 test -f "$(workbook_path)" || { fail "no workbook created on the Desktop"; return 1; }
}

# paste_first TEXT CELL "TYPE VALUE|FORMAT|SHOWN": once the paste loop watches the clipboard,
# the first copy lands in the first cell.
paste_first() {
  wait_for 60 paste_watching || {
    fail "no paste loop watches the clipboard: $(fact Program.paste-loops) loops, $(fact Program.paste-cycles) cycles"
    return 1
  }
  copy "$1"
  wait_for 20 cell_is "$2" "$3" || { fail "the first copy is not in $2: $(office cell "$2")"; return 1; }
  cycle_done
}

# cycle_done: the paste loop's cycle under way has ended (a paste seen in the cells is followed
# by the cursor step in the same cycle).
cycle_done() {
  local cycles
  cycles=$(fact Program.paste-cycles)
  wait_for 20 paste_watching "${cycles:-0}" 1 || { fail "the paste loop's cycle did not end"; return 1; }
}

# A copied number lands in A1 with the mode's format, a copied text below it.
case_paste_into_calc() {
  start_pasting || return
  paste_first "1,234.5" A1 "VALUE 1234.5|###0|1235" || return
  wait_for 10 row_is "A1 VALUE 1235" || fail "A1 as read by rows: $(office 4)"
  copy "売上"
  wait_for 10 row_is "A2 TEXT 売上" || fail "the copied text is not in A2: $(office 4)"
  expect Form1.Text2.text "$INTEGER_MESSAGE"
  mkdir -p "$PROGRAM_ARTIFACTS"
  import -window root "$PROGRAM_ARTIFACTS/calc-pasted.png" || true
  end_copier
  close_program
}

# With the wrap count 3 the cursor goes A1 B1 C1 then A2; each copy takes the mode's format (a
# text the general one). The stop press ends pasting: a copy after it is not pasted.
case_wrap_and_stop() {
  start_pasting 3 || return
  paste_first "1,234.5" A1 "VALUE 1234.5|###0|1235" || return
  copy "2"
  expect_cell B1 "VALUE 2|###0|2"
  copy "東京"
  expect_cell C1 "TEXT 東京|G/標準|東京"
  copy "7.6"
  expect_cell A2 "VALUE 7.6|###0|8"
  expect Form1.Text2.text "$INTEGER_MESSAGE"
  click Form1.Command5
  expect Form1.Command5.text "$STOPPED_CAPTION" 20
  expect Form1.Text2.text "セルに貼り付けは[ファイル名開く]ボタンを押して[貼り付け開始]ボタンにします。$(shown_workbook_path)" 20
  # The press is dispatched inside a cycle of the paste loop, which ends at the end of its
  # cycle; once no loop runs, nothing looks at the clipboard: a copy lands nowhere and no loop
  # starts for it.
  expect Program.paste-loops 0 20
  copy "99"
  if wait_for 2 cell_filled B2; then fail "a copy after the paste loop ended was pasted: $(office cell B2)"; fi
  expect Program.paste-loops 0
  end_copier
  close_program
}

# copy_fails_in_red TEXT: a copy that has no cell to go to ends the paste loop with its error in
# red: the message that asks for the presses that open the workbook again.
copy_fails_in_red() {
  local before
  before=$(fact Form1.Text2.text)
  text2_changed() { [[ $(fact Form1.Text2.text) != "$before" ]]; }
  copy "$1"
  wait_for 20 text2_changed || fail "the program did not report the failure: $(fact Form1.Text2.text)"
  expect Form1.Text2.text "ボタンを[貼り付け開始] →[ファイル名開く] → [貼り付け開始]順で押して下さい。[$(shown_workbook_path)]"
  expect Form1.Text2.forecolor "238,119,119"
}

# The LibreOffice ends (its user quits it) while pasting is on: the next copy pastes nothing and
# the paste loop ends with its error shown in red; the start button keeps the pasting look.
case_calc_ended() {
  start_pasting || return
  paste_first "12" A1 "VALUE 12|###0|12" || return
  end_office
  wait_for 30 office_gone || { fail "the LibreOffice did not end"; return; }
  copy_fails_in_red "13"
  expect Form1.Command5.text "$PASTING_CAPTION"
  end_copier
  close_program
}

# The user closes the workbook in Calc while pasting is on, LibreOffice going on: the next copy
# has no cell to go to, and the paste loop ends with its error in red. Pressing the start button
# twice (the stopped look, then the open) opens the workbook again from the Desktop, and pasting
# goes on in it.
case_workbook_closed() {
  start_pasting || return
  paste_first "12" A1 "VALUE 12|###0|12" || return
  office close || { fail "the workbook could not be closed"; return; }
  copy_fails_in_red "13"
  expect Program.paste-loops 0
  click Form1.Command5
  expect Form1.Command5.text "$STOPPED_CAPTION" 20
  local cycles
  cycles=$(fact Program.paste-cycles)
  click Form1.Command5
  expect Form1.Command5.text "$PASTING_CAPTION" 60
  wait_for 60 paste_watching "$cycles" 1 || { fail "pasting did not go on after the workbook was opened again"; return; }
  copy "14"
  expect_cell A1 "VALUE 14|###0|14" 20
  end_copier
  close_program
}

# The column-fit button after pasting: column A is fitted to its number, which stays.
case_column_fit() {
  start_pasting || return
  paste_first "123456789012345" A1 "VALUE 123456789012345|###0|123456789012345" || return
  local before
  before=$(office width A)
  [[ $before =~ ^[0-9]+$ ]] || { fail "no width of column A: $before"; return; }
  click Form1.Command2
  expect Form1.Text2.text "セル幅が自動調整されました。" 20
  local after
  after=$(office width A)
  if ! [[ $after =~ ^[0-9]+$ ]] || ((after <= before)); then
    fail "column A is not fitted to its number: width $before, then $after"
  fi
  expect_cell A1 "VALUE 123456789012345|###0|123456789012345"
  end_copier
  close_program
}

# The program closed while pasting: it ends and writes its settings file; the LibreOffice keeps
# running with the workbook open.
case_close_while_pasting() {
  start_pasting 4 || return
  paste_first "5" A1 "VALUE 5|###0|5" || return
  end_copier
  close_program
  [[ -f $(settings_file) ]] || { fail "no settings file after the close"; return; }
  grep -Eqx -- '-?[0-9]+,-?[0-9]+,4,1,1'$'\r' "$(settings_file)" ||
    fail "settings file: $(od -An -c "$(settings_file)")"
  expect_cell A1 "VALUE 5|###0|5"
}

# Read-aloud switched on while pasting: a copied text is pasted and spoken.
case_read_aloud() {
  start_session 96
  start_recorder || return
  start_pasting || return
  paste_first "3" A1 "VALUE 3|###0|3" || return
  click Form1.Check3
  expect Form1.Check3.checked 1
  copy "最初の文です"
  expect_cell A2 "TEXT 最初の文です|G/標準|最初の文です"
  wait_for 20 spoken "最初の文です" || fail "the copied text is not spoken: $(tr '\036' '\n' <"$SPOKEN" 2>&1)"
  end_copier
  close_program
}

# Not a test but a benchmark, run by the test command beside the other figures: 20 copies made
# by another program, each timed from the moment the copier holds the clipboard to the moment
# the program has pasted it into Calc and moved the cursor (both on the machine's monotonic
# clock: the copier prints its times, the program's windows report its last paste's), and from
# the program's read of the copied text to the same end (the paste and cursor step themselves).
# The loop looks at the clipboard every 500 ms after its cycle's work: a copy made right after a
# paste would always wait nearly all of it, so the copies are spread over that time (each made a
# different part of the 500 ms after the last paste), and the first figure spreads as a user's
# copies do.
case_copy_to_cursor_benchmark() {
  start_pasting 5 || return
  paste_first "1" A1 "VALUE 1|###0|1" || return
  local value before owned_at read_at pasted_at waits=() steps=()
  for value in $(seq 2 21); do
    before=$(fact Program.paste-changes)
    sleep "$(printf '0.%03d' $(((value * 103) % 500)))"
    copy "$value"
    wait_for 10 changes_beyond "$before" || { fail "copy $value was not pasted"; return; }
    owned_at=$(sed -n 's/^owned \([0-9]*\)$/\1/p' "$SESSION/copier.out")
    read_at=$(sed -n 's/^served text\/plain[^ ]* \([0-9]*\)$/\1/p' "$SESSION/copier.out" | head -n1)
    pasted_at=$(fact Program.paste-last-at)
    [[ -n $owned_at && -n $read_at && -n $pasted_at ]] ||
      { fail "copy $value: times missing ($(tr '\n' ' ' <"$SESSION/copier.out"), $pasted_at)"; return; }
    waits+=($(((pasted_at - owned_at) / 1000)))
    steps+=($(((pasted_at - read_at) / 1000)))
  done
  # Five to a row: the 20th copy ends row 4, the 21st starts row 5.
  expect_cell E4 "VALUE 20|###0|20"
  expect_cell A5 "VALUE 21|###0|21"
  end_copier
  close_program
  ((FAILURES == 0)) || return
  echo "copy -> cursor moved in Calc, ${#waits[@]} copies: $(figures "${waits[@]}")"
  echo "read of the copied text -> cursor moved (the paste and the cursor step): $(figures "${steps[@]}")"
}
changes_beyond() { (($(fact Program.paste-changes) > $1)); }
# figures MS...: median, least and most.
figures() {
  local sorted
  mapfile -t sorted < <(printf '%s\n' "$@" | sort -n)
  echo "median ${sorted[$((${#sorted[@]} / 2))]} ms, least ${sorted[0]} ms, most ${sorted[-1]} ms"
}

# Nothing may answer on the program's pipe before: the case needs the LibreOffice it starts.
if ! office_gone; then
  echo "a LibreOffice already listens on the pipe '$PIPE'" >&2
  exit 1
fi
trap 'end_copier; end_office; end_recorder; end_session' EXIT
"case_$journey"
end_copier
end_office
end_recorder
if ((FAILURES > 0)); then
  echo "calc-journeys $journey: $FAILURES expectation(s) failed" >&2
  exit 1
fi
echo "calc-journeys $journey: passed"
