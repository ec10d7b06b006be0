#include "sim/machine_host.h"

#include <gtest/gtest.h>

#include <map>

#include "runtime/automation_error.h"
#include "sim/excel/report.h"

namespace harumado::sim {
namespace {

// A machine whose clipboard and disk the test holds.
class MachineHostTest : public testing::Test {
 protected:
  MachineHostTest()
      : host(desktop, Machine{[this] { return clipboard; },
                              [this](const std::wstring& path) -> std::optional<std::string> {
                                auto it = disk.find(path);
                                if (it == disk.end()) return std::nullopt;
                                return it->second;
                              },
                              [this](const std::wstring& path, const std::string& bytes) {
                                disk[path] = bytes;
                                ++writes;
                              }}) {
    host.changed = [this] { ++changes; };
  }

  static constexpr wchar_t kPath[] = L"/home/user/Desktop\\book.xlsx";

  Desktop desktop;
  ClipContent clipboard;
  std::map<std::wstring, std::string> disk;
  int writes = 0;
  int changes = 0;
  MachineHost host;
};

TEST_F(MachineHostTest, PastesWhatTheMachinesClipboardHoldsAtThePaste) {
  auto app = host.CreateObject();
  app->AddWorkbook();
  clipboard = ClipContent{ClipKind::kText, L"1234"};
  app->ActiveSheet()->Paste();
  clipboard = ClipContent{ClipKind::kText, L"売上"};
  app->SelectOffset(1, rt::Value::Number(0));
  app->ActiveSheet()->Paste();
  const std::wstring report = DescribeWorkbooks(desktop.excel);
  EXPECT_NE(report.find(L"cell A1 number 1234|"), std::wstring::npos) << report;
  EXPECT_NE(report.find(L"cell A2 text 売上|"), std::wstring::npos) << report;
  EXPECT_GT(changes, 0);
}

TEST_F(MachineHostTest, ListsTheFormatsOfTheMachinesClipboard) {
  auto app = host.CreateObject();
  clipboard = ClipContent{ClipKind::kText, L"x"};
  EXPECT_FALSE(app->ClipboardFormats().empty());
  clipboard = ClipContent{};
  EXPECT_TRUE(app->ClipboardFormats().empty());
}

// A workbook saved by the application is on the disk with its format; opened again in another
// instance, it is the file from the disk.
TEST_F(MachineHostTest, SavedWorkbooksGoToTheDiskAndOpenFromIt) {
  {
    auto app = host.CreateObject();
    app->SetDisplayAlerts(false);
    auto book = app->AddWorkbook();
    book->SaveAs(kPath, platform::file_format::kXlsm);
    book->Close(false);
    app->Quit();
  }
  ASSERT_EQ(disk.count(kPath), 1u);
  EXPECT_NE(disk[kPath].find("harumado-double-format 52\r\n"), std::string::npos);
  const int written = writes;

  desktop.files.Remove(kPath);  // only the disk holds it now
  auto app = host.CreateObject();
  auto book = app->OpenWorkbook(kPath);
  EXPECT_EQ(book->Name(), L"book.xlsx");
  EXPECT_EQ(desktop.files.Find(kPath)->excel_format, platform::file_format::kXlsm);
  EXPECT_EQ(writes, written) << "opening writes nothing";
}

TEST_F(MachineHostTest, AWorkbookMissingOnTheDiskDoesNotOpen) {
  desktop.files.Put(kPath, SimFile{"PK", 51, false});  // stale: the disk no longer has it
  auto app = host.CreateObject();
  EXPECT_THROW(app->OpenWorkbook(kPath), rt::AutomationError);
}

TEST(WorkbookFileBytesTest, TheFormatLineIsReplacedNotRepeated) {
  const SimFile file = WorkbookFileFromBytes(L"a.xlsx", "PK\r\nharumado-double-format 56\r\n");
  EXPECT_EQ(file.excel_format, 56);
  EXPECT_EQ(WorkbookFileBytes(file), "PK\r\n\r\nharumado-double-format 56\r\n");
  EXPECT_EQ(WorkbookFileFromBytes(L"b.xls", "PK").excel_format, 56);
  EXPECT_EQ(WorkbookFileFromBytes(L"c.xlsx", "PK").excel_format, 51);
}

}  // namespace
}  // namespace harumado::sim
