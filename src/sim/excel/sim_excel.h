#pragma once
// The simulated spreadsheet application. (Not built yet: no instance can run.)
#include "platform/spreadsheet_host.h"
#include "sim/world.h"

namespace harumado::sim {

class SimExcel : public platform::SpreadsheetHost {
 public:
  explicit SimExcel(World& world) : world_(world) {}
  std::unique_ptr<platform::ExcelApplication> GetActiveObject() override;
  std::unique_ptr<platform::ExcelApplication> CreateObject() override;
  platform::ExcelApplication& GlobalApplication() override;
  void SetBusyPolicy(int timeout_ms) override { busy_wait_ms = timeout_ms; }
  int busy_wait_ms = 0;
  // The main window of the active instance, or 0.
  platform::WindowHandle ActiveWindowHandle() const { return 0; }

 private:
  World& world_;
};

}  // namespace harumado::sim
