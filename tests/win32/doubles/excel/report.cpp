// What the double tells the tests: its instance, workbooks, the active sheet as the simulated
// application's report has it (cells, shapes, column widths), and the calls it took, one fact a
// line.
#include "sim/excel/report.h"

#include <string>

#include "double_excel.h"
#include "runtime/conversions.h"
#include "runtime/number_format.h"
#include "sim/excel/call_gate.h"
#include "sim/excel/sheet.h"

namespace harumado::doubles {
namespace {

std::wstring Ref(const sim::CellRef& c) {
  return sim::ColumnLetters(c.column) + std::to_wstring(c.row);
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
    r += sim::DescribeSheet(sheet);
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
