// The picture branch of the paste loop: Excel pastes the clipboard picture, with one retry, and
// the program places it on the active cell, at its pasted size (ModeFlag 1) or stretched to the
// cell and bound to it (ModeFlag 0).
//
// Runs in the loop's skip mode and relies on it: a failed attempt leaves its error number
// recorded, which the retry reads and clears; a failing shape step is skipped.
#include <cstdint>
#include <memory>

#include "core/app/form1.h"
#include "core/app/program.h"
#include "core/paste/excel_access.h"
#include "core/paste/module1.h"
#include "core/paste/paste_modes.h"
#include "core/paste/show_mode.h"
#include "runtime/automation_error.h"
#include "runtime/skip_mode.h"

namespace harumado::paste {
namespace {

using platform::ActiveCellProperty;
using platform::ShapeProperty;

constexpr int kRetryWaitMs = 200;
constexpr int kSettleWaitMs = 300;

}  // namespace

void PastePicture(app::Program& program, rt::SkipMode& skip) {
  app::Form1& form = program.form1();
  const std::int32_t& ModeFlag = form.state.ModeFlag;  // read afresh at every step
  auto& windows = program.os.windows;
  auto paste = [&] { skip.Run([&] { ActiveSheetOf(program)->PastePicture(); }); };

  // Two attempts, 200 ms apart. Each attempt is judged by its own outcome: an error left
  // by the loop's earlier steps (Excel could not list the formats) must not count as a failed
  // attempt, or a picture that pasted would be pasted a second time.
  skip.clear();
  int PasteAttempt = 0;
  paste();
  for (;;) {
    if (PasteAttempt == 1) {
      paste();
    } else if (PasteAttempt == 2) {
      skip.set_error(rt::err::kApplicationDefined);
      program.paste.PictureFailed = 1;
      break;
    }
    skip.Run([&] { windows.DoEvents(); });
    if (skip.error() == 0) break;
    ++PasteAttempt;
    skip.clear();
    skip.Run([&] { windows.Sleep(kRetryWaitMs); });
  }

  // Both attempts failed: no shape is touched, Check2 and Text2 stay.
  if (skip.error() != 0) return;

  // The new picture is the last shape of the active sheet.
  std::unique_ptr<platform::ExcelSheet> sheet;
  int index = 0;
  skip.Run([&] {
    sheet = ActiveSheetOf(program);
    index = sheet->ShapeCount();
  });
  auto set = [&](ShapeProperty property, auto&& value) {
    skip.Run([&] {
      if (!sheet) throw rt::AutomationError(rt::err::kObjectNotSet);
      sheet->SetShapeProperty(index, property, value());
    });
  };
  auto cell = [&program](ActiveCellProperty property) {
    return [&program, property] { return GlobalExcel(program).GetActiveCell(property); };
  };
  auto constant = [](double v) { return [v] { return v; }; };

  if (skip.Test([&] { return ModeFlag == 0; })) {
    set(ShapeProperty::kLockAspectRatio, constant(platform::mso::kFalse));
  }
  if (skip.Test([&] { return ModeFlag == 0; })) {
    set(ShapeProperty::kPlacement, constant(platform::placement::kMoveAndSize));
  }
  set(ShapeProperty::kLeft, cell(ActiveCellProperty::kLeft));
  set(ShapeProperty::kTop, cell(ActiveCellProperty::kTop));
  if (skip.Test([&] { return ModeFlag == 0; })) {
    set(ShapeProperty::kWidth, cell(ActiveCellProperty::kWidth));
    set(ShapeProperty::kHeight, cell(ActiveCellProperty::kHeight));
  }
  // The caption follows the content: 画像 or 画像□, in the pair of the current ModeFlag.
  if (skip.Test([&] { return ModeFlag == 1; })) ShowMode(form, kPasteModes[2]);
  if (skip.Test([&] { return ModeFlag == 0; })) ShowMode(form, kPasteModes[3]);
  // A picture stretched to its cell is given 300 ms, and pending events run, before the cursor
  // moves on.
  if (skip.Test([&] { return ModeFlag == 0; })) {
    skip.Run([&] { windows.Sleep(kSettleWaitMs); });
    skip.Run([&] { windows.DoEvents(); });
  }
}

}  // namespace harumado::paste
