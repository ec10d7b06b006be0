// The settings file's operations on the real file system, and where the settings go when the
// program's folder takes no file.
#include "qt/files_qt.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <optional>

#include "core/settings/settings_file.h"
#include "core/settings/settings_writer.h"
#include "platform/shell.h"
#include "qt/native_path.h"
#include "runtime/automation_error.h"
#include "support/linux/child_process.h"
#include "support/linux/scoped_environment.h"

namespace harumado::qt {
namespace {

std::wstring W(const std::string& s) { return Wide(s); }

std::int32_t ErrorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const rt::AutomationError& e) {
    return e.number();
  }
  return 0;
}

class FilesQtTest : public ::testing::Test {
 protected:
  test_support::TempDir dir_;
  std::wstring base_ = W(dir_.path());
  FilesQt files_;
};

TEST_F(FilesQtTest, WriteReadReplaceDelete) {
  const std::wstring file = base_ + L"/Harumado.dat";
  const std::wstring temporary = base_ + L"/Harumado.dat.tmp";
  files_.Write(temporary, "1,2,3,4,5\r\n");
  EXPECT_FALSE(files_.NormalFileExists(file));
  files_.Replace(temporary, file);
  EXPECT_FALSE(files_.NormalFileExists(temporary));
  ASSERT_TRUE(files_.NormalFileExists(file));
  EXPECT_EQ(files_.ReadAll(file), "1,2,3,4,5\r\n");
  EXPECT_EQ(test_support::ReadFile(dir_.path() + "/Harumado.dat"), "1,2,3,4,5\r\n");
  files_.Delete(file);
  EXPECT_FALSE(files_.NormalFileExists(file));
}

TEST_F(FilesQtTest, HiddenFilesAndFoldersCountAsAbsent) {
  dir_.Write(".hidden", "x");
  dir_.Write("folder/inside", "x");
  EXPECT_FALSE(files_.NormalFileExists(base_ + L"/.hidden"));
  EXPECT_FALSE(files_.NormalFileExists(base_ + L"/folder"));
  EXPECT_TRUE(files_.NormalFileExists(base_ + L"/folder/inside"));
}

TEST_F(FilesQtTest, ALaterWriteHasALaterTime) {
  const std::wstring a = base_ + L"/a";
  const std::wstring b = base_ + L"/b";
  files_.Write(a, "a");
  files_.Write(b, "b");
  // The times of two writes so close together may be equal at the file system's resolution:
  // the older file is dated back to be sure which is later.
  const std::string old_path = dir_.path() + "/a";
  timespec times[2] = {{0, UTIME_OMIT}, {1'000'000'000, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, old_path.c_str(), times, 0), 0);
  EXPECT_LT(files_.ModifiedTime(a), files_.ModifiedTime(b));
  EXPECT_EQ(files_.ModifiedTime(a), 1'000'000'000LL * 1'000'000'000LL);
}

TEST_F(FilesQtTest, FailuresCarryTheFileErrorNumbers) {
  const std::wstring missing = base_ + L"/missing";
  EXPECT_EQ(ErrorOf([&] { files_.ReadAll(missing); }), rt::err::kFileNotFound);
  EXPECT_EQ(ErrorOf([&] { files_.Delete(missing); }), rt::err::kFileNotFound);
  EXPECT_EQ(ErrorOf([&] { files_.ModifiedTime(missing); }), rt::err::kFileNotFound);
  EXPECT_EQ(ErrorOf([&] { files_.Write(base_ + L"/nofolder/x", "x"); }), rt::err::kFileNotFound);
  dir_.Write("plain", "x");
  EXPECT_EQ(ErrorOf([&] { files_.Write(base_ + L"/plain/x", "x"); }),
            rt::err::kPathFileAccessError);  // ENOTDIR
}

TEST(FileErrorNumbers, AsTheProgramBranchesOnThem) {
  EXPECT_EQ(FileErrorNumber(ENOENT), rt::err::kFileNotFound);
  for (int e : {EACCES, EPERM, EROFS, ETXTBSY}) {
    EXPECT_EQ(FileErrorNumber(e), rt::err::kPermissionDenied) << e;
  }
  for (int e : {ENOTDIR, EISDIR, ENOSPC, EIO, EBUSY}) {
    EXPECT_EQ(FileErrorNumber(e), rt::err::kPathFileAccessError) << e;
  }
}

// A shell whose program folder the test chooses.
class FolderShell : public platform::Shell {
 public:
  explicit FolderShell(std::wstring folder) : folder_(std::move(folder)) {}
  std::wstring DesktopFolder() override { return folder_; }
  std::wstring ProgramFolder() override { return folder_; }
  bool FileExists(const std::wstring&) override { return false; }

 private:
  std::wstring folder_;
};

class SettingsFallback : public ::testing::Test {
 protected:
  test_support::TempDir dir_;
  test_support::ScopedEnvironment config_{"XDG_CONFIG_HOME", dir_.path() + "/config"};
  FilesQt files_;
};

TEST_F(SettingsFallback, TheFallbackFolderIsMadeInTheUsersConfiguration) {
  EXPECT_EQ(files_.FallbackFolder(), W(dir_.path() + "/config/harumado"));
  struct stat info {};
  ASSERT_EQ(::stat((dir_.path() + "/config/harumado").c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
}

// A program folder that takes no file (here: one that is not there) sends the settings to the
// configuration folder, and start-up reads them from there.
TEST_F(SettingsFallback, SettingsGoToTheConfigurationFolderWhenTheProgramsFolderTakesNone) {
  FolderShell shell(W(dir_.path() + "/not-there"));
  const std::wstring written =
      settings::WriteSettings(shell, files_, settings::SettingsToSave{10, 20, 3, 2, 1});
  EXPECT_EQ(written, W(dir_.path() + "/config/harumado") + L"/Harumado.dat");
  EXPECT_EQ(test_support::ReadFile(dir_.path() + "/config/harumado/Harumado.dat"),
            "10,20,3,2,1\r\n");
  EXPECT_EQ(settings::SettingsReadPath(shell, files_), written);
}

// Once the program's folder takes the file again, it is written there and the old copy goes.
TEST_F(SettingsFallback, AWritableProgramFolderTakesTheSettingsBack) {
  dir_.Write("config/harumado/Harumado.dat", "1,1,1,1,1\r\n");
  dir_.Write("program/.keep", "");
  FolderShell shell(W(dir_.path() + "/program"));
  const std::wstring written =
      settings::WriteSettings(shell, files_, settings::SettingsToSave{5, 6, 7, 1, 0});
  EXPECT_EQ(written, W(dir_.path() + "/program") + L"/Harumado.dat");
  EXPECT_EQ(test_support::ReadFile(dir_.path() + "/program/Harumado.dat"), "5,6,7,1,0\r\n");
  EXPECT_FALSE(files_.NormalFileExists(W(dir_.path() + "/config/harumado") + L"/Harumado.dat"));
  EXPECT_EQ(settings::SettingsReadPath(shell, files_), written);
}

}  // namespace
}  // namespace harumado::qt
