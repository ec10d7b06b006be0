#include "core/columns/numeric_text.h"

#include <optional>

#include "runtime/automation_error.h"
#include "runtime/conversions.h"
#include "runtime/number_format.h"

namespace harumado::columns {

// The negation of the pattern "*[!0-9,.\]*": a minus sign, a slash, a blank, a letter or a
// full-width digit makes a text non-numeric.
bool IsNumericText(std::wstring_view text) { return !rt::HasNonNumericChar(text); }

// Only the length decides the width given before the host fits the column, so any rendering
// through the format code serves. A text that reads as a number is formatted as that number; one
// that does not ("1.2.3", the empty text) keeps its own length.
std::size_t FormattedLength(const rt::Value& value, const std::wstring& text,
                            const std::wstring& format) {
  std::optional<double> number;
  if (value.is_number()) {
    number = value.number();
  } else {
    number = rt::ReadNumber(text);
  }
  if (!number) return text.size();
  try {
    return rt::FormatNumber(*number, format).size();
  } catch (const rt::AutomationError&) {
    return text.size();
  }
}

}  // namespace harumado::columns
