// The clipboard watch loop: twice a second it compares the clipboard sequence number with the
// one it saw last and pastes every change into Excel's active cell.
#include <algorithm>
#include <cstdint>
#include <string>

#include "core/app/form1.h"
#include "core/app/program.h"
#include "core/paste/excel_access.h"
#include "core/paste/module1.h"
#include "core/workbook/workbook_path.h"
#include "platform/spreadsheet_host.h"
#include "platform/window_system.h"
#include "runtime/automation_error.h"
#include "runtime/conversions.h"
#include "runtime/skip_mode.h"

namespace harumado::paste {
namespace {

constexpr int kCycleMs = 500;

// The start-up trap: a wrap count that cannot be read ends the loop before anything is pasted.
// PasteActive and the look of Command5 stay as the press left them.
void ReportStartError(app::Form1& form, std::int32_t number) {
  const std::wstring& typed = form.Text3().text();
  const std::wstring path = workbook::WorkbookPath(form.program.os.shell.DesktopFolder(), typed);
  form.ShowError(L"開いている[ " + workbook::WorkbookName(typed) +
                 L" ]を閉じてから[貼り付け開始]ボタンを押して下さい。S2-" +
                 rt::ErrorNumberText(number) + L" " + path);
}

// Excel decides what the clipboard offers; text is tested first because a copy of
// cells offers pictures too. When Excel cannot give the list, the picture branch is taken: it
// leaves the cells alone and, when it fails, keeps the cursor where it was.
bool TextOnClipboard(app::Program& program, rt::SkipMode& skip) {
  bool text = false;
  skip.Run([&] {
    for (const int code : GlobalExcel(program).ClipboardFormats()) {
      if (code == platform::kClipboardFormatText) {
        text = true;
        break;
      }
    }
  });
  return text;
}

// One change: bring Excel forward, end a cell edit under way with Escape, and paste by kind.
// Every failure in here is skipped; leaving skip mode drops the recorded error.
void PasteChange(app::Program& program) {
  auto& windows = program.os.windows;
  const platform::WindowHandle excel = program.form1().state.ExcelHwnd;
  rt::SkipMode skip;
  skip.Run([&] { windows.SetForegroundWindow(excel); });
  skip.Run([&] { windows.PostMessage(excel, platform::kWmKeyDown, platform::kVkEscape, 0); });
  skip.Run([&] { windows.PostMessage(excel, platform::kWmKeyUp, platform::kVkEscape, 0); });
  skip.Run([&] { windows.DoEvents(); });
  if (program.exited()) return;  // the main window closed during the dispatch
  if (TextOnClipboard(program, skip)) {
    PasteText(program, skip);
  } else {
    PastePicture(program, skip);
  }
  skip.clear();
}

// Counts a loop as running from the moment it watches the clipboard until it returns, by any
// way out.
class RunningLoop {
 public:
  explicit RunningLoop(LoopActivity& activity) : activity_(activity) {
    ++activity_.loops_running;
    Tell();
  }
  ~RunningLoop() {
    --activity_.loops_running;
    Tell();
  }
  RunningLoop(const RunningLoop&) = delete;
  RunningLoop& operator=(const RunningLoop&) = delete;
  void CycleDone(bool pasted) {
    ++activity_.cycles_done;
    if (pasted) ++activity_.changes_pasted;
    Tell();
  }

 private:
  void Tell() {
    if (activity_.changed) activity_.changed();
  }
  LoopActivity& activity_;
};

}  // namespace

// The loop has three error modes. Until the first change of the run is processed, the start-up
// trap reports any error and ends the loop. While a change is pasted (PasteChange) failures are
// skipped. After that nothing is trapped here: an error of the cursor step, or of a later cycle,
// ends the loop and reaches the trap of the press that called it. A stop press dispatched in
// here runs a nested loop of its own, with its own sequence number and wrap counter.
void PasteLoop(app::Program& program) {
  app::Form1& form = program.form1();
  auto& os = program.os;
  bool trap_armed = true;
  // Runs steps under the start-up trap while it is armed; false when the trap fired.
  auto trapped = [&](auto&& steps) {
    if (!trap_armed) {
      steps();
      return true;
    }
    try {
      steps();
      return true;
    } catch (const rt::AutomationError& e) {
      ReportStartError(form, e.number());
      return false;
    }
  };

  std::int32_t RowCellCount = 0;
  std::uint32_t LastSequence = 0;
  std::uint32_t CurrentSequence = 0;
  if (!trapped([&] {
        // A count below 1 (typed in through the context menu) would never move the cursor, and
        // every paste would overwrite the one before: it counts as 1.
        form.state.WrapCount = std::max(rt::ToInt32(form.Text1().text()), std::int32_t{1});
        LastSequence = os.clipboard.SequenceNumber();
      })) {
    return;
  }

  RunningLoop running(program.paste.activity);
  bool active = true;
  while (active) {
    bool changed = false;
    bool secret = false;
    if (!trapped([&] {
          os.windows.DoEvents();
          if (program.exited()) return;
          CurrentSequence = os.clipboard.SequenceNumber();
          changed = CurrentSequence != LastSequence;
          secret = changed && os.clipboard.IsExcludedFromMonitors();
        })) {
      return;
    }
    // A close of the main window dispatched above has stopped pasting and ended the program:
    // the loop returns at once, so nothing is pasted, shown or moved after the end.
    if (program.exited()) return;
    if (secret) {
      // Content that its owner keeps from clipboard monitors (a password) is taken as seen and
      // passed over: Excel is not touched, the cursor stays, nothing is written.
      LastSequence = CurrentSequence;
    } else if (changed) {
      trap_armed = false;
      PasteChange(program);
      if (program.exited()) return;
      LastSequence = CurrentSequence;
      AdvanceCursor(program, RowCellCount);
    }
    // A change that was not a secret has been pasted (what failed in it skipped) and the cursor
    // moved by now: a failure of the cursor step has left the loop.
    running.CycleDone(changed && !secret);
    if (!trapped([&] {
          os.windows.Sleep(kCycleMs);
          active = form.state.PasteActive != 0;
        })) {
      return;
    }
  }
}

}  // namespace harumado::paste
