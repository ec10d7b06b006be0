#include "core/workbook/name_refusal.h"

#include "core/app/form1.h"
#include "core/ui/layouts.h"
#include "core/workbook/desktop_file_name.h"
#include "core/workbook/texts.h"

namespace harumado::workbook {

// Refused as a bad extension is: a message to correct the name, no state touched.
bool RefuseUnusableName(app::Form1& form, const std::wstring& desktop_folder) {
  if (IsDesktopFileName(desktop_folder, form.Text3().text())) return false;
  form.Text2().SetForeColor(ui::colors::kBlue);
  form.Text2().SetText(kUnusableNameMessage);
  form.Text3().SetFocus();
  return true;
}

}  // namespace harumado::workbook
