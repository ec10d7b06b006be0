#include "core/workbook/run_excel.h"

#include <utility>

#include "runtime/automation_error.h"

namespace harumado::workbook {

RunExcel::~RunExcel() { Release(); }

void RunExcel::UseStarted(std::unique_ptr<platform::ExcelApplication> app) {
  Use({std::move(app), true});
}

void RunExcel::UseKept(std::unique_ptr<platform::ExcelApplication> app) {
  Use({std::move(app), false});
}

// The instance that is replaced stays until the run lets go of its applications, as the
// workbook the run holds may belong to it.
void RunExcel::Use(Held held) {
  if (current_.app && current_.quit_when_let_go) {
    replaced_.push_back(std::move(current_));
  } else {
    LetGo(current_);
  }
  current_ = std::move(held);
}

platform::ExcelApplication& RunExcel::app() {
  if (!current_.app) throw rt::AutomationError(rt::err::kObjectNotSet);
  return *current_.app;
}

void RunExcel::Quit() {
  app().Quit();
  current_.quit_when_let_go = false;
}

void RunExcel::Release() noexcept {
  LetGo(current_);
  for (Held& held : replaced_) LetGo(held);
  replaced_.clear();
}

// The workbook of a hidden instance that is let go early is new and unsaved: with alerts off,
// Quit discards it instead of asking, in a window nobody sees, whether to save it.
void RunExcel::LetGo(Held& held) noexcept {
  if (held.app && held.quit_when_let_go) {
    try {
      held.app->SetDisplayAlerts(false);
    } catch (const rt::AutomationError&) {
      // Quit is tried all the same.
    }
    try {
      held.app->Quit();
    } catch (const rt::AutomationError&) {
      // The instance is gone already, or does not answer; nothing more can be done.
    }
  }
  held.app.reset();
  held.quit_when_let_go = false;
}

}  // namespace harumado::workbook
