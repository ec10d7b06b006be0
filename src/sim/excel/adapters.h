#pragma once
// The automation objects the host hands out: each refers to its instance (and workbook, sheet)
// and passes every call through the host's call gate, so calls fail once the instance ends.
#include <memory>

#include "automation/rebinding_application.h"
#include "platform/spreadsheet_host.h"
#include "sim/excel/instance.h"

namespace harumado::sim {

class SimExcel;

// An application object; counted among the host's live objects when the program owns it.
std::unique_ptr<platform::ExcelApplication> MakeApplicationObject(
    SimExcel& host, std::shared_ptr<ExcelInstance> instance, bool counted);

// Excel's Global object: bound to an instance on first use and kept for the program run, as
// the program keeps it over automation.
class GlobalApplicationObject : public automation::RebindingApplication {
 public:
  explicit GlobalApplicationObject(SimExcel& host) : host_(host) {}
  // Binds to that instance at once (the world points the Global object at another instance).
  void Bind(std::shared_ptr<ExcelInstance> instance);
  const ExcelInstance* instance() const { return instance_.get(); }

 private:
  std::unique_ptr<platform::ExcelApplication> Reach() override;
  void Dropped() override { instance_.reset(); }
  std::unique_ptr<platform::ExcelApplication> ObjectOf(std::shared_ptr<ExcelInstance> instance);

  SimExcel& host_;
  std::shared_ptr<ExcelInstance> instance_;
};

}  // namespace harumado::sim
