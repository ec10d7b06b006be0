#pragma once
// The spreadsheet host over LibreOffice Calc, reached over UNO through a named pipe. Excel's
// operations map onto Calc's API; where Calc behaves otherwise (its paste, its format codes),
// the host does the work itself so that the program sees what Excel would show.
//
// Lifecycle: the host is created once by the program and destroyed at its end (creating it
// makes the process ignore SIGPIPE, which an ended LibreOffice's pipe would raise); the objects it
// returns keep their Calc connection alive while they exist. A LibreOffice that the host
// started keeps running after the host is destroyed, as Excel does, until Quit ends it.
#include <sys/types.h>

#include <memory>
#include <string>
#include <vector>

#include "calc/clipboard_source.h"
#include "platform/spreadsheet_host.h"

namespace harumado::calc {

// The pipe that the program's LibreOffice listens on.
inline constexpr char kDefaultPipeName[] = "harumado";

struct CalcHostOptions {
  std::string pipe_name = kDefaultPipeName;
  // soffice (the launcher script) that CreateObject starts.
  std::string program;
  // -env:UserInstallation for a started LibreOffice (a file:// URL); empty: the user's profile.
  std::string profile_url;
  // A started LibreOffice runs without windows (for tests).
  bool headless = false;
  // How long CreateObject waits for a started LibreOffice to answer on the pipe.
  int start_timeout_ms = 60000;
};

class CalcGlobalApplication;

class CalcHost final : public platform::SpreadsheetHost {
 public:
  CalcHost(CalcHostOptions options, ClipboardSource& clipboard);
  ~CalcHost() override;
  CalcHost(const CalcHost&) = delete;
  CalcHost& operator=(const CalcHost&) = delete;

  // The LibreOffice listening on the pipe; 429 when none does.
  std::unique_ptr<platform::ExcelApplication> GetActiveObject() override;
  // The LibreOffice listening on the pipe, started (hidden) when none does; 429 when it cannot
  // be started, 0x80080005 when it started but did not answer in time.
  std::unique_ptr<platform::ExcelApplication> CreateObject() override;
  platform::ExcelApplication& GlobalApplication() override;
  // Every format but xlsb, which Calc reads but cannot write.
  bool CanSaveFileFormat(int file_format) override;
  // LibreOffice serves a call as soon as it can and never rejects one as busy: nothing to set.
  void SetBusyPolicy(int timeout_ms) override;

  // The process groups of the LibreOffice processes this host started (each started process
  // leads a group of its own), for an owner that must end them.
  const std::vector<pid_t>& started_process_groups() const { return started_; }

  // Whether something listens on the pipe now.
  bool IsRunning();

 private:
  CalcHostOptions options_;
  ClipboardSource& clipboard_;
  std::vector<pid_t> started_;
  std::unique_ptr<CalcGlobalApplication> global_;
};

}  // namespace harumado::calc
