// Column fitting of columns A to E of the running Excel's active sheet (the cyan button).
#include <memory>

#include "core/app/form1.h"
#include "core/app/program.h"
#include "core/columns/fit_column.h"
#include "core/columns/module4.h"
#include "platform/spreadsheet_host.h"
#include "runtime/automation_error.h"
#include "runtime/skip_mode.h"

namespace harumado::columns {

// Works on whatever workbook is active in the running Excel, whether pasting is on or not. The
// three outcome messages leave the colour of Text2 as it is. A host call that fails once the
// sheet was found ends the run: the cells of the column being fitted get their content back, and
// Text2 shows the failure in the error colour with its number.
void AutoFitColumns(app::Program& program) {
  app::Form1& form = program.form1();
  std::unique_ptr<platform::ExcelApplication> application;
  try {
    application = program.os.host.GetActiveObject();
  } catch (const rt::AutomationError&) {
    // No running Excel: reported below.
  }
  if (!application) {
    form.Text2().SetText(L"Excel未検出：[列幅の自動調整]実行できません。");
    return;
  }

  try {
    std::unique_ptr<platform::ExcelSheet> sheet = application->ActiveSheet();
    if (!sheet) {
      form.Text2().SetText(L"シート未検出：[列幅の自動調整]実行できません。");
      return;
    }
    std::unique_ptr<platform::ExcelRange> selection = application->RangeSelection();
    const std::int32_t row_count = sheet->RowCount();
    for (std::int32_t column = kFirstFittedColumn; column <= kLastFittedColumn; ++column) {
      FitColumn(*sheet, column, row_count);
    }
    if (selection) selection->Select();
    // Hiding and showing Excel again repaints it; a failure there changes nothing.
    rt::SkipMode skip;
    skip.Run([&] { application->SetVisible(false); });
    skip.Run([&] { application->SetVisible(true); });
  } catch (const rt::AutomationError& e) {
    form.ShowError(L"列幅の自動調整に失敗しました。" + rt::ErrorNumberText(e.number()));
    return;
  }
  application.reset();
  form.Text2().SetText(L"セル幅が自動調整されました。");
}

}  // namespace harumado::columns
