#include "calc/uno_support.h"

#include <cmath>
#include <osl/file.hxx>
#include <rtl/ustrbuf.hxx>

namespace harumado::calc {

// wchar_t holds UTF-32 here, OUString UTF-16.
rtl::OUString ToOU(std::wstring_view text) {
  rtl::OUStringBuffer out(static_cast<sal_Int32>(text.size()));
  for (wchar_t c : text) {
    const auto code = static_cast<sal_uInt32>(c);
    if (code >= 0x10000) {
      out.appendUtf32(code);
    } else {
      out.append(static_cast<sal_Unicode>(code));
    }
  }
  return out.makeStringAndClear();
}

std::wstring FromOU(const rtl::OUString& text) {
  std::wstring out;
  out.reserve(static_cast<std::size_t>(text.getLength()));
  for (sal_Int32 i = 0; i < text.getLength();) {
    out.push_back(static_cast<wchar_t>(text.iterateCodePoints(&i)));
  }
  return out;
}

// The program's path (joined with "/" on Linux: platform/program_path.h) as a file URL; a relative
// or unusable path gives an empty URL, which LibreOffice refuses.
rtl::OUString FileUrl(const std::wstring& path) {
  rtl::OUString url;
  if (osl::FileBase::getFileURLFromSystemPath(ToOU(path), url) != osl::FileBase::E_None) {
    return {};
  }
  return url;
}

std::wstring PathOfUrl(const rtl::OUString& url) {
  rtl::OUString path;
  if (osl::FileBase::getSystemPathFromFileURL(url, path) != osl::FileBase::E_None) return {};
  return FromOU(path);
}

css::beans::PropertyValue Argument(const char* name, const css::uno::Any& value) {
  css::beans::PropertyValue p;
  p.Name = rtl::OUString::createFromAscii(name);
  p.Value = value;
  return p;
}

std::int32_t HundredthMmOf(double points) {
  return static_cast<std::int32_t>(std::lround(points * kHundredthMmPerPoint));
}

css::lang::Locale JapaneseLocale() { return css::lang::Locale("ja", "JP", ""); }

rt::AutomationError GoneError(const css::uno::Exception& e) {
  return rt::AutomationError(rt::err::kServerUnavailable, FromOU(e.Message));
}

// A bridge that breaks during a call (LibreOffice ended) throws a RuntimeException naming it.
rt::AutomationError ErrorOf(const css::uno::RuntimeException& e) {
  if (e.Message.indexOf("bridge") >= 0) return GoneError(e);
  return rt::AutomationError(rt::err::kApplicationDefined, FromOU(e.Message));
}

rt::AutomationError ErrorOf(const css::uno::Exception& e) {
  return rt::AutomationError(rt::err::kApplicationDefined, FromOU(e.Message));
}

}  // namespace harumado::calc
