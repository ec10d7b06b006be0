// Excel's Application object as the host's application: every operation is one or a few
// late-bound calls, and every object it passes through is released at the end of the
// operation.
#include <string>

#include "automation/excel_members.h"
#include "automation/late_bound_objects.h"
#include "runtime/automation_error.h"

namespace harumado::automation {
namespace {

namespace app = excel::application;

const Member& ActiveCellMember(platform::ActiveCellProperty property) {
  switch (property) {
    case platform::ActiveCellProperty::kRow:
      return excel::range::kRow;
    case platform::ActiveCellProperty::kColumn:
      return excel::range::kColumn;
    case platform::ActiveCellProperty::kLeft:
      return excel::range::kLeft;
    case platform::ActiveCellProperty::kTop:
      return excel::range::kTop;
    case platform::ActiveCellProperty::kWidth:
      return excel::range::kWidth;
    case platform::ActiveCellProperty::kHeight:
      break;
  }
  return excel::range::kHeight;
}

class LateBoundApplication final : public platform::ExcelApplication {
 public:
  explicit LateBoundApplication(ObjectRef application) : app_(std::move(application)) {}

  void SetVisible(bool visible) override { app_->Put(app::kVisible, rt::Value::Logical(visible)); }

  void SetDisplayAlerts(bool display) override {
    app_->Put(app::kDisplayAlerts, rt::Value::Logical(display));
  }

  std::unique_ptr<platform::ExcelWorkbook> OpenWorkbook(const std::wstring& path) override {
    const ObjectRef workbooks = app_->GetObject(app::kWorkbooks);
    return MakeLateBoundWorkbook(
        workbooks->Call(excel::workbooks::kOpen, {rt::Value::Text(path)}).object());
  }

  std::unique_ptr<platform::ExcelWorkbook> AddWorkbook() override {
    const ObjectRef workbooks = app_->GetObject(app::kWorkbooks);
    return MakeLateBoundWorkbook(workbooks->Call(excel::workbooks::kAdd).object());
  }

  void Quit() override { app_->Call(app::kQuit); }

  // Hwnd is a Long; window handles keep their meaning in 32 bits.
  platform::WindowHandle Hwnd() override {
    return static_cast<platform::WindowHandle>(LongOf(app_->Get(app::kHwnd)));
  }

  // A list of format codes; a single code may come as a plain value.
  std::vector<int> ClipboardFormats() override {
    const Variant formats = app_->Get(app::kClipboardFormats);
    std::vector<int> codes;
    if (!formats.is_array()) {
      codes.push_back(LongOf(formats));
      return codes;
    }
    for (const rt::Value& code : formats.array().items) codes.push_back(LongOf(code));
    return codes;
  }

  std::unique_ptr<platform::ExcelSheet> ActiveSheet() override {
    const Variant sheet = app_->Get(app::kActiveSheet);
    if (sheet.is_nothing()) return nullptr;
    return MakeLateBoundSheet(sheet.object());
  }

  // ActiveCell is Nothing without a workbook; reading through it is then error 91.
  double GetActiveCell(platform::ActiveCellProperty property) override {
    return NumberOf(app_->GetObject(app::kActiveCell)->Get(ActiveCellMember(property)));
  }

  void SelectOffset(std::int16_t rows, const rt::Value& columns) override {
    const ObjectRef cell = app_->GetObject(app::kActiveCell);
    const ObjectRef target =
        cell->GetObject(excel::range::kOffset, {rt::Value::Number(rows), columns});
    target->Call(excel::range::kSelect);
  }

  std::unique_ptr<platform::ExcelRange> RangeSelection() override {
    const Variant window = app_->Get(app::kActiveWindow);
    if (window.is_nothing()) return nullptr;
    return MakeLateBoundRange(window.object()->GetObject(excel::window::kRangeSelection));
  }

 private:
  ObjectRef app_;
};

}  // namespace

std::unique_ptr<platform::ExcelApplication> MakeLateBoundApplication(ObjectRef application) {
  return std::make_unique<LateBoundApplication>(std::move(application));
}

}  // namespace harumado::automation
