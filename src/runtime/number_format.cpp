#include "runtime/number_format.h"

#include <cmath>

#include "runtime/automation_error.h"
#include "runtime/conversions.h"
#include "runtime/format_code.h"
#include "runtime/section_render.h"

namespace harumado::rt {

namespace {

wchar_t Lower(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c; }

// How many of the code's sections format numbers: the fourth section, or a last section with
// @, is for text.
std::size_t NumberSectionCount(const detail::FormatCode& fc) {
  const std::size_t n = fc.sections.size();
  if (n == 4) return 3;
  if (fc.sections.back().is_text) return n - 1;
  return n;
}

// Positive numbers (and zero without a zero section) take the first section, negative numbers
// the second when there is one (shown without an automatic minus), zero the third. A single
// section shows a negative number with '-' before everything, currency included.
// Nothing when the value cannot be shown under the chosen section (a negative date).
std::optional<std::wstring> FormatWith(const detail::FormatCode& fc, double value) {
  const std::size_t count = NumberSectionCount(fc);
  if (count == 0) return NumberText(value);
  const detail::Section* sec = &fc.sections[0];
  double shown = value;
  bool minus = false;
  if (value < 0 && count >= 2) {
    sec = &fc.sections[1];
    shown = -value;
  } else if (value == 0 && count >= 3) {
    sec = &fc.sections[2];
  } else if (value < 0) {
    if (sec->is_date) return std::nullopt;
    shown = -value;
    minus = true;
  }
  if (sec->is_date) return detail::RenderDateSection(*sec, shown);
  return detail::RenderNumberSection(*sec, shown, minus);
}

std::wstring TextDisplay(std::wstring_view text, std::wstring_view code) {
  if (IsGeneralFormat(code)) return std::wstring(text);
  const detail::FormatCode fc = detail::ParseFormatCode(code);
  const detail::Section& last = fc.sections.back();
  if (fc.sections.size() == 4 || last.is_text) return detail::RenderTextSection(last, text);
  return std::wstring(text);
}

bool IsWide(std::uint32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) ||
         (c >= 0x3041 && c <= 0x33FF) || (c >= 0x3400 && c <= 0x4DBF) ||
         (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
         (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
         (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

// The characters a column of that width holds.
std::size_t WholeColumns(double column_width_chars) {
  const double whole = std::floor(column_width_chars);
  return whole > 0 ? static_cast<std::size_t>(whole) : std::size_t{0};
}

}  // namespace

bool IsGeneralFormat(std::wstring_view code) {
  if (code.empty() || code == kGeneralFormat) return true;
  constexpr std::wstring_view kGeneral = L"general";
  if (code.size() != kGeneral.size()) return false;
  for (std::size_t i = 0; i < code.size(); ++i) {
    if (Lower(code[i]) != kGeneral[i]) return false;
  }
  return true;
}

bool IsValidFormatCode(std::wstring_view code) {
  if (IsGeneralFormat(code)) return true;
  try {
    detail::ParseFormatCode(code);
  } catch (const AutomationError&) {
    return false;
  }
  return true;
}

std::wstring FormatNumber(double value, std::wstring_view code) {
  if (IsGeneralFormat(code)) return NumberText(value);
  const auto shown = FormatWith(detail::ParseFormatCode(code), value);
  if (!shown) throw AutomationError(err::kTypeMismatch);
  return *shown;
}

// General shows the text form and never fills; under any other code a number or date whose
// display is wider than the column's whole characters, or that cannot be shown at all (a
// negative date), becomes a row of '#' as wide as the column.
std::wstring DisplayText(const Value& v, std::wstring_view code, double column_width_chars) {
  switch (v.kind()) {
    case Value::Kind::kEmpty:
      return {};
    case Value::Kind::kText:
      return TextDisplay(v.text(), code);
    case Value::Kind::kLogical:
      return v.logical() ? L"TRUE" : L"FALSE";
    case Value::Kind::kError:
      return ErrorValueText(v.error_code());
    case Value::Kind::kNumber:
    case Value::Kind::kDate:
      break;
  }
  if (IsGeneralFormat(code)) return TextForm(v);
  const double value = v.is_number() ? v.number() : v.date_serial();
  const auto shown = FormatWith(detail::ParseFormatCode(code), value);
  // A display the code cannot give fills the column as one that is too long does.
  if (!shown) return std::wstring(WholeColumns(column_width_chars), L'#');
  return FitToColumn(*shown, column_width_chars);
}

std::wstring FitToColumn(std::wstring shown, double column_width_chars) {
  const std::size_t columns = WholeColumns(column_width_chars);
  if (DisplayWidth(shown) > columns) return std::wstring(columns, L'#');
  return shown;
}

// Full-width (East Asian wide) characters take two columns, all others one. A UTF-16
// surrogate pair counts once, as wide.
std::size_t DisplayWidth(std::wstring_view text) {
  std::size_t width = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    auto c = static_cast<std::uint32_t>(text[i]);
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
      ++i;
      c = 0x20000;
    }
    width += IsWide(c) ? 2 : 1;
  }
  return width;
}

std::wstring ErrorValueText(std::int32_t code) {
  switch (code) {
    case 2000:
      return L"#NULL!";
    case 2007:
      return L"#DIV/0!";
    case 2023:
      return L"#REF!";
    case 2029:
      return L"#NAME?";
    case 2036:
      return L"#NUM!";
    case 2042:
      return L"#N/A";
    default:
      return L"#VALUE!";
  }
}

}  // namespace harumado::rt
