#include "sim/excel/report.h"

#include "runtime/conversions.h"
#include "runtime/number_format.h"
#include "sim/excel/sheet.h"
#include "sim/excel/workbook.h"

namespace harumado::sim {
namespace {

std::wstring Ref(const CellRef& c) { return ColumnLetters(c.column) + std::to_wstring(c.row); }

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

std::wstring DescribeSheet(const SimSheet& sheet) {
  std::wstring r;
  auto line = [&r](const std::wstring& l) { r += l + L"\n"; };
  line(L"active " + Ref(sheet.active()));
  line(L"selection " + Ref(sheet.selection().first) + L":" + Ref(sheet.selection().last));
  for (std::int32_t row = 1; row <= kReportRows; ++row) {
    for (std::int32_t column = 1; column <= kReportColumns; ++column) {
      const CellRef cell{row, column};
      if (sheet.IsBlank(cell)) continue;
      line(L"cell " + Ref(cell) + L" " + Described(sheet.Value(cell)) + L"|" + sheet.Format(cell) +
           L"|" + sheet.Text(cell));
    }
  }
  int index = 0;
  for (const auto& s : sheet.shapes()) {
    line(L"shape " + std::to_wstring(++index) + L" " + rt::NumberText(s.left) + L" " +
         rt::NumberText(s.top) + L" " + rt::NumberText(s.width) + L" " + rt::NumberText(s.height) +
         L" " + std::to_wstring(s.placement) + L" " + std::to_wstring(s.lock_aspect_ratio));
  }
  for (std::int32_t column = 1; column <= kReportColumns; ++column) {
    if (sheet.ColumnWidth(column) != SimSheet::kStandardWidth) {
      line(L"width " + ColumnLetters(column) + L" " + rt::NumberText(sheet.ColumnWidth(column)));
    }
  }
  return r;
}

std::wstring ColumnLetters(std::int32_t column) {
  std::wstring letters;
  for (std::int32_t n = column; n > 0; n = (n - 1) / 26) {
    letters.insert(letters.begin(), static_cast<wchar_t>(L'A' + (n - 1) % 26));
  }
  return letters;
}

std::wstring DescribeWorkbooks(const SimExcel& excel) {
  std::wstring r;
  for (const auto& instance : excel.instances()) {
    if (!instance->running()) continue;
    r += L"instance " + std::to_wstring(instance->serial()) + L" visible " +
         std::to_wstring(instance->visible() ? 1 : 0) + L"\n";
    for (const auto& w : instance->workbooks()) {
      r += L"workbook " + w->name() + L"|" + w->path() + L"\n";
    }
    if (const auto& active = instance->active_workbook())
      r += DescribeSheet(active->active_sheet());
  }
  return r;
}

}  // namespace harumado::sim
