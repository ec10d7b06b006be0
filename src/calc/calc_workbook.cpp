// A workbook: a Calc spreadsheet document.
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/frame/XTitle.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include "calc/calc_objects.h"

namespace harumado::calc {

const char* FilterOfFileFormat(int file_format) {
  switch (file_format) {
    case platform::file_format::kXlsx:
      return "Calc MS Excel 2007 XML";
    case platform::file_format::kXlsm:
      return "Calc MS Excel 2007 VBA XML";
    case platform::file_format::kXls:
      return "MS Excel 97";
    default:
      return nullptr;
  }
}

namespace {

class CalcWorkbook final : public platform::ExcelWorkbook {
 public:
  CalcWorkbook(OfficeRef office, Document document)
      : office_(std::move(office)), document_(std::move(document)) {}

  // The file name with its extension; a new document's title ("Untitled 1").
  std::wstring Name() override {
    return Uno([&] {
      Reference<css::frame::XModel> model(document_, css::uno::UNO_QUERY_THROW);
      const rtl::OUString url = model->getURL();
      if (!url.isEmpty()) {
        const std::wstring path = PathOfUrl(url);
        return path.substr(path.find_last_of(L'/') + 1);
      }
      Reference<css::frame::XTitle> title(document_, css::uno::UNO_QUERY_THROW);
      return FromOU(title->getTitle());
    });
  }

  // Overwrites silently, as Excel does with its alerts off (Calc never asks through its API).
  void SaveAs(const std::wstring& path, int file_format) override {
    const char* filter = FilterOfFileFormat(file_format);
    const rtl::OUString url = FileUrl(path);
    if (filter == nullptr || url.isEmpty()) Refuse();
    Uno([&] {
      Reference<css::frame::XStorable> storable(document_, css::uno::UNO_QUERY_THROW);
      storable->storeAsURL(
          url,
          SequenceOf({Argument("FilterName", css::uno::Any(rtl::OUString::createFromAscii(filter))),
                      Argument("Overwrite", css::uno::Any(true))}));
    });
  }

  void Close(bool save_changes) override {
    Uno([&] {
      if (save_changes) {
        Reference<css::frame::XStorable> storable(document_, css::uno::UNO_QUERY_THROW);
        storable->store();
      }
      Reference<css::util::XCloseable> closeable(document_, css::uno::UNO_QUERY_THROW);
      closeable->close(true);
    });
  }

 private:
  OfficeRef office_;
  Document document_;
};

}  // namespace

std::unique_ptr<platform::ExcelWorkbook> MakeCalcWorkbook(OfficeRef office, Document document) {
  return std::make_unique<CalcWorkbook>(std::move(office), std::move(document));
}

}  // namespace harumado::calc
