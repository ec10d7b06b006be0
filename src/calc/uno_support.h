#pragma once
// What every part of the Calc host needs from UNO: strings both ways, the UNO exceptions as the
// program's automation errors, units, and the connection that the host's objects share.
//
// Private to src/calc: the UNO headers are generated into the build tree of this library.
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/lang/Locale.hpp>
#include <com/sun/star/uno/Exception.hpp>
#include <com/sun/star/uno/RuntimeException.hpp>
#include <com/sun/star/uno/Sequence.hxx>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <initializer_list>
#include <memory>
#include <rtl/ustring.hxx>
#include <string>
#include <string_view>
#include <vector>

#include "calc/clipboard_source.h"
#include "runtime/automation_error.h"

namespace harumado::calc {

namespace css = com::sun::star;
using css::uno::Reference;

rtl::OUString ToOU(std::wstring_view text);
std::wstring FromOU(const rtl::OUString& text);

// A file path as the file URL that LibreOffice loads and stores, and back.
rtl::OUString FileUrl(const std::wstring& path);
std::wstring PathOfUrl(const rtl::OUString& url);

template <typename T>
css::uno::Sequence<T> SequenceOf(std::initializer_list<T> items) {
  return css::uno::Sequence<T>(items.begin(), static_cast<sal_Int32>(items.size()));
}

// A named argument of a UNO call.
css::beans::PropertyValue Argument(const char* name, const css::uno::Any& value);

// Lengths: the program speaks points, Calc 1/100 mm.
inline constexpr double kHundredthMmPerPoint = 2540.0 / 72.0;
inline double PointsOf(double hundredth_mm) { return hundredth_mm / kHundredthMmPerPoint; }
std::int32_t HundredthMmOf(double points);

// The locale the host's number format codes are written in.
css::lang::Locale JapaneseLocale();

// One connection to a LibreOffice over its pipe, shared by every object reached through it: the
// bridge lives as long as one of them holds it.
struct Office {
  Reference<css::uno::XComponentContext> context;
  Reference<css::frame::XDesktop2> desktop;
  bool started = false;  // this host started that LibreOffice
  std::string pipe_name;
  ClipboardSource* clipboard = nullptr;
  // The shapes whose aspect ratio was unlocked (a pasted picture starts locked, as in Excel;
  // Calc keeps no such setting).
  std::vector<Reference<css::uno::XInterface>> unlocked_shapes;
};
using OfficeRef = std::shared_ptr<Office>;

// The automation error a failed call into LibreOffice reports: a LibreOffice that has ended (its
// bridge is disposed, or breaks during the call) 0x800706BA, every refusal of the call 1004.
// UNO exceptions carry no virtual functions: each kind is told by the handler that caught it.
rt::AutomationError GoneError(const css::uno::Exception& e);
rt::AutomationError ErrorOf(const css::uno::RuntimeException& e);
rt::AutomationError ErrorOf(const css::uno::Exception& e);

// Runs one call into LibreOffice and reports its UNO exceptions as automation errors.
template <typename Call>
auto Uno(Call&& call) -> decltype(call()) {
  try {
    return call();
  } catch (const css::lang::DisposedException& e) {
    throw GoneError(e);
  } catch (const css::uno::RuntimeException& e) {
    throw ErrorOf(e);
  } catch (const css::uno::Exception& e) {
    throw ErrorOf(e);
  }
}

[[noreturn]] inline void Refuse() { throw rt::AutomationError(rt::err::kApplicationDefined); }

}  // namespace harumado::calc
