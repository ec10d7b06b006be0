#pragma once
// The automation objects the host hands out: each refers to its instance (and workbook, sheet)
// and passes every call through the host's call gate, so calls fail once the instance ends.
#include <memory>

#include "platform/spreadsheet_host.h"
#include "sim/excel/instance.h"

namespace harumado::sim {

class SimExcel;

// An application object; counted among the host's live objects when the program owns it.
std::unique_ptr<platform::ExcelApplication> MakeApplicationObject(
    SimExcel& host, std::shared_ptr<ExcelInstance> instance, bool counted);

// Excel's Global object: bound to an instance on first use and kept for the program run.
// A call that finds its instance gone (0x800706BA) still fails, and drops the binding, so the
// next use binds afresh.
class GlobalApplicationObject : public platform::ExcelApplication {
 public:
  explicit GlobalApplicationObject(SimExcel& host) : host_(host) {}
  void Bind(std::shared_ptr<ExcelInstance> instance);
  bool bound() const { return bound_ != nullptr; }
  const ExcelInstance* instance() const { return instance_.get(); }

  void SetVisible(bool visible) override;
  void SetDisplayAlerts(bool display) override;
  std::unique_ptr<platform::ExcelWorkbook> OpenWorkbook(const std::wstring& path) override;
  std::unique_ptr<platform::ExcelWorkbook> AddWorkbook() override;
  void Quit() override;
  platform::WindowHandle Hwnd() override;
  std::vector<int> ClipboardFormats() override;
  std::unique_ptr<platform::ExcelSheet> ActiveSheet() override;
  double GetActiveCell(platform::ActiveCellProperty property) override;
  void SelectOffset(std::int16_t rows, const rt::Value& columns) override;
  std::unique_ptr<platform::ExcelRange> RangeSelection() override;

 private:
  template <typename Call>
  auto Through(Call call);

  SimExcel& host_;
  std::shared_ptr<ExcelInstance> instance_;
  std::unique_ptr<platform::ExcelApplication> bound_;
};

}  // namespace harumado::sim
