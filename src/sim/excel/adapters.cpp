#include "sim/excel/adapters.h"

#include "runtime/automation_error.h"
#include "runtime/conversions.h"
#include "runtime/number_format.h"
#include "runtime/offset_argument.h"
#include "sim/excel/sim_excel.h"

namespace harumado::sim {
namespace {

// Keeps the host's count of the automation objects the program holds.
class LiveObject {
 public:
  LiveObject(SimExcel& host, bool counted) : host_(host), counted_(counted) {
    if (counted_) ++host_.live_objects;
  }
  ~LiveObject() {
    if (counted_) --host_.live_objects;
  }
  LiveObject(const LiveObject&) = delete;
  LiveObject& operator=(const LiveObject&) = delete;

 private:
  SimExcel& host_;
  bool counted_;
};

void RequireOpen(const SimWorkbook& workbook) {
  if (!workbook.open()) throw rt::AutomationError(rt::err::kDisconnected);
}

// How a value or a cell appears in the trace.
std::wstring TraceText(const rt::Value& v) {
  switch (v.kind()) {
    case rt::Value::Kind::kEmpty:
      return L"Empty";
    case rt::Value::Kind::kNumber:
      return rt::NumberText(v.number());
    case rt::Value::Kind::kText:
      return L"\"" + v.text() + L"\"";
    case rt::Value::Kind::kLogical:
      return v.logical() ? L"True" : L"False";
    case rt::Value::Kind::kDate:
      return L"#" + rt::TextForm(v) + L"#";
    case rt::Value::Kind::kError:
      return rt::ErrorValueText(v.error_code());
  }
  return {};
}

const wchar_t* PropertyName(platform::CellProperty p) {
  switch (p) {
    case platform::CellProperty::kValue:
      return L"Value";
    case platform::CellProperty::kText:
      return L"Text";
    case platform::CellProperty::kNumberFormatLocal:
      return L"NumberFormatLocal";
    case platform::CellProperty::kFormula:
      return L"Formula";
  }
  return L"";
}

std::wstring CellText(std::int32_t row, std::int32_t column, platform::CellProperty p) {
  return L"Cells(" + std::to_wstring(row) + L", " + std::to_wstring(column) + L")." +
         PropertyName(p);
}

std::wstring RangeText(std::int32_t column, std::int32_t first_row, std::int32_t last_row) {
  return L"Range(Cells(" + std::to_wstring(first_row) + L", " + std::to_wstring(column) +
         L"), Cells(" + std::to_wstring(last_row) + L", " + std::to_wstring(column) + L"))";
}

class RangeObject : public platform::ExcelRange {
 public:
  RangeObject(SimExcel& host, std::shared_ptr<ExcelInstance> instance,
              std::shared_ptr<SimWorkbook> workbook, std::shared_ptr<SimSheet> sheet,
              CellBlock block)
      : live_(host, true),
        host_(host),
        instance_(std::move(instance)),
        workbook_(std::move(workbook)),
        sheet_(std::move(sheet)),
        block_(block) {}

  // A range can be selected only on the active sheet.
  void Select() override {
    host_.gate().Enter(L"Select", instance_.get());
    RequireOpen(*workbook_);
    if (instance_->active_workbook() != workbook_ || &workbook_->active_sheet() != sheet_.get()) {
      throw rt::AutomationError(rt::err::kApplicationDefined);
    }
    sheet_->SelectBlock(block_);
  }

 private:
  LiveObject live_;
  SimExcel& host_;
  std::shared_ptr<ExcelInstance> instance_;
  std::shared_ptr<SimWorkbook> workbook_;
  std::shared_ptr<SimSheet> sheet_;
  CellBlock block_;
};

class SheetObject : public platform::ExcelSheet {
 public:
  SheetObject(SimExcel& host, std::shared_ptr<ExcelInstance> instance,
              std::shared_ptr<SimWorkbook> workbook)
      : live_(host, true),
        host_(host),
        instance_(std::move(instance)),
        workbook_(std::move(workbook)),
        sheet_(workbook_->active_sheet_ptr()) {}

  // Text is pasted as a block of typed entries, a picture as a new shape; anything else (or an
  // empty clipboard) cannot be pasted.
  void Paste() override {
    Enter(L"Paste");
    const ClipContent& clip = host_.clipboard().content();
    if (clip.kind == ClipKind::kText) {
      sheet_->PasteText(clip.text);
    } else if (clip.kind == ClipKind::kPicture) {
      sheet_->PastePicture(clip.picture_width, clip.picture_height);
    } else {
      throw rt::AutomationError(rt::err::kApplicationDefined);
    }
  }

  void PastePicture() override {
    Enter(L"Pictures.Paste");
    const ClipContent& clip = host_.clipboard().content();
    if (clip.kind != ClipKind::kPicture) throw rt::AutomationError(rt::err::kApplicationDefined);
    sheet_->PastePicture(clip.picture_width, clip.picture_height);
  }

  int ShapeCount() override {
    Enter(L"Shapes");
    return static_cast<int>(sheet_->shapes().size());
  }

  void SetShapeProperty(int index, platform::ShapeProperty property, double value) override {
    Enter(L"Shapes", true);
    Trace([&] {
      static constexpr const wchar_t* kNames[] = {L"LockAspectRatio", L"Placement", L"Left", L"Top",
                                                  L"Width",           L"Height"};
      return L"Shapes(" + std::to_wstring(index) + L")." + kNames[static_cast<int>(property)] +
             L" = " + rt::NumberText(value);
    });
    sheet_->SetShapeProperty(index, property, value);
  }

  rt::Value GetCell(std::int32_t row, std::int32_t column,
                    platform::CellProperty property) override {
    Enter(L"Cells", true);
    rt::Value v = sheet_->Get(CellRef{row, column}, property);
    Trace([&] { return CellText(row, column, property) + L" is " + TraceText(v); });
    return v;
  }

  void SetCell(std::int32_t row, std::int32_t column, platform::CellProperty property,
               const rt::Value& value) override {
    Enter(L"Cells", true);
    Trace([&] { return CellText(row, column, property) + L" = " + TraceText(value); });
    sheet_->Set(CellRef{row, column}, property, value);
  }

  // Range(Cells(first, column), Cells(last, column)).property: one call for the whole range.
  std::vector<rt::Value> GetColumnCells(std::int32_t column, std::int32_t first_row,
                                        std::int32_t last_row,
                                        platform::CellProperty property) override {
    Enter(L"Cells", true);
    Trace([&] { return RangeText(column, first_row, last_row) + L"." + PropertyName(property); });
    if (first_row > last_row || !SimSheet::Contains(first_row, column) ||
        !SimSheet::Contains(last_row, column)) {
      throw rt::AutomationError(rt::err::kApplicationDefined);
    }
    std::vector<rt::Value> values;
    values.reserve(static_cast<std::size_t>(last_row - first_row + 1));
    for (std::int32_t row = first_row; row <= last_row; ++row) {
      values.push_back(sheet_->Get(CellRef{row, column}, property));
    }
    return values;
  }

  // Range(Cells(first, column), Cells(last, column)).Value = "": one call for the whole range.
  void EmptyColumnCells(std::int32_t column, std::int32_t first_row,
                        std::int32_t last_row) override {
    Enter(L"EmptyCells", true);
    Trace([&] { return RangeText(column, first_row, last_row) + L".Value = \"\""; });
    sheet_->EmptyColumn(column, first_row, last_row);
  }

  // Range(Cells(first, column), Cells(last, column)).property = array: one call.
  void SetColumnCells(std::int32_t column, std::int32_t first_row, platform::CellProperty property,
                      std::span<const rt::Value> values) override {
    Enter(L"WriteCells", true);
    Trace([&] {
      const std::int32_t last_row = first_row + static_cast<std::int32_t>(values.size()) - 1;
      std::wstring line =
          RangeText(column, first_row, last_row) + L"." + PropertyName(property) + L" = (";
      for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) line += L", ";
        line += TraceText(values[i]);
      }
      return line + L")";
    });
    sheet_->SetColumn(column, first_row, property, values);
  }

  std::int32_t RowCount() override {
    Enter(L"Rows");
    return SimSheet::kRows;
  }

  std::int32_t EndUpRow(std::int32_t row, std::int32_t column) override {
    Enter(L"End");
    return sheet_->EndUp(CellRef{row, column});
  }

  void SetColumnWidth(std::int32_t column, double width) override {
    Enter(L"Columns", true);
    Trace([&] {
      return L"Columns(" + std::to_wstring(column) + L").ColumnWidth = " + rt::NumberText(width);
    });
    sheet_->SetColumnWidth(column, width);
  }

  void AutoFitColumn(std::int32_t column) override {
    Enter(L"AutoFit", true);
    Trace([&] { return L"Columns(" + std::to_wstring(column) + L").AutoFit"; });
    sheet_->AutoFit(column);
  }

 private:
  void Enter(std::wstring_view operation, bool quiet = false) {
    host_.gate().Enter(operation, instance_.get(), quiet);
    RequireOpen(*workbook_);
  }
  template <typename Line>
  void Trace(Line line) {
    if (host_.world().tracing) host_.world().Trace(L"excel " + line());
  }

  LiveObject live_;
  SimExcel& host_;
  std::shared_ptr<ExcelInstance> instance_;
  std::shared_ptr<SimWorkbook> workbook_;
  std::shared_ptr<SimSheet> sheet_;
};

class WorkbookObject : public platform::ExcelWorkbook {
 public:
  WorkbookObject(SimExcel& host, std::shared_ptr<ExcelInstance> instance,
                 std::shared_ptr<SimWorkbook> workbook)
      : live_(host, true),
        host_(host),
        instance_(std::move(instance)),
        workbook_(std::move(workbook)) {}

  std::wstring Name() override {
    Enter(L"Name");
    return workbook_->name();
  }

  void SaveAs(const std::wstring& path, int file_format) override {
    Enter(L"SaveAs", true);
    host_.world().Trace(L"excel SaveAs " + path + L" format " + std::to_wstring(file_format));
    if (!host_.CanSaveFileFormat(file_format))
      throw rt::AutomationError(rt::err::kApplicationDefined);
    instance_->SaveAs(*workbook_, path, file_format, host_.files());
  }

  void Close(bool save_changes) override {
    Enter(L"Close");
    instance_->Close(*workbook_, save_changes, host_.files());
  }

 private:
  void Enter(std::wstring_view operation, bool quiet = false) {
    host_.gate().Enter(operation, instance_.get(), quiet);
    RequireOpen(*workbook_);
  }

  LiveObject live_;
  SimExcel& host_;
  std::shared_ptr<ExcelInstance> instance_;
  std::shared_ptr<SimWorkbook> workbook_;
};

class ApplicationObject : public platform::ExcelApplication {
 public:
  ApplicationObject(SimExcel& host, std::shared_ptr<ExcelInstance> instance, bool counted)
      : live_(host, counted), host_(host), instance_(std::move(instance)) {}

  void SetVisible(bool visible) override {
    Enter(L"Visible");
    instance_->set_visible(visible);
  }

  void SetDisplayAlerts(bool display) override {
    Enter(L"DisplayAlerts");
    instance_->set_display_alerts(display);
  }

  std::unique_ptr<platform::ExcelWorkbook> OpenWorkbook(const std::wstring& path) override {
    Enter(L"Workbooks.Open", true);
    host_.world().Trace(L"excel Workbooks.Open " + path);
    auto workbook = instance_->Open(path, host_.files());
    return std::make_unique<WorkbookObject>(host_, instance_, std::move(workbook));
  }

  std::unique_ptr<platform::ExcelWorkbook> AddWorkbook() override {
    Enter(L"Workbooks.Add");
    return std::make_unique<WorkbookObject>(host_, instance_, instance_->Add());
  }

  void Quit() override {
    Enter(L"Quit");
    host_.Quit(*instance_);
  }

  platform::WindowHandle Hwnd() override {
    Enter(L"Hwnd");
    return instance_->window();
  }

  // Text offers xlClipboardFormatText (0); a picture alone offers Bitmap (9) and PICT (2).
  std::vector<int> ClipboardFormats() override {
    Enter(L"ClipboardFormats");
    switch (host_.clipboard().content().kind) {
      case ClipKind::kText:
        return {platform::kClipboardFormatText};
      case ClipKind::kPicture:
        return {9, 2};
      default:
        return {};
    }
  }

  std::unique_ptr<platform::ExcelSheet> ActiveSheet() override {
    Enter(L"ActiveSheet");
    const auto& workbook = instance_->active_workbook();
    if (!workbook) return nullptr;
    return std::make_unique<SheetObject>(host_, instance_, workbook);
  }

  // ActiveCell is Nothing without a workbook, so reading it fails with 91.
  double GetActiveCell(platform::ActiveCellProperty property) override {
    Enter(L"ActiveCell", true);
    const double v = Sheet().ActiveCellProperty(property);
    if (host_.world().tracing) {
      static constexpr const wchar_t* kNames[] = {L"Row", L"Column", L"Left",
                                                  L"Top", L"Width",  L"Height"};
      host_.world().Trace(L"excel ActiveCell." + std::wstring(kNames[static_cast<int>(property)]) +
                          L" is " + rt::NumberText(v));
    }
    return v;
  }

  void SelectOffset(std::int16_t rows, const rt::Value& columns) override {
    Enter(L"Offset", true);
    if (host_.world().tracing) {
      host_.world().Trace(L"excel ActiveCell.Offset(" + std::to_wstring(rows) + L", " +
                          TraceText(columns) + L").Select");
    }
    SimSheet& sheet = Sheet();
    sheet.Select(sheet.Offset(rows, rt::OffsetArgument(columns)));
  }

  std::unique_ptr<platform::ExcelRange> RangeSelection() override {
    Enter(L"ActiveWindow");
    const auto& workbook = instance_->active_workbook();
    if (!workbook) return nullptr;
    return std::make_unique<RangeObject>(host_, instance_, workbook, workbook->active_sheet_ptr(),
                                         workbook->active_sheet().selection());
  }

 private:
  void Enter(std::wstring_view operation, bool quiet = false) {
    host_.gate().Enter(operation, instance_.get(), quiet);
  }
  SimSheet& Sheet() {
    const auto& workbook = instance_->active_workbook();
    if (!workbook) throw rt::AutomationError(rt::err::kObjectNotSet);
    return workbook->active_sheet();
  }

  LiveObject live_;
  SimExcel& host_;
  std::shared_ptr<ExcelInstance> instance_;
};

}  // namespace

std::unique_ptr<platform::ExcelApplication> MakeApplicationObject(
    SimExcel& host, std::shared_ptr<ExcelInstance> instance, bool counted) {
  return std::make_unique<ApplicationObject>(host, std::move(instance), counted);
}

std::unique_ptr<platform::ExcelApplication> GlobalApplicationObject::ObjectOf(
    std::shared_ptr<ExcelInstance> instance) {
  host_.world().Trace(L"excel Global object binds to instance " +
                      std::to_wstring(instance->serial()));
  auto application = MakeApplicationObject(host_, instance, false);
  instance_ = std::move(instance);
  return application;
}

void GlobalApplicationObject::Bind(std::shared_ptr<ExcelInstance> instance) {
  BindTo(ObjectOf(std::move(instance)));
}

std::unique_ptr<platform::ExcelApplication> GlobalApplicationObject::Reach() {
  return ObjectOf(host_.ResolveGlobal());
}

}  // namespace harumado::sim
