// Workbooks: created and saved in the formats of the program, opened again, closed.
#include <gtest/gtest.h>

#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <filesystem>

#include "calc_fixture.h"
#include "platform/program_path.h"
#include "support/error_of.h"

namespace harumado::calc::testing {
namespace {

using test_support::ErrorOf;
using CalcWorkbookTest = CalcSuite;

struct SavedFormat {
  const char* file;
  int file_format;
  const char* filter;  // the filter Calc finds for the file when it loads it
};

class CalcSaveTest : public CalcSuite, public ::testing::WithParamInterface<SavedFormat> {};

// The saved file holds the cell and is read back by Calc.
TEST_P(CalcSaveTest, SavesAFileThatCalcReloads) {
  TempDir folder;
  const auto path = std::filesystem::path(folder.path()) / GetParam().file;
  sheet_->SetCell(2, 2, platform::CellProperty::kValue, rt::Value::Number(42));
  workbook_->SaveAs(path.wstring(), GetParam().file_format);
  ASSERT_TRUE(std::filesystem::exists(path));
  EXPECT_EQ(workbook_->Name(), std::wstring(path.filename().wstring()));
  workbook_->Close(false);
  workbook_.reset();

  const auto loaded = LoadHidden(*office_, path);
  Reference<css::sheet::XSpreadsheetDocument> document(loaded, css::uno::UNO_QUERY_THROW);
  Reference<css::container::XIndexAccess> sheets(document->getSheets(), css::uno::UNO_QUERY_THROW);
  Reference<css::sheet::XSpreadsheet> sheet(sheets->getByIndex(0), css::uno::UNO_QUERY_THROW);
  EXPECT_EQ(sheet->getCellByPosition(1, 1)->getValue(), 42);
  Reference<css::frame::XModel> model(loaded, css::uno::UNO_QUERY_THROW);
  rtl::OUString filter;
  for (const auto& argument : model->getArgs()) {
    if (argument.Name == "FilterName") argument.Value >>= filter;
  }
  EXPECT_EQ(FromOU(filter), FromOU(rtl::OUString::createFromAscii(GetParam().filter)));
  Reference<css::util::XCloseable>(loaded, css::uno::UNO_QUERY_THROW)->close(true);
}

INSTANTIATE_TEST_SUITE_P(Formats, CalcSaveTest,
                         ::testing::Values(SavedFormat{"book.xlsx", platform::file_format::kXlsx,
                                                       "Calc MS Excel 2007 XML"},
                                           SavedFormat{"book.xlsm", platform::file_format::kXlsm,
                                                       "Calc MS Excel 2007 VBA XML"},
                                           SavedFormat{"book.xls", platform::file_format::kXls,
                                                       "MS Excel 97"}));

// Calc reads xlsb but cannot write it: the save is refused and no file is made.
TEST_F(CalcWorkbookTest, XlsbIsRefusedAndNothingIsCreated) {
  TempDir folder;
  const auto path = std::filesystem::path(folder.path()) / "book.xlsb";
  EXPECT_EQ(ErrorOf([&] { workbook_->SaveAs(path.wstring(), platform::file_format::kXlsb); }),
            rt::err::kApplicationDefined);
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_FALSE(host_->CanSaveFileFormat(platform::file_format::kXlsb));
  EXPECT_TRUE(host_->CanSaveFileFormat(platform::file_format::kXlsx));
}

// The program joins the Desktop folder and the name as its paths are joined (with "/" here).
TEST_F(CalcWorkbookTest, PathsJoinedByTheProgramNameTheFileInTheFolder) {
  TempDir folder;
  const std::wstring joined =
      platform::JoinPath(std::filesystem::path(folder.path()).wstring(), L"joined.xlsx");
  workbook_->SaveAs(joined, platform::file_format::kXlsx);
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(folder.path()) / "joined.xlsx"));
  workbook_->Close(false);
  workbook_ = application_->OpenWorkbook(joined);
  EXPECT_EQ(workbook_->Name(), L"joined.xlsx");
}

TEST_F(CalcWorkbookTest, OpeningAMissingFileFailsWith1004) {
  TempDir folder;
  EXPECT_EQ(
      ErrorOf([&] {
        application_->OpenWorkbook((std::filesystem::path(folder.path()) / "none.xlsx").wstring());
      }),
      rt::err::kApplicationDefined);
}

// Opening a workbook that is open activates it and changes nothing.
TEST_F(CalcWorkbookTest, OpeningAnOpenWorkbookKeepsItsCellsAndCursor) {
  TempDir folder;
  const auto path = std::filesystem::path(folder.path()) / "open.xlsx";
  workbook_->SaveAs(path.wstring(), platform::file_format::kXlsx);
  sheet_->SetCell(1, 1, platform::CellProperty::kValue, rt::Value::Text(L"unsaved"));
  application_->SelectOffset(3, rt::Value::Number(2));
  auto again = application_->OpenWorkbook(path.wstring());
  EXPECT_EQ(again->Name(), L"open.xlsx");
  auto sheet = application_->ActiveSheet();
  EXPECT_EQ(sheet->GetCell(1, 1, platform::CellProperty::kValue), rt::Value::Text(L"unsaved"));
  EXPECT_EQ(application_->GetActiveCell(platform::ActiveCellProperty::kRow), 4);
  EXPECT_EQ(application_->GetActiveCell(platform::ActiveCellProperty::kColumn), 3);
}

// An existing file opens with its contents; the application then has it as the active sheet.
TEST_F(CalcWorkbookTest, OpensAnExistingFile) {
  TempDir folder;
  const auto path = std::filesystem::path(folder.path()) / "existing.xlsx";
  sheet_->SetCell(3, 1, platform::CellProperty::kValue, rt::Value::Text(L"東京"));
  workbook_->SaveAs(path.wstring(), platform::file_format::kXlsx);
  workbook_->Close(false);
  workbook_ = application_->OpenWorkbook(path.wstring());
  EXPECT_EQ(workbook_->Name(), L"existing.xlsx");
  EXPECT_EQ(application_->ActiveSheet()->GetCell(3, 1, platform::CellProperty::kValue),
            rt::Value::Text(L"東京"));
}

}  // namespace
}  // namespace harumado::calc::testing
