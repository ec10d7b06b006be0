// A workbook and a selected range of Excel's object model as the host's objects.
#include <string>

#include "automation/excel_members.h"
#include "automation/late_bound_objects.h"
#include "runtime/conversions.h"

namespace harumado::automation {
namespace {

class LateBoundWorkbook final : public platform::ExcelWorkbook {
 public:
  explicit LateBoundWorkbook(ObjectRef workbook) : workbook_(std::move(workbook)) {}

  std::wstring Name() override {
    return rt::TextForm(workbook_->Get(excel::workbook::kName).value());
  }

  // SaveAs(Filename, FileFormat), by position.
  void SaveAs(const std::wstring& path, int file_format) override {
    workbook_->Call(excel::workbook::kSaveAs,
                    {rt::Value::Text(path), rt::Value::Number(file_format)});
  }

  void Close(bool save_changes) override {
    workbook_->Call(excel::workbook::kClose, {rt::Value::Logical(save_changes)});
  }

 private:
  ObjectRef workbook_;
};

class LateBoundRange final : public platform::ExcelRange {
 public:
  explicit LateBoundRange(ObjectRef range) : range_(std::move(range)) {}
  void Select() override { range_->Call(excel::range::kSelect); }

 private:
  ObjectRef range_;
};

}  // namespace

std::unique_ptr<platform::ExcelWorkbook> MakeLateBoundWorkbook(ObjectRef workbook) {
  return std::make_unique<LateBoundWorkbook>(std::move(workbook));
}

std::unique_ptr<platform::ExcelRange> MakeLateBoundRange(ObjectRef range) {
  return std::make_unique<LateBoundRange>(std::move(range));
}

}  // namespace harumado::automation
