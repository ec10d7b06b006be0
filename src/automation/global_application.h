#pragma once
// The application reached through Excel's Global object over automation: bound to a running
// Excel on first use and kept for the program run.
#include <memory>

#include "automation/rebinding_application.h"
#include "automation/runtime.h"

namespace harumado::automation {

class GlobalApplication final : public RebindingApplication {
 public:
  explicit GlobalApplication(AutomationRuntime& runtime) : runtime_(runtime) {}

 private:
  std::unique_ptr<platform::ExcelApplication> Reach() override;

  AutomationRuntime& runtime_;
  bool ever_bound_ = false;
};

}  // namespace harumado::automation
