#pragma once
// The Excel application object that one run of the open step works with.
#include <memory>
#include <vector>

#include "platform/spreadsheet_host.h"

namespace harumado::workbook {

// Holds the application of a run and releases it when the run lets it go or ends, whichever
// way it ends. A hidden instance that the run started is quit then unless the run quit it
// itself: an error that ends the run, or the trap's start of a visible instance in its place,
// leaves no invisible Excel behind. An instance the run attached to, or started visible, stays
// running.
class RunExcel {
 public:
  RunExcel() = default;
  ~RunExcel();
  RunExcel(const RunExcel&) = delete;
  RunExcel& operator=(const RunExcel&) = delete;

  // A hidden instance the run started: it is quit when let go.
  void UseStarted(std::unique_ptr<platform::ExcelApplication> app);
  // An instance that stays running when let go.
  void UseKept(std::unique_ptr<platform::ExcelApplication> app);
  // The application in use; error 91 when the run holds none.
  platform::ExcelApplication& app();
  // The run's own Quit of the application in use.
  void Quit();
  // Lets go of every application of the run, quitting the started ones not yet quit. Failures
  // of that quit are ignored: the run is ending, or going on without that instance.
  void Release() noexcept;

 private:
  struct Held {
    std::unique_ptr<platform::ExcelApplication> app;
    bool quit_when_let_go = false;
  };
  void Use(Held held);
  static void LetGo(Held& held) noexcept;

  Held current_;
  std::vector<Held> replaced_;  // started instances that another took the place of
};

}  // namespace harumado::workbook
