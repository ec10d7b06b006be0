#pragma once
// The application reached through Excel's Global object: bound to a running Excel on first
// use and kept for the program run.
#include <memory>

#include "automation/runtime.h"
#include "platform/spreadsheet_host.h"

namespace harumado::automation {

class GlobalApplication final : public platform::ExcelApplication {
 public:
  explicit GlobalApplication(AutomationRuntime& runtime) : runtime_(runtime) {}

  // Binds unless bound; a failure leaves it unbound, and the next call reports it.
  void BindQuietly();
  bool bound() const { return bound_ != nullptr; }

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
  void Bind();
  template <typename Call>
  auto Through(Call call);

  AutomationRuntime& runtime_;
  std::unique_ptr<platform::ExcelApplication> bound_;
  bool ever_bound_ = false;
};

}  // namespace harumado::automation
