#pragma once
// The automation runtime of the simulated desktop: the classes "Excel.Application" and
// "Excel.Global" are served by the object model over the simulated spreadsheet application,
// and every call crosses the in-process wire, so that the late-bound host runs unchanged
// against the simulation.
#include "automation/model/in_process_wire.h"
#include "automation/runtime.h"
#include "sim/excel/sim_excel.h"

namespace harumado::sim {

class LoopbackRuntime final : public automation::AutomationRuntime {
 public:
  explicit LoopbackRuntime(SimExcel& excel) : excel_(excel) {}

  automation::ObjectRef GetActiveObject(std::wstring_view prog_id) override;
  automation::ObjectRef CreateObject(std::wstring_view prog_id) override;
  bool HasClass(std::wstring_view prog_id) override;
  bool IsRunning(std::wstring_view prog_id) override;
  void SetBusyTimeout(int timeout_ms) override { excel_.SetBusyPolicy(timeout_ms); }

  // Whether "Excel.Global" is registered (it is by default).
  bool global_class = true;
  automation::model::WireStats& wire() { return wire_; }

 private:
  SimExcel& excel_;
  automation::model::WireStats wire_;
};

}  // namespace harumado::sim
