#pragma once
// The spreadsheet host over late-bound automation: every operation is a call by member name on
// Excel's object model ("Excel.Application"), through whatever runtime reaches the server.
#include <memory>

#include "automation/runtime.h"
#include "platform/spreadsheet_host.h"

namespace harumado::automation {

class GlobalApplication;

class LateBoundHost final : public platform::SpreadsheetHost {
 public:
  explicit LateBoundHost(AutomationRuntime& runtime);
  ~LateBoundHost() override;
  LateBoundHost(const LateBoundHost&) = delete;
  LateBoundHost& operator=(const LateBoundHost&) = delete;

  std::unique_ptr<platform::ExcelApplication> GetActiveObject() override;
  std::unique_ptr<platform::ExcelApplication> CreateObject() override;
  platform::ExcelApplication& GlobalApplication() override;
  void SetBusyPolicy(int timeout_ms) override;

 private:
  AutomationRuntime& runtime_;
  std::unique_ptr<automation::GlobalApplication> global_;
};

}  // namespace harumado::automation
