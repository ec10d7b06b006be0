#pragma once
// How automation servers are reached: by class name (ProgID), as the platform's automation
// runtime offers it. Implemented over COM on Windows and over the simulated spreadsheet.
#include <string_view>

#include "automation/dispatch.h"

namespace harumado::automation {

class AutomationRuntime {
 public:
  virtual ~AutomationRuntime() = default;
  // The running instance registered for the class (GetObject with a class name); 429 when
  // none runs.
  virtual ObjectRef GetActiveObject(std::wstring_view prog_id) = 0;
  // A new object of the class (CreateObject); 429 when the class is unknown.
  virtual ObjectRef CreateObject(std::wstring_view prog_id) = 0;
  // Whether the class is known on this machine.
  virtual bool HasClass(std::wstring_view prog_id) = 0;
  // Whether an instance of the class is running (registered as the active object).
  virtual bool IsRunning(std::wstring_view prog_id) = 0;
  // A call that the server rejects as busy is retried for timeout_ms, then fails with
  // 0x80010001; no busy dialog is shown.
  virtual void SetBusyTimeout(int timeout_ms) = 0;
};

}  // namespace harumado::automation
