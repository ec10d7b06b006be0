#include "value_types.h"

#include "runtime/automation_error.h"
#include "runtime/format_code.h"

namespace harumado::doubles {
namespace {

bool ShowsCurrency(const rt::detail::Section& section) {
  static constexpr std::wstring_view kSymbols = L"\\¥￥$€£";
  for (const auto& token : section.tokens) {
    if (token.kind == rt::detail::TokenKind::kLiteral &&
        token.text.find_first_of(kSymbols) != std::wstring::npos) {
      return true;
    }
  }
  return false;
}

}  // namespace

// The first section decides whether the format is a date format; any section that shows a
// currency symbol makes a number format a currency format. A code that cannot be read gives
// Double.
NumberType NumberTypeOfFormat(std::wstring_view local_format) {
  try {
    const rt::detail::FormatCode code = rt::detail::ParseFormatCode(local_format);
    if (code.sections.empty()) return NumberType::kDouble;
    if (code.sections.front().is_date) return NumberType::kDate;
    for (const auto& section : code.sections) {
      if (!section.is_date && !section.is_text && ShowsCurrency(section)) {
        return NumberType::kCurrency;
      }
    }
  } catch (const rt::AutomationError&) {
  }
  return NumberType::kDouble;
}

}  // namespace harumado::doubles
