// The Desktop folder as xdg-user-dir finds it, the program's folder and file existence.
#include "qt/shell_qt.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "qt/native_path.h"
#include "support/linux/child_process.h"
#include "support/linux/scoped_environment.h"

namespace harumado::qt {
namespace {

struct DesktopCase {
  const char* name;
  std::optional<std::string> file;
  std::optional<std::string> environment;
  std::string desktop;
};

class DesktopFolderCases : public ::testing::TestWithParam<DesktopCase> {};

TEST_P(DesktopFolderCases, AsXdgUserDirFindsIt) {
  const DesktopCase& c = GetParam();
  EXPECT_EQ(DesktopFolderFrom("/home/hana", c.file, c.environment), c.desktop);
}

const std::string kWritten =
    "# This file is written by xdg-user-dirs-update\n"
    "XDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\n"
    "XDG_DESKTOP_DIR=\"$HOME/デスクトップ\"\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, DesktopFolderCases,
    ::testing::Values(
        DesktopCase{"NoFile", std::nullopt, std::nullopt, "/home/hana/Desktop"},
        DesktopCase{"AsXdgUserDirsUpdateWritesIt", kWritten, std::nullopt,
                    "/home/hana/デスクトップ"},
        DesktopCase{"AbsolutePath", "XDG_DESKTOP_DIR=\"/data/desk\"\n", std::nullopt, "/data/desk"},
        DesktopCase{"BracedHome", "XDG_DESKTOP_DIR=\"${HOME}/Bureau\"\n", std::nullopt,
                    "/home/hana/Bureau"},
        DesktopCase{"TrailingSlashDropped", "XDG_DESKTOP_DIR=\"$HOME/Desk/\"\n", std::nullopt,
                    "/home/hana/Desk"},
        // xdg-user-dirs-update writes "$HOME/" for a Desktop the user switched off.
        DesktopCase{"SwitchedOffIsTheHome", "XDG_DESKTOP_DIR=\"$HOME/\"\n", std::nullopt,
                    "/home/hana"},
        DesktopCase{"CommentedOutLineIgnored", "#XDG_DESKTOP_DIR=\"$HOME/Old\"\n", std::nullopt,
                    "/home/hana/Desktop"},
        DesktopCase{"LastAssignmentWins",
                    "XDG_DESKTOP_DIR=\"$HOME/One\"\nXDG_DESKTOP_DIR=\"$HOME/Two\"\n", std::nullopt,
                    "/home/hana/Two"},
        DesktopCase{"EscapedQuote", "XDG_DESKTOP_DIR=\"$HOME/a\\\"b\"\n", std::nullopt,
                    "/home/hana/a\"b"},
        DesktopCase{"CarriageReturnLineEnd", "XDG_DESKTOP_DIR=\"$HOME/Win\"\r\n", std::nullopt,
                    "/home/hana/Win"},
        DesktopCase{"OtherKeysOnly", "XDG_MUSIC_DIR=\"$HOME/Music\"\n", std::nullopt,
                    "/home/hana/Desktop"},
        // The environment's value counts only where the file does not set one.
        DesktopCase{"EnvironmentWithoutFile", std::nullopt, "/tmp/desk", "/tmp/desk"},
        DesktopCase{"FileBeforeEnvironment", kWritten, "/tmp/desk", "/home/hana/デスクトップ"},
        DesktopCase{"EmptyValueFallsBack", "XDG_DESKTOP_DIR=\"\"\n", std::nullopt,
                    "/home/hana/Desktop"}),
    [](const auto& info) { return std::string(info.param.name); });

using test_support::ScopedEnvironment;

TEST(ShellQt, DesktopFolderIsReadFromTheUsersConfigurationEachTime) {
  test_support::TempDir home;
  ScopedEnvironment h("HOME", home.path());
  ScopedEnvironment config("XDG_CONFIG_HOME", home.path() + "/cfg");
  ShellQt shell;
  EXPECT_EQ(shell.DesktopFolder(), Wide(home.path() + "/Desktop"));
  home.Write("cfg/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/机\"\n");
  EXPECT_EQ(shell.DesktopFolder(), Wide(home.path() + "/机"));
}

TEST(ShellQt, ARelativeConfigHomeIsIgnored) {
  test_support::TempDir home;
  ScopedEnvironment h("HOME", home.path());
  ScopedEnvironment config("XDG_CONFIG_HOME", "relative/cfg");
  home.Write(".config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/Here\"\n");
  EXPECT_EQ(ShellQt().DesktopFolder(), Wide(home.path() + "/Here"));
}

TEST(ShellQt, ProgramFolderHoldsTheRunningProgram) {
  const std::wstring folder = ShellQt().ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.back(), L'/');
  EXPECT_TRUE(ShellQt().FileExists(folder + L"/qt_platform_tests"));
}

// The program joins a folder and a name with "/" on Linux; a backslash in a folder's own name is
// part of that name.
TEST(ShellQt, FileExistsTakesTheProgramsJoinedPaths) {
  test_support::TempDir folder;
  folder.Write("a\\b/book.xlsx", "");
  const std::wstring base = Wide(folder.path());
  ShellQt shell;
  EXPECT_TRUE(shell.FileExists(base + L"/a\\b/book.xlsx"));
  EXPECT_FALSE(shell.FileExists(base + L"/a\\b/other.xlsx"));
  EXPECT_FALSE(shell.FileExists(base + L"/a\\b"));  // a folder is no file
}

}  // namespace
}  // namespace harumado::qt
