// Application, Workbooks, Window and the Global object.
#include <string>

#include "automation/model/model_objects.h"
#include "automation/model/model_support.h"
#include "runtime/conversions.h"

namespace harumado::automation::model {
namespace {

class WorkbooksModel final : public ModelObject {
 public:
  explicit WorkbooksModel(ApplicationRef application) : app_(std::move(application)) {}
  std::wstring_view type_name() const override { return L"Workbooks"; }

  // Open(Filename, ...): only the file name is used; Add() makes a new workbook.
  Variant Handle(std::wstring_view name, CallKind kind, Arguments args) override {
    if (SameName(name, L"Open") && IsMethod(kind)) {
      if (args.empty()) RequireCount(args, 1);
      return ServeWorkbook(app_->OpenWorkbook(rt::TextForm(ValueArgument(args, 0))));
    }
    if (SameName(name, L"Add") && IsMethod(kind)) return ServeWorkbook(app_->AddWorkbook());
    NotSupported();
  }

 private:
  ApplicationRef app_;
};

class WindowModel final : public ModelObject {
 public:
  explicit WindowModel(std::shared_ptr<platform::ExcelRange> selection)
      : selection_(std::move(selection)) {}
  std::wstring_view type_name() const override { return L"Window"; }

  Variant Handle(std::wstring_view name, CallKind kind, Arguments args) override {
    if (SameName(name, L"RangeSelection") && IsRead(kind, args)) return ServeSelection(selection_);
    NotSupported();
  }

 private:
  std::shared_ptr<platform::ExcelRange> selection_;
};

class ApplicationModel final : public ModelObject {
 public:
  explicit ApplicationModel(ApplicationRef application) : app_(std::move(application)) {}
  std::wstring_view type_name() const override { return L"Application"; }

  Variant Handle(std::wstring_view name, CallKind kind, Arguments args) override {
    if (SameName(name, L"Visible") && IsWrite(kind, args)) {
      app_->SetVisible(LogicalArgument(args, 0));
      return {};
    }
    if (SameName(name, L"DisplayAlerts") && IsWrite(kind, args)) {
      app_->SetDisplayAlerts(LogicalArgument(args, 0));
      return {};
    }
    if (SameName(name, L"Workbooks") && IsRead(kind, args)) {
      return ModelRef(std::make_shared<WorkbooksModel>(app_));
    }
    if (SameName(name, L"Quit") && IsMethod(kind)) {
      app_->Quit();
      return {};
    }
    if (SameName(name, L"Hwnd") && IsRead(kind, args)) {
      return rt::Value::Number(static_cast<double>(app_->Hwnd()));
    }
    if (SameName(name, L"ClipboardFormats") && IsRead(kind, args)) return Formats();
    if (SameName(name, L"ActiveSheet") && IsRead(kind, args)) {
      SheetRef sheet = app_->ActiveSheet();
      if (!sheet) return Variant::Nothing();
      return ServeWorksheet(std::move(sheet));
    }
    if (SameName(name, L"ActiveCell") && IsRead(kind, args)) return ServeActiveCell(app_);
    if (SameName(name, L"ActiveWindow") && IsRead(kind, args)) {
      std::shared_ptr<platform::ExcelRange> selection = app_->RangeSelection();
      if (!selection) return Variant::Nothing();
      return ModelRef(std::make_shared<WindowModel>(std::move(selection)));
    }
    NotSupported();
  }

 private:
  // A list of the codes, one dimension.
  Variant Formats() {
    Array list;
    for (const int code : app_->ClipboardFormats()) list.items.push_back(rt::Value::Number(code));
    list.rows = static_cast<std::int32_t>(list.items.size());
    return list;
  }

  ApplicationRef app_;
};

class GlobalModel final : public ModelObject {
 public:
  explicit GlobalModel(ApplicationRef application) : app_(std::move(application)) {}
  std::wstring_view type_name() const override { return L"Global"; }

  Variant Handle(std::wstring_view name, CallKind kind, Arguments args) override {
    if (SameName(name, L"Application") && IsRead(kind, args)) return ServeApplication(app_);
    NotSupported();
  }

 private:
  ApplicationRef app_;
};

}  // namespace

ModelRef ServeApplication(std::shared_ptr<platform::ExcelApplication> application) {
  return std::make_shared<ApplicationModel>(std::move(application));
}

ModelRef ServeGlobal(std::shared_ptr<platform::ExcelApplication> application) {
  return std::make_shared<GlobalModel>(std::move(application));
}

}  // namespace harumado::automation::model
