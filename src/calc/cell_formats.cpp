#include "calc/cell_formats.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/util/MalformedNumberFormatException.hpp>
#include <com/sun/star/util/NumberFormat.hpp>
#include <com/sun/star/util/XNumberFormatTypes.hpp>
#include <com/sun/star/util/XNumberFormats.hpp>
#include <com/sun/star/util/XNumberFormatsSupplier.hpp>
#include <map>

#include "calc/format_translation.h"
#include "runtime/number_format.h"

namespace harumado::calc {

namespace NumberFormat = css::util::NumberFormat;

// What is known of the document's keys: a key's code and kind never change.
struct CellFormats::State {
  Reference<css::util::XNumberFormats> formats;
  Reference<css::util::XNumberFormatTypes> types;
  std::map<std::int32_t, std::wstring> codes;
  std::map<std::int32_t, Kind> kinds;
};

CellFormats::CellFormats(const Reference<css::sheet::XSpreadsheetDocument>& document)
    : state_(std::make_shared<State>()) {
  Uno([&] {
    Reference<css::util::XNumberFormatsSupplier> supplier(document, css::uno::UNO_QUERY_THROW);
    state_->formats = supplier->getNumberFormats();
    state_->types.set(state_->formats, css::uno::UNO_QUERY_THROW);
  });
}

// Excel refuses a code that it cannot apply; the same codes are refused here, and those that
// Calc cannot read as well.
std::int32_t CellFormats::KeyOf(std::wstring_view local_code) {
  if (local_code.size() > 255 || !rt::IsValidFormatCode(local_code)) Refuse();
  const std::wstring calc_code = CalcCodeOf(local_code);
  return Uno([&] {
    const auto locale = JapaneseLocale();
    if (calc_code.empty()) return state_->types->getStandardIndex(locale);
    const rtl::OUString code = ToOU(calc_code);
    sal_Int32 key = state_->formats->queryKey(code, locale, false);
    if (key < 0) {
      try {
        key = state_->formats->addNew(code, locale);
      } catch (const css::util::MalformedNumberFormatException&) {
        Refuse();
      }
    }
    return key;
  });
}

std::wstring CellFormats::LocalCodeOf(std::int32_t key) {
  if (auto known = state_->codes.find(key); known != state_->codes.end()) return known->second;
  return state_->codes[key] = Uno([&] {
           const auto properties = state_->formats->getByKey(key);
           rtl::OUString code;
           properties->getPropertyValue("FormatString") >>= code;
           return calc::LocalCodeOf(FromOU(code));
         });
}

std::int32_t CellFormats::LogicalKey() {
  return Uno(
      [&] { return state_->types->getStandardFormat(NumberFormat::LOGICAL, JapaneseLocale()); });
}

CellFormats::Kind CellFormats::KindOf(std::int32_t key) {
  if (auto known = state_->kinds.find(key); known != state_->kinds.end()) return known->second;
  return state_->kinds[key] = Uno([&] {
           sal_Int16 type = 0;
           state_->formats->getByKey(key)->getPropertyValue("Type") >>= type;
           if (type & NumberFormat::LOGICAL) return Kind::kLogical;
           if (type & (NumberFormat::DATE | NumberFormat::TIME)) return Kind::kDate;
           return Kind::kNumber;
         });
}

std::int32_t CellFormats::KeyOfCell(const Reference<css::uno::XInterface>& cell) {
  return Uno([&] {
    Reference<css::beans::XPropertySet> properties(cell, css::uno::UNO_QUERY_THROW);
    sal_Int32 key = -1;
    if (!(properties->getPropertyValue("NumberFormat") >>= key)) return -1;
    return static_cast<int>(key);
  });
}

void CellFormats::SetKey(const Reference<css::uno::XInterface>& cell, std::int32_t key) {
  Uno([&] {
    Reference<css::beans::XPropertySet> properties(cell, css::uno::UNO_QUERY_THROW);
    properties->setPropertyValue("NumberFormat", css::uno::Any(static_cast<sal_Int32>(key)));
  });
}

}  // namespace harumado::calc
