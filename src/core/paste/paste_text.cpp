// The text branch of the paste loop: Excel pastes the clipboard text at the active cell, then a
// numeric cell is written back as a plain number with a format of the program's choosing.
//
// Runs in the loop's skip mode: every Excel step may fail (busy or vanished Excel, protected
// sheet) and is then skipped; a failing test counts as passed, so the steps it guards run, and
// the later steps work with whatever the earlier ones left.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/app/form1.h"
#include "core/app/program.h"
#include "core/paste/excel_access.h"
#include "core/paste/module1.h"
#include "core/paste/paste_modes.h"
#include "core/paste/show_mode.h"
#include "runtime/automation_error.h"
#include "runtime/conversions.h"
#include "runtime/skip_mode.h"

namespace harumado::paste {
namespace {

using platform::CellProperty;

constexpr wchar_t kFullwidthYen = L'\uFFE5';

bool Contains(std::wstring_view text, wchar_t c) { return text.find(c) != std::wstring_view::npos; }

bool EndsWithPoint(std::wstring_view text) { return !text.empty() && text.back() == L'.'; }

// The text form of a value with every "￥" and then every "," removed.
std::wstring WithoutYenAndCommas(const rt::Value& v) {
  std::wstring out;
  for (const wchar_t c : rt::TextForm(v)) {
    if (c != kFullwidthYen && c != L',') out += c;
  }
  return out;
}

// The 数値 format mirrors what was seen: "\" in front for a yen mark, "#,##0" for a comma and
// "###0" otherwise, ".###" behind for a point.
std::wstring MirroredFormat(std::int32_t comma, std::int32_t point, std::int32_t yen) {
  std::wstring code = yen == 1 ? L"\\" : L"";
  code += comma == 1 ? L"#,##0" : L"###0";
  if (point == 1) code += L".###";
  return code;
}

}  // namespace

void PasteText(app::Program& program, rt::SkipMode& skip) {
  app::Form1& form = program.form1();
  const std::int32_t& ModeFlag = form.state.ModeFlag;  // read afresh at every step
  std::int32_t& YenMarkFound = program.paste.YenMarkFound;

  // Excel pastes at the active cell; a block of fields fills several cells and the active
  // cell stays the first of them. User actions may run in the dispatch.
  skip.Run([&] { ActiveSheetOf(program)->Paste(); });
  skip.Run([&] { program.os.windows.DoEvents(); });

  // Check2 shows the text mode of the current pair, whatever the paste did.
  if (skip.Test([&] { return ModeFlag == 1; })) ShowMode(form, kPasteModes[0]);
  if (skip.Test([&] { return ModeFlag == 0; })) ShowMode(form, kPasteModes[1]);

  // The pasted cell, addressed by number from here on.
  std::int32_t PasteRow = 0;
  std::int32_t PasteColumn = 0;
  skip.Assign(PasteRow, [&] {
    return rt::ToInt32(GlobalExcel(program).GetActiveCell(platform::ActiveCellProperty::kRow));
  });
  skip.Assign(PasteColumn, [&] {
    return rt::ToInt32(GlobalExcel(program).GetActiveCell(platform::ActiveCellProperty::kColumn));
  });
  std::unique_ptr<platform::ExcelSheet> sheet;
  skip.Assign(sheet, [&] { return ActiveSheetOf(program); });
  auto cell = [&]() -> platform::ExcelSheet& {
    if (!sheet) throw rt::AutomationError(rt::err::kObjectNotSet);
    return *sheet;
  };
  auto read = [&](CellProperty property) {
    return cell().GetCell(PasteRow, PasteColumn, property);
  };
  auto write_format = [&](const std::wstring& code) {
    skip.Run([&] {
      cell().SetCell(PasteRow, PasteColumn, CellProperty::kNumberFormatLocal,
                     rt::Value::Text(code));
    });
  };

  // What Excel's format shows.
  std::wstring CellFormat;
  skip.Assign(CellFormat, [&] { return rt::TextForm(read(CellProperty::kNumberFormatLocal)); });
  std::int32_t CommaFound = 0;
  std::int32_t PointFound = 0;
  YenMarkFound = 0;
  if (skip.Test([&] { return Contains(CellFormat, L','); })) CommaFound = 1;
  if (skip.Test([&] { return Contains(CellFormat, L'.'); })) PointFound = 1;
  if (skip.Test(
          [&] { return Contains(CellFormat, L'\\') || Contains(CellFormat, kFullwidthYen); })) {
    YenMarkFound = 1;
  }

  // What the value shows; in the value only "\" counts as a yen mark.
  rt::Value WorkValue;
  skip.Assign(WorkValue, [&] { return read(CellProperty::kValue); });
  if (skip.Test([&] { return Contains(rt::TextForm(WorkValue), L','); })) CommaFound = 1;
  if (skip.Test([&] { return Contains(rt::TextForm(WorkValue), L'.'); })) PointFound = 1;
  if (skip.Test([&] { return Contains(rt::TextForm(WorkValue), L'\\'); })) YenMarkFound = 1;

  // A text that reads as a number once yen signs and commas are gone becomes that number.
  if (skip.Test([&] { return rt::ReadsAsNumber(WithoutYenAndCommas(WorkValue)); })) {
    skip.Assign(WorkValue, [&] {
      const auto number = rt::ReadNumber(WithoutYenAndCommas(WorkValue));
      if (!number) throw rt::AutomationError(rt::err::kTypeMismatch);
      return rt::Value::Number(*number);
    });
  }

  // A comma gives the grouped yen format, to every kind of value.
  if (skip.Test([&] { return CommaFound == 1; })) write_format(L"\\#,##0.###");

  // Anything not numeric stays as Excel pasted it.
  if (!rt::IsNumericValue(WorkValue)) return;

  // The value is written back as its leading number: the fraction stays in both modes,
  // only the display differs; an empty cell receives 0.
  skip.Assign(WorkValue, [&] { return rt::Value::Text(WithoutYenAndCommas(WorkValue)); });
  skip.Run([&] {
    cell().SetCell(PasteRow, PasteColumn, CellProperty::kValue,
                   rt::Value::Number(rt::LeadingNumber(rt::TextForm(WorkValue))));
  });

  // Whether the first display of the number ends with a point.
  std::wstring ShownText;
  std::int32_t TrailingPoint = 0;
  skip.Assign(ShownText, [&] { return rt::TextForm(read(CellProperty::kText)); });
  if (skip.Test([&] { return EndsWithPoint(ShownText); })) TrailingPoint = 1;

  // The format of the mode.
  if (skip.Test([&] { return ModeFlag == 1; })) {
    write_format(YenMarkFound == 1 ? L"\\###0" : L"###0");
  }
  if (skip.Test([&] { return ModeFlag == 0; })) {
    write_format(MirroredFormat(CommaFound, PointFound, YenMarkFound));
  }

  // In mode 数値 without a yen mark, a display that no longer reads as a number (a column
  // too narrow) or a whole number whose first display ended with a point gets "#,##0"; a display
  // that the format made end with a point gets "###0".
  auto plain_mirrored = [&] { return ModeFlag == 0 && YenMarkFound == 0; };
  skip.Assign(ShownText, [&] { return rt::TextForm(read(CellProperty::kText)); });
  if (skip.Test([&] { return !rt::ReadsAsNumber(ShownText); })) {
    if (skip.Test(plain_mirrored)) write_format(L"#,##0");
  } else if (skip.Test([&] { return TrailingPoint == 1 && plain_mirrored(); })) {
    write_format(L"#,##0");
  }
  skip.Assign(ShownText, [&] { return rt::TextForm(read(CellProperty::kText)); });
  if (skip.Test([&] { return EndsWithPoint(ShownText) && plain_mirrored(); })) {
    write_format(L"###0");
  }
}

}  // namespace harumado::paste
