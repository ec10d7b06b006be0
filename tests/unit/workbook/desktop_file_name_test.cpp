#include "core/workbook/desktop_file_name.h"

#include <gtest/gtest.h>

#include <string>

namespace harumado::workbook {
namespace {

const std::wstring kDesktop = L"C:\\Users\\user\\Desktop";  // 21 characters

struct NameCase {
  std::wstring typed;
  bool usable;
};

// A typed name of the given full-path length on kDesktop: "\" and a name of letters plus
// ".xlsx".
std::wstring NameForPathLength(std::size_t length) {
  return std::wstring(length - kDesktop.size() - 1 - 5, L'a') + L".xlsx";
}

TEST(IsDesktopFileName, RefusesEveryNameThatLeavesTheDesktopOrIsNoFileName) {
  const NameCase cases[] = {
      // Ordinary names, and names that only look like the refused ones.
      {L"book", true},
      {L"book.xlsx", true},
      {L"a.b.xls", true},
      {L"売上 2026", true},
      {L" book", true},
      {L"book ", true},      // saved as "book .xlsx", which Windows keeps
      {L"Book.XLSX", true},  // the extension check refuses it, not this one
      {L"console", true},
      {L"con1", true},
      {L"COM10", true},
      {L"auxiliary.xlsx", true},
      {L"nul_file.xlsx", true},
      {L"lpt.xlsx", true},
      {L"my.con", true},
      {L"", true},  // no name: the button asks for one
      // Paths: up and out of the Desktop, into a subfolder, a drive, a share.
      {L"..\\..\\book.xlsx", false},
      {L"../book.xlsx", false},
      {L"a\\b", false},
      {L"a/b", false},
      {L"C:\\x.xlsx", false},
      {L"C:x.xlsx", false},
      {L"\\\\server\\share\\x.xlsx", false},
      // Characters Windows forbids in a file name.
      {L"a:b", false},
      {L"a*b", false},
      {L"a?b.xlsx", false},
      {L"a\"b", false},
      {L"a<b", false},
      {L"a>b", false},
      {L"a|b", false},
      // Control characters, which the context menu lets into Text3.
      {L"a\tb", false},
      {L"book\r\n", false},
      {std::wstring(L"a") + L'\0' + L"b", false},
      {L"\x01", false},
      {L"a\x1F", false},
      {L"a\x7F", false},
      {L"a\x85", false},
      // Reserved device names, in any case, with or without extension.
      {L"con", false},
      {L"CON", false},
      {L"Con.xlsx", false},
      {L"aux.xlsx", false},
      {L"NUL", false},
      {L"nul.tar.xlsx", false},
      {L"prn.xls", false},
      {L"con .xlsx", false},
      {L"COM1", false},
      {L"com9.xlsm", false},
      {L"COM0", false},
      {L"LPT1", false},
      {L"lpt9.xlsb", false},
      {L"COM\u00B9", false},
      {L"lpt\u00B3.xlsx", false},
      {L"CONIN$", false},
      {L"conout$.xlsx", false},
      // Names that Windows would shorten.
      {L"book.", false},
      {L"book.xlsx.", false},
      {L"book.xlsx ", false},
      {L".", false},
      {L"..", false},
      // The longest full path Excel takes, and one character more.
      {NameForPathLength(218), true},
      {NameForPathLength(219), false},
      {std::wstring(300, L'a'), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << "name #" << (&c - cases) << " of " << c.typed.size() << " characters");
    EXPECT_EQ(IsDesktopFileName(kDesktop, c.typed), c.usable);
  }
}

// Windows counts a character beyond the basic plane as two: 95 of them and ".xlsx" on the
// Desktop make 21 + 1 + 190 + 5 = 217 units, 96 make 219.
TEST(IsDesktopFileName, CountsThePathInUtf16Units) {
  std::wstring wide;
  for (int i = 0; i < 95; ++i) wide += L"\U0001F600";
  EXPECT_TRUE(IsDesktopFileName(kDesktop, wide));
  EXPECT_FALSE(IsDesktopFileName(kDesktop, wide + L"\U0001F600"));
}

TEST(IsDesktopFileName, TheLengthCountsTheDesktopFolder) {
  const std::wstring name = NameForPathLength(218);
  EXPECT_TRUE(IsDesktopFileName(kDesktop, name));
  EXPECT_FALSE(IsDesktopFileName(kDesktop + L"2", name));
}

}  // namespace
}  // namespace harumado::workbook
