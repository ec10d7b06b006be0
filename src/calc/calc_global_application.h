#pragma once
// The application that Excel's Global object gives, over Calc: bound on first use to the
// LibreOffice on the program's pipe (started when none listens) and kept; once bound, binding
// again reaches only a LibreOffice that listens, and with none a call fails as a call to an
// ended one does (0x800706BA).
#include "automation/rebinding_application.h"

namespace harumado::calc {

class CalcHost;

class CalcGlobalApplication final : public automation::RebindingApplication {
 public:
  explicit CalcGlobalApplication(CalcHost& host) : host_(host) {}

 private:
  std::unique_ptr<platform::ExcelApplication> Reach() override;

  CalcHost& host_;
  bool ever_bound_ = false;
};

}  // namespace harumado::calc
