// Files and shell folders on the real file system.
#include "platform_test.h"
#include "runtime/automation_error.h"
#include "win32/errors_win32.h"
#include "win32/files_win32.h"
#include "win32/scoped.h"
#include "win32/shell_win32.h"
#include "win32/win32_api.h"

namespace {

using harumado::rt::AutomationError;
using harumado::win32::FilesWin32;
using harumado::win32::ShellWin32;
using harumado::win32::UniqueFile;

std::wstring TestFolder(const wchar_t* name) {
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp) + L"harumado-platform-" + name;
  ::CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

void Put(const std::wstring& path, const char* bytes, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
  ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  FilesWin32().Write(path, bytes);
  ::SetFileAttributesW(path.c_str(), attributes);
}

// The error number a file operation raises, or 0 when it succeeds.
template <typename F>
int ErrorOf(F&& operation) {
  try {
    operation();
  } catch (const AutomationError& e) {
    return e.number();
  }
  return 0;
}

}  // namespace

PLATFORM_TEST(NormalFilesAreFoundAndHiddenOnesAreNot) {
  const std::wstring dir = TestFolder(L"normal");
  FilesWin32 files;
  const struct {
    const wchar_t* name;
    DWORD attributes;
    bool found;
  } cases[] = {
      {L"plain.dat", FILE_ATTRIBUTE_NORMAL, true},
      {L"archive.dat", FILE_ATTRIBUTE_ARCHIVE, true},
      {L"readonly.dat", FILE_ATTRIBUTE_READONLY, true},
      {L"hidden.dat", FILE_ATTRIBUTE_HIDDEN, false},
      {L"system.dat", FILE_ATTRIBUTE_SYSTEM, false},
  };
  for (const auto& c : cases) {
    const std::wstring path = dir + L"\\" + c.name;
    Put(path, "1,2,3,4,5\r\n", c.attributes);
    CHECK_INT(c.found, files.NormalFileExists(path));
  }
  CHECK(!files.NormalFileExists(dir + L"\\missing.dat"));
  CHECK(!files.NormalFileExists(dir));  // a folder is no file
  // The shell's test counts hidden files as files, folders not.
  ShellWin32 shell;
  CHECK(shell.FileExists(dir + L"\\hidden.dat"));
  CHECK(!shell.FileExists(dir));
  CHECK(!shell.FileExists(dir + L"\\missing.dat"));
}

PLATFORM_TEST(FilesAreWrittenReadReplacedAndDeleted) {
  const std::wstring dir = TestFolder(L"rw");
  FilesWin32 files;
  const std::wstring a = dir + L"\\a.dat";
  const std::wstring b = dir + L"\\b.dat";
  files.Write(a, std::string("120,80,3,2,1\r\n"));
  CHECK(files.ReadAll(a) == "120,80,3,2,1\r\n");
  files.Write(a, std::string("1"));  // truncates
  CHECK(files.ReadAll(a) == "1");
  files.Write(b, std::string("old"));
  files.Replace(a, b);
  CHECK(files.ReadAll(b) == "1");
  CHECK(!files.NormalFileExists(a));
  files.Delete(b);
  CHECK(!files.NormalFileExists(b));
}

// The time of the last write, as the file system keeps it; a replacement keeps the time of the
// file moved into place.
PLATFORM_TEST(ModifiedTimeIsTheTimeOfTheLastWrite) {
  const std::wstring dir = TestFolder(L"times");
  FilesWin32 files;
  const std::wstring a = dir + L"\\a.dat";
  const std::wstring b = dir + L"\\b.dat";
  files.Write(a, std::string("1"));
  // 2020-01-01 00:00 UTC in 100-nanosecond ticks since 1601.
  constexpr long long kOld = 132223104000000000LL;
  {
    UniqueFile file(::CreateFileW(a.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    CHECK(static_cast<bool>(file));
    FILETIME old{static_cast<DWORD>(kOld & 0xFFFFFFFF), static_cast<DWORD>(kOld >> 32)};
    CHECK(::SetFileTime(file.get(), nullptr, nullptr, &old));
  }
  CHECK_INT(kOld, files.ModifiedTime(a));
  files.Write(b, std::string("2"));
  CHECK(files.ModifiedTime(b) > kOld);
  files.Replace(a, b);
  CHECK_INT(kOld, files.ModifiedTime(b));
  files.Write(b, std::string("3"));
  CHECK(files.ModifiedTime(b) > kOld);
  CHECK_INT(53, ErrorOf([&] { files.ModifiedTime(a); }));
}

PLATFORM_TEST(FileFailuresRaiseTheFileStatementsNumbers) {
  const std::wstring dir = TestFolder(L"errors");
  FilesWin32 files;
  CHECK_INT(53, ErrorOf([&] { files.ReadAll(dir + L"\\missing.dat"); }));
  CHECK_INT(53, ErrorOf([&] { files.Delete(dir + L"\\missing.dat"); }));
  CHECK_INT(75, ErrorOf([&] { files.Write(dir + L"\\no-such-folder\\x.dat", "1"); }));
  CHECK_INT(70, ErrorOf([&] { files.Write(dir, "1"); }));  // a folder takes no bytes
  CHECK_INT(53, ErrorOf([&] { files.Replace(dir + L"\\missing.dat", dir + L"\\x.dat"); }));
  const struct {
    unsigned long win32_error;
    int number;
  } mapping[] = {{ERROR_FILE_NOT_FOUND, 53},
                 {ERROR_ACCESS_DENIED, 70},
                 {ERROR_SHARING_VIOLATION, 70},
                 {ERROR_PATH_NOT_FOUND, 75},
                 {ERROR_INVALID_NAME, 75}};
  for (const auto& m : mapping) {
    CHECK_INT(m.number, harumado::win32::FileErrorNumber(m.win32_error));
  }
}

PLATFORM_TEST(FallbackFolderIsCreatedUnderAppData) {
  wchar_t app_data[MAX_PATH] = {};
  ::GetEnvironmentVariableW(L"APPDATA", app_data, MAX_PATH);
  const std::wstring expected = std::wstring(app_data) + L"\\Harumado";
  ::RemoveDirectoryW(expected.c_str());
  FilesWin32 files;
  CHECK_TEXT(expected, files.FallbackFolder());
  const DWORD attributes = ::GetFileAttributesW(expected.c_str());
  CHECK(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
  CHECK_TEXT(expected, files.FallbackFolder());  // exists already: the same folder
}

PLATFORM_TEST(ProgramFolderIsTheFolderOfTheProgramFile) {
  wchar_t self[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring folder = self;
  folder.resize(folder.find_last_of(L'\\'));
  ShellWin32 shell;
  CHECK_TEXT(folder, shell.ProgramFolder());
  CHECK_TEXT(std::wstring(self), harumado::win32::ProgramFilePath());
  const std::wstring desktop = shell.DesktopFolder();
  CHECK(desktop.size() > 3 && desktop.substr(desktop.size() - 8) == L"\\Desktop");
}
