#include "core/workbook/workbook_path.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/workbook/save_format.h"

namespace harumado::workbook {
namespace {

struct NameCase {
  const wchar_t* typed;
  std::size_t dot;
  const wchar_t* extension;
  const wchar_t* name;
  std::optional<int> format;  // nothing: refused by the button, nothing saved
};

// The last dot starts the extension; the extension is compared exactly.
constexpr NameCase kNames[] = {
    {L"book", 0, L"", L"book.xlsx", 51},
    {L"book.xlsx", 5, L"xlsx", L"book.xlsx", 51},
    {L"report.xlsm", 7, L"xlsm", L"report.xlsm", 52},
    {L"data.xlsb", 5, L"xlsb", L"data.xlsb", 50},
    {L"a.b.xls", 4, L"xls", L"a.b.xls", 56},
    {L"Book.XLSX", 5, L"XLSX", L"Book.XLSX", std::nullopt},
    {L"book.", 5, L"", L"book.", std::nullopt},
    {L"my.data", 3, L"data", L"my.data", std::nullopt},
    {L"book.xlsx.txt", 10, L"txt", L"book.xlsx.txt", std::nullopt},
    {L"売上", 0, L"", L"売上.xlsx", 51},
    {L"", 0, L"", L".xlsx", 51},
};

TEST(WorkbookName, DotExtensionNameAndFormat_FollowTheLastDot) {
  for (const auto& c : kNames) {
    SCOPED_TRACE(::testing::Message() << "typed name #" << (&c - kNames));
    EXPECT_EQ(DotPosition(c.typed), c.dot);
    EXPECT_EQ(Extension(c.typed), c.extension);
    EXPECT_EQ(WorkbookName(c.typed), c.name);
    EXPECT_EQ(SaveFileFormat(c.typed), c.format);
  }
}

TEST(WorkbookPath, JoinsTheDesktopFolderAndTheName) {
  EXPECT_EQ(WorkbookPath(L"C:\\Users\\user\\Desktop", L"book"),
            L"C:\\Users\\user\\Desktop\\book.xlsx");
  EXPECT_EQ(WorkbookPath(L"D:\\共有", L"a.b.xls"), L"D:\\共有\\a.b.xls");
  // The Desktop folder could not be read: the path starts with the separator.
  EXPECT_EQ(WorkbookPath(L"", L"book"), L"\\book.xlsx");
}

// A Desktop folder of the Linux desktop is joined with "/"; a backslash in its own name stays.
TEST(WorkbookPath, APosixDesktopFolderIsJoinedWithASlash) {
  EXPECT_EQ(WorkbookPath(L"/home/user/Desktop", L"book"), L"/home/user/Desktop/book.xlsx");
  EXPECT_EQ(WorkbookPath(L"/home/user/デスクトップ", L"売上.xlsm"),
            L"/home/user/デスクトップ/売上.xlsm");
  EXPECT_EQ(WorkbookPath(L"/tmp/a\\b", L"book"), L"/tmp/a\\b/book.xlsx");
}

}  // namespace
}  // namespace harumado::workbook
