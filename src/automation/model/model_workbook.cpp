// A workbook: its name, SaveAs and Close.
#include "automation/model/model_objects.h"
#include "automation/model/model_support.h"
#include "platform/spreadsheet_host.h"
#include "runtime/conversions.h"

namespace harumado::automation::model {
namespace {

class WorkbookModel final : public ModelObject {
 public:
  explicit WorkbookModel(std::unique_ptr<platform::ExcelWorkbook> workbook)
      : workbook_(std::move(workbook)) {}
  std::wstring_view type_name() const override { return L"Workbook"; }

  // SaveAs(Filename, FileFormat): without a format the workbook is saved as .xlsx; Close
  // without an argument leaves the changes unsaved.
  Variant Handle(std::wstring_view name, CallKind kind, Arguments args) override {
    if (SameName(name, L"Name") && IsRead(kind, args)) return rt::Value::Text(workbook_->Name());
    if (SameName(name, L"SaveAs") && IsMethod(kind)) {
      if (args.empty()) RequireCount(args, 1);
      const int format = args.size() > 1 && !ValueArgument(args, 1).is_empty()
                             ? LongArgument(args, 1)
                             : platform::file_format::kXlsx;
      workbook_->SaveAs(rt::TextForm(ValueArgument(args, 0)), format);
      return {};
    }
    if (SameName(name, L"Close") && IsMethod(kind)) {
      workbook_->Close(!args.empty() && LogicalArgument(args, 0));
      return {};
    }
    NotSupported();
  }

 private:
  std::unique_ptr<platform::ExcelWorkbook> workbook_;
};

}  // namespace

ModelRef ServeWorkbook(std::unique_ptr<platform::ExcelWorkbook> workbook) {
  return std::make_shared<WorkbookModel>(std::move(workbook));
}

}  // namespace harumado::automation::model
