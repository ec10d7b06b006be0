#include "calc/format_translation.h"

#include <array>
#include <utility>

#include "runtime/ascii_case.h"
#include "runtime/number_format.h"

namespace harumado::calc {
namespace {

// Excel's Japanese colour names and Calc's.
constexpr std::array<std::pair<std::wstring_view, std::wstring_view>, 8> kColours{{
    {L"黒", L"BLACK"},
    {L"青", L"BLUE"},
    {L"水", L"CYAN"},
    {L"緑", L"GREEN"},
    {L"紫", L"MAGENTA"},
    {L"赤", L"RED"},
    {L"白", L"WHITE"},
    {L"黄", L"YELLOW"},
}};

using rt::EqualsIgnoringAsciiCase;

bool IsDateLetter(wchar_t c) {
  return c == L'Y' || c == L'M' || c == L'D' || c == L'H' || c == L'S' || c == L'A';
}

// Colours by name; elapsed time ([HH], [MM], [SS]) in small letters on the local side.
std::wstring Bracket(std::wstring_view inner, bool to_calc) {
  for (const auto& [local, calc] : kColours) {
    if (to_calc && inner == local) return std::wstring(calc);
    if (!to_calc && EqualsIgnoringAsciiCase(inner, calc)) return std::wstring(local);
  }
  std::wstring out(inner);
  if (!to_calc && !out.empty() && out.find_first_not_of(L"HMS") == std::wstring::npos) {
    for (wchar_t& c : out) c = rt::AsciiLower(c);
  }
  return out;
}

// AM/PM and A/P keep their letters on both sides.
std::size_t AmPmLength(std::wstring_view rest) {
  for (std::wstring_view marker : {std::wstring_view(L"AM/PM"), std::wstring_view(L"A/P")}) {
    if (rest.size() >= marker.size() &&
        EqualsIgnoringAsciiCase(rest.substr(0, marker.size()), marker)) {
      return marker.size();
    }
  }
  return 0;
}

// Walks the code section by section. A '\' that opens a section (nothing shown before it)
// stands for the yen mark on the local side and for "\\" on Calc's.
std::wstring Translate(std::wstring_view code, bool to_calc) {
  std::wstring out;
  bool leading = true;
  for (std::size_t i = 0; i < code.size(); ++i) {
    const wchar_t c = code[i];
    if (c == L';') {
      out.push_back(c);
      leading = true;
    } else if (c == L'"') {
      const std::size_t close = code.find(L'"', i + 1);
      const std::size_t end = close == std::wstring_view::npos ? code.size() - 1 : close;
      out.append(code.substr(i, end - i + 1));
      i = end;
      leading = false;
    } else if (c == L'[') {
      const std::size_t close = code.find(L']', i + 1);
      if (close == std::wstring_view::npos) {
        out.append(code.substr(i));
        break;
      }
      out.push_back(L'[');
      out.append(Bracket(code.substr(i + 1, close - i - 1), to_calc));
      out.push_back(L']');
      i = close;
    } else if (c == L'\\') {
      const bool yen = to_calc ? leading : leading && i + 1 < code.size() && code[i + 1] == L'\\';
      if (yen) {
        out.append(to_calc ? L"\\\\" : L"\\");
        if (!to_calc) ++i;
      } else if (!to_calc && leading && i + 1 < code.size()) {
        // Quoted, so that the local side does not take the '\' for the yen mark.
        out.push_back(L'"');
        out.push_back(code[++i]);
        out.push_back(L'"');
      } else {
        out.push_back(c);
        if (i + 1 < code.size()) out.push_back(code[++i]);
      }
      leading = false;
    } else if (c == L'_' || c == L'*') {
      out.push_back(c);
      if (i + 1 < code.size()) out.push_back(code[++i]);
      if (c == L'_') leading = false;
    } else if (const std::size_t marker = AmPmLength(code.substr(i))) {
      out.append(code.substr(i, marker));
      i += marker - 1;
      leading = false;
    } else if (!to_calc && IsDateLetter(c)) {
      // Calc writes date and time letters in capitals; the local codes use small letters.
      out.push_back(rt::AsciiLower(c));
      leading = false;
    } else {
      out.push_back(c);
      leading = false;
    }
  }
  return out;
}

}  // namespace

std::wstring CalcCodeOf(std::wstring_view local_code) {
  if (rt::IsGeneralFormat(local_code)) return {};
  return Translate(local_code, true);
}

std::wstring LocalCodeOf(std::wstring_view calc_code) {
  // Excel shows a logical under General as TRUE or FALSE; Calc gives it a format of its own.
  if (calc_code.empty() || EqualsIgnoringAsciiCase(calc_code, L"General") ||
      EqualsIgnoringAsciiCase(calc_code, L"Standard") ||
      EqualsIgnoringAsciiCase(calc_code, L"BOOLEAN")) {
    return std::wstring(rt::kGeneralFormat);
  }
  return Translate(calc_code, false);
}

}  // namespace harumado::calc
