// What the double tells the tests: its instance, workbooks, the cells and shapes of the active
// sheet, column widths and the calls it took, one fact a line.
#include <string>

#include "double_excel.h"
#include "runtime/conversions.h"
#include "runtime/number_format.h"
#include "sim/excel/call_gate.h"
#include "sim/excel/sheet.h"

namespace harumado::doubles {
namespace {

// The area of the sheet that the report covers.
constexpr std::int32_t kReportRows = 60;
constexpr std::int32_t kReportColumns = 12;

std::wstring Letters(std::int32_t column) {
  std::wstring letters;
  for (std::int32_t n = column; n > 0; n = (n - 1) / 26) {
    letters.insert(letters.begin(), static_cast<wchar_t>(L'A' + (n - 1) % 26));
  }
  return letters;
}

std::wstring Ref(const sim::CellRef& c) { return Letters(c.column) + std::to_wstring(c.row); }

std::wstring Described(const rt::Value& v) {
  switch (v.kind()) {
    case rt::Value::Kind::kEmpty:
      return L"empty";
    case rt::Value::Kind::kNumber:
      return L"number " + rt::NumberText(v.number());
    case rt::Value::Kind::kText:
      return L"text " + v.text();
    case rt::Value::Kind::kLogical:
      return v.logical() ? L"logical True" : L"logical False";
    case rt::Value::Kind::kDate:
      return L"date " + rt::NumberText(v.date_serial());
    case rt::Value::Kind::kError:
      return L"error " + rt::ErrorValueText(v.error_code());
  }
  return {};
}

}  // namespace

std::wstring DoubleExcel::Report() {
  std::wstring r;
  auto line = [&r](const std::wstring& l) { r += l + L"\n"; };
  line(L"pid " + std::to_wstring(::GetCurrentProcessId()));
  line(L"visible " + std::to_wstring(instance_->visible() ? 1 : 0));
  line(L"alerts " + std::to_wstring(instance_->display_alerts() ? 1 : 0));
  for (const auto& w : instance_->workbooks()) line(L"workbook " + w->name() + L"|" + w->path());
  if (const auto& active = instance_->active_workbook()) {
    sim::SimSheet& sheet = active->active_sheet();
    line(L"active " + Ref(sheet.active()));
    line(L"selection " + Ref(sheet.selection().first) + L":" + Ref(sheet.selection().last));
    for (std::int32_t row = 1; row <= kReportRows; ++row) {
      for (std::int32_t column = 1; column <= kReportColumns; ++column) {
        const sim::CellRef cell{row, column};
        if (sheet.IsBlank(cell)) continue;
        line(L"cell " + Ref(cell) + L" " + Described(sheet.Value(cell)) + L"|" +
             sheet.Format(cell) + L"|" + sheet.Text(cell));
      }
    }
    int index = 0;
    for (const auto& s : sheet.shapes()) {
      line(L"shape " + std::to_wstring(++index) + L" " + rt::NumberText(s.left) + L" " +
           rt::NumberText(s.top) + L" " + rt::NumberText(s.width) + L" " +
           rt::NumberText(s.height) + L" " + std::to_wstring(s.placement) + L" " +
           std::to_wstring(s.lock_aspect_ratio));
    }
    for (std::int32_t column = 1; column <= kReportColumns; ++column) {
      if (sheet.ColumnWidth(column) != sim::SimSheet::kStandardWidth) {
        line(L"width " + Letters(column) + L" " + rt::NumberText(sheet.ColumnWidth(column)));
      }
    }
    line(L"cell-geometry " + Ref(sheet.active()) + L" " +
         rt::NumberText(sheet.CellLeft(sheet.active().column)) + L" " +
         rt::NumberText(sheet.CellTop(sheet.active().row)) + L" " +
         rt::NumberText(sheet.CellWidth(sheet.active().column)) + L" " +
         rt::NumberText(sheet.CellHeight(sheet.active().row)));
  }
  for (auto op : sim::CallGate::Operations()) {
    const std::wstring name(op);
    if (const int n = desktop_.excel.gate().calls(name)) {
      line(L"calls " + name + L" " + std::to_wstring(n));
    }
  }
  line(L"rejected " + std::to_wstring(rejected_calls));
  line(L"served " + std::to_wstring(served_calls));
  line(L"last-formats-at " + std::to_wstring(last_formats_at));
  line(L"last-select-at " + std::to_wstring(last_select_at));
  return r;
}

}  // namespace harumado::doubles
