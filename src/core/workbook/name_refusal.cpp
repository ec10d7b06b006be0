#include "core/workbook/name_refusal.h"

#include "core/app/form1.h"
#include "core/app/program.h"
#include "core/ui/layouts.h"
#include "core/workbook/desktop_file_name.h"
#include "core/workbook/save_format.h"
#include "core/workbook/texts.h"
#include "core/workbook/workbook_path.h"

namespace harumado::workbook {

// Refused as a bad extension is: a message to correct the name, no state touched.
bool RefuseUnusableName(app::Form1& form, const std::wstring& desktop_folder) {
  if (IsDesktopFileName(desktop_folder, form.Text3().text())) return false;
  form.Text2().SetForeColor(ui::colors::kBlue);
  form.Text2().SetText(kUnusableNameMessage);
  form.Text3().SetFocus();
  return true;
}

bool RefuseUncreatableFormat(app::Form1& form, const std::wstring& desktop_folder) {
  const std::wstring typed = form.Text3().text();
  const auto format = SaveFileFormat(typed);
  if (!format || form.program.os.host.CanSaveFileFormat(*format)) return false;
  if (form.program.os.shell.FileExists(WorkbookPath(desktop_folder, typed))) return false;
  form.Text2().SetForeColor(ui::colors::kBlue);
  form.Text2().SetText(UncreatableFormatMessage(Extension(typed)));
  form.Text3().SetFocus();
  return true;
}

}  // namespace harumado::workbook
