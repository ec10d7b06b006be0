#include <array>
#include <string>

#include "runtime/calendar.h"
#include "runtime/section_render.h"

namespace harumado::rt::detail {

namespace {

constexpr std::array<std::wstring_view, 12> kMonthNames = {
    L"January", L"February", L"March",     L"April",   L"May",      L"June",
    L"July",    L"August",   L"September", L"October", L"November", L"December"};
constexpr std::array<std::wstring_view, 7> kDayNames = {
    L"Sunday", L"Monday", L"Tuesday", L"Wednesday", L"Thursday", L"Friday", L"Saturday"};
constexpr std::array<std::wstring_view, 7> kJapaneseDays = {L"日", L"月", L"火", L"水",
                                                            L"木", L"金", L"土"};

void Append(std::wstring& out, std::int64_t n, int min_digits) {
  std::wstring digits = std::to_wstring(n);
  if (static_cast<int>(digits.size()) < min_digits) {
    out.append(static_cast<std::size_t>(min_digits) - digits.size(), L'0');
  }
  out += digits;
}

int FractionDigits(const Section& sec) {
  int digits = 0;
  for (const Token& tok : sec.tokens) {
    if (tok.kind == TokenKind::kFracSecond && tok.count > digits) digits = tok.count;
  }
  return digits;
}

}  // namespace

// The time is rounded to the smallest unit the section shows (the second, or the shown
// fraction of it) before it is split, so 0:59:59.6 under h:mm:ss shows 1:00:00.
std::optional<std::wstring> RenderDateSection(const Section& sec, double serial) {
  if (serial < 0) return std::nullopt;
  const int fraction_digits = FractionDigits(sec);
  const auto split = SplitSerial(serial, fraction_digits);
  if (!split) return std::nullopt;
  std::int64_t unit = 1;
  for (int i = 0; i < fraction_digits; ++i) unit *= 10;

  std::wstring out;
  for (const Token& tok : sec.tokens) {
    switch (tok.kind) {
      case TokenKind::kLiteral:
        out += tok.text;
        break;
      case TokenKind::kYear:
        if (tok.count <= 2) {
          Append(out, split->date.year % 100, 2);
        } else {
          Append(out, split->date.year, 4);
        }
        break;
      case TokenKind::kMonth: {
        const auto name = kMonthNames[static_cast<std::size_t>(split->date.month - 1)];
        if (tok.count <= 2) {
          Append(out, split->date.month, tok.count);
        } else if (tok.count == 3) {
          out += name.substr(0, 3);
        } else if (tok.count == 4) {
          out += name;
        } else {
          out += name.substr(0, 1);
        }
        break;
      }
      case TokenKind::kDay:
        if (tok.count <= 2) {
          Append(out, split->date.day, tok.count);
        } else if (tok.count == 3) {
          out += kDayNames[static_cast<std::size_t>(split->weekday)].substr(0, 3);
        } else {
          out += kDayNames[static_cast<std::size_t>(split->weekday)];
        }
        break;
      case TokenKind::kJapaneseDay:
        out += kJapaneseDays[static_cast<std::size_t>(split->weekday)];
        if (tok.count >= 4) out += L"曜日";
        break;
      case TokenKind::kHour: {
        int hour = split->hour;
        if (sec.twelve_hour) hour = hour % 12 == 0 ? 12 : hour % 12;
        Append(out, hour, tok.count >= 2 ? 2 : 1);
        break;
      }
      case TokenKind::kMinute:
        Append(out, split->minute, tok.count >= 2 ? 2 : 1);
        break;
      case TokenKind::kSecond:
        Append(out, split->second, tok.count >= 2 ? 2 : 1);
        break;
      case TokenKind::kFracSecond: {
        std::wstring digits;
        Append(digits, split->fraction, fraction_digits);
        out += L'.';
        out += digits.substr(0, static_cast<std::size_t>(tok.count));
        break;
      }
      case TokenKind::kElapsedHours:
        Append(out, split->total_units / (3600 * unit), tok.count);
        break;
      case TokenKind::kElapsedMinutes:
        Append(out, split->total_units / (60 * unit), tok.count);
        break;
      case TokenKind::kElapsedSeconds:
        Append(out, split->total_units / unit, tok.count);
        break;
      case TokenKind::kAmPm: {
        const bool pm = split->hour >= 12;
        if (tok.count == 2) {
          out += pm ? L"PM" : L"AM";
        } else {
          const wchar_t a = tok.text.empty() ? L'A' : tok.text[0];
          const bool lower = a == L'a';
          out += pm ? (lower ? L'p' : L'P') : (lower ? L'a' : L'A');
        }
        break;
      }
      default:
        break;
    }
  }
  return out;
}

}  // namespace harumado::rt::detail
