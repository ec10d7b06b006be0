#include "core/settings/settings_writer.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <set>

#include "core/settings/settings_file.h"
#include "platform/files.h"
#include "platform/shell.h"
#include "runtime/automation_error.h"

namespace harumado::settings {
namespace {

constexpr std::int32_t kPermissionDenied = 70;

// Files in memory; writes or replacements into a refused folder fail with 70.
class MemoryFiles : public platform::Files, public platform::Shell {
 public:
  bool NormalFileExists(const std::wstring& path) override { return files.count(path) != 0; }
  std::string ReadAll(const std::wstring& path) override { return files.at(path); }
  void Delete(const std::wstring& path) override {
    if (files.erase(path) == 0) throw rt::AutomationError(53);
  }
  void Write(const std::wstring& path, const std::string& bytes) override {
    if (Refused(path, refuse_write)) {
      if (partial_write) files[path] = bytes.substr(0, 3);
      throw rt::AutomationError(kPermissionDenied);
    }
    files[path] = bytes;
    times[path] = ++clock;
  }
  void Replace(const std::wstring& source, const std::wstring& target) override {
    if (Refused(target, refuse_replace)) throw rt::AutomationError(kPermissionDenied);
    files[target] = files.at(source);
    times[target] = times.at(source);
    files.erase(source);
  }
  // A file put in place by a test counts as written at time 0.
  std::int64_t ModifiedTime(const std::wstring& path) override { return times[path]; }
  std::wstring FallbackFolder() override { return fallback; }
  std::wstring DesktopFolder() override { return L"C:\\Users\\u\\Desktop"; }
  std::wstring ProgramFolder() override { return program_folder; }
  bool FileExists(const std::wstring& path) override { return NormalFileExists(path); }

  static bool Refused(const std::wstring& path, const std::set<std::wstring>& folders) {
    for (const auto& f : folders) {
      if (path.compare(0, f.size(), f) == 0) return true;
    }
    return false;
  }

  std::map<std::wstring, std::string> files;
  std::map<std::wstring, std::int64_t> times;  // each write is later than the one before
  std::int64_t clock = 0;
  std::set<std::wstring> refuse_write;
  std::set<std::wstring> refuse_replace;
  bool partial_write = false;
  std::wstring fallback;
  std::wstring program_folder = L"C:\\Tools\\Harumado";
};

const std::wstring kBeside = L"C:\\Tools\\Harumado\\Harumado.dat";
const std::wstring kBesideTemporary = L"C:\\Tools\\Harumado\\Harumado.dat.tmp";
const std::wstring kAppData = L"C:\\Users\\u\\AppData\\Roaming\\Harumado";
const std::wstring kInAppData = kAppData + L"\\Harumado.dat";

TEST(SettingsBytes, WritesPlainDecimalFieldsAndOneLineEnd) {
  struct Case {
    SettingsToSave values;
    const char* bytes;
  } cases[] = {
      {{120, 80, 3, 2, 1}, "120,80,3,2,1\r\n"},
      {{-100, -50, 1, 1, 0}, "-100,-50,1,1,0\r\n"},
      {{0, 0, 9, 0, 0}, "0,0,9,0,0\r\n"},
      {{INT32_MIN, INT32_MAX, 15, 4, 1}, "-2147483648,2147483647,15,4,1\r\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SettingsBytes(c.values), c.bytes);
  }
}

TEST(PasteModeFromCheck2, TakesTheCaptionOfATickedBoxOnly) {
  struct Case {
    int value;
    const wchar_t* caption;
    std::int32_t current, saved;
  } cases[] = {
      {1, L"整数", 7, 1},  {1, L"数値", 0, 2}, {1, L"画像", 0, 3}, {1, L"画像\u25A1", 1, 4},
      {1, L"画像 ", 2, 2}, {0, L"数値", 3, 3}, {2, L"数値", 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PasteModeFromCheck2(c.value, c.caption, c.current), c.saved) << c.caption;
  }
}

TEST(TopmostFromCheck4, KeepsTheValueForAGrayedBox) {
  EXPECT_EQ(TopmostFromCheck4(0, 1), 0);
  EXPECT_EQ(TopmostFromCheck4(1, 0), 1);
  EXPECT_EQ(TopmostFromCheck4(2, 7), 7);
}

TEST(WriteSettings, ReplacesTheFileBesideTheProgramAndLeavesNoTemporaryFile) {
  MemoryFiles files;
  files.files[kBeside] = "1,2,3,4,1\r\n";
  EXPECT_EQ(WriteSettings(files, files, {-7, 8, 2, 1, 0}), kBeside);
  EXPECT_EQ(files.files.at(kBeside), "-7,8,2,1,0\r\n");
  EXPECT_EQ(files.files.size(), 1u);
}

TEST(WriteSettings, KeepsARootFolderPathAsTheSystemReportsIt) {
  MemoryFiles files;
  files.program_folder = L"D:\\";
  WriteSettings(files, files, {1, 2, 3, 1, 1});
  EXPECT_EQ(files.files.count(L"D:\\\\Harumado.dat"), 1u);
}

TEST(WriteSettings, AFailingReplacementKeepsTheOldFileAndRemovesTheNewContent) {
  MemoryFiles files;
  files.files[kBeside] = "1,2,3,4,1\r\n";
  files.refuse_replace = {kBeside};
  files.fallback = kAppData;  // the folder takes files: no reason to move elsewhere
  EXPECT_THROW(WriteSettings(files, files, {5, 6, 7, 1, 1}), rt::AutomationError);
  EXPECT_EQ(files.files.at(kBeside), "1,2,3,4,1\r\n");
  EXPECT_EQ(files.files.count(kBesideTemporary), 0u);
  EXPECT_EQ(files.files.count(kInAppData), 0u);
}

TEST(WriteSettings, AHalfWrittenTemporaryFileIsRemovedAndTheOldFileKept) {
  MemoryFiles files;
  files.files[kBeside] = "1,2,3,4,1\r\n";
  files.refuse_write = {L"C:\\Tools"};
  files.partial_write = true;
  EXPECT_THROW(WriteSettings(files, files, {5, 6, 7, 1, 1}), rt::AutomationError);
  EXPECT_EQ(files.files.at(kBeside), "1,2,3,4,1\r\n");
  EXPECT_EQ(files.files.count(kBesideTemporary), 0u);
}

TEST(WriteSettings, GoesToTheFallbackFolderWhenTheProgramFolderTakesNoFile) {
  MemoryFiles files;
  files.files[kBeside] = "1,2,3,4,1\r\n";
  files.refuse_write = {L"C:\\Tools"};
  files.fallback = kAppData;
  EXPECT_EQ(WriteSettings(files, files, {5, 6, 7, 1, 1}), kInAppData);
  EXPECT_EQ(files.files.at(kInAppData), "5,6,7,1,1\r\n");
  EXPECT_EQ(files.files.at(kBeside), "1,2,3,4,1\r\n");
  EXPECT_EQ(files.files.size(), 2u);
}

TEST(WriteSettings, FailsWhenNeitherFolderTakesTheFile) {
  MemoryFiles files;
  files.refuse_write = {L"C:\\"};
  files.fallback = kAppData;
  EXPECT_THROW(WriteSettings(files, files, {5, 6, 7, 1, 1}), rt::AutomationError);
  EXPECT_TRUE(files.files.empty());
}

// A read-only program folder holding an old file: the fallback copy is the one start-up reads,
// and once the program folder takes files again the stale fallback copy goes.
TEST(WriteSettings, StartUpReadsWhatTheLastWriteStored) {
  MemoryFiles files;
  files.files[kBeside] = "1,2,3,4,1\r\n";
  files.refuse_write = {L"C:\\Tools"};
  files.fallback = kAppData;
  WriteSettings(files, files, {5, 6, 7, 1, 1});
  EXPECT_EQ(SettingsReadPath(files, files), kInAppData);

  files.refuse_write.clear();
  WriteSettings(files, files, {9, 9, 2, 2, 0});
  EXPECT_EQ(files.files.count(kInAppData), 0u);
  EXPECT_EQ(SettingsReadPath(files, files), kBeside);
  EXPECT_EQ(files.files.at(kBeside), "9,9,2,2,0\r\n");
}

}  // namespace
}  // namespace harumado::settings
