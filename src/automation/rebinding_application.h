#pragma once
// Excel's Global object as the program keeps it: an application bound on first use and kept for
// the program run. A call that finds the bound server gone still fails, and drops the binding,
// so that the next use binds afresh. How a binding is reached is the deriving class's part.
#include <memory>

#include "platform/spreadsheet_host.h"

namespace harumado::automation {

class RebindingApplication : public platform::ExcelApplication {
 public:
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

 protected:
  // The application to bind to; raises the automation error when none can be reached.
  virtual std::unique_ptr<platform::ExcelApplication> Reach() = 0;
  // Called when the binding is dropped because its server has gone.
  virtual void Dropped() {}
  // Replaces the binding at once.
  void BindTo(std::unique_ptr<platform::ExcelApplication> application);

 private:
  template <typename Call>
  auto Through(Call call);

  std::unique_ptr<platform::ExcelApplication> bound_;
};

}  // namespace harumado::automation
