// The settings file on the simulated file system: faults of the write itself (the bytes, their
// flush to the disk, the close) and the choice between two copies by their times.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/app/form1.h"
#include "core/app/program.h"
#include "core/settings/settings_file.h"
#include "core/settings/settings_writer.h"
#include "runtime/automation_error.h"
#include "sim/desktop.h"

namespace harumado::settings {
namespace {

const std::wstring kBeside = L"C:\\Tools\\Harumado\\Harumado.dat";
const std::wstring kBesideTemporary = L"C:\\Tools\\Harumado\\Harumado.dat.tmp";
const std::wstring kAppData = L"C:\\Users\\user\\AppData\\Roaming\\Harumado";
const std::wstring kInAppData = kAppData + L"\\Harumado.dat";

void PutAt(sim::Desktop& d, const std::wstring& path, const char* bytes, sim::Millis at) {
  d.world.set_now(at);
  d.files.Put(path, sim::SimFile{bytes, std::nullopt, false});
}

// A write that fails at any of its stages is a failed write: the old file stays as it was and
// the temporary file is gone, so the next start reads the old settings.
TEST(WriteSettingsOnSimulatedFiles, AFailedWriteFlushOrCloseKeepsTheOldFile) {
  struct Case {
    const char* what;
    bool sim::SimFileSystem::*fault;
  } cases[] = {
      {"write", &sim::SimFileSystem::fail_settings_write},
      {"flush", &sim::SimFileSystem::fail_settings_flush},
      {"close", &sim::SimFileSystem::fail_settings_close},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    sim::Desktop d;
    PutAt(d, kBeside, "1,2,3,4,1\r\n", 0);
    d.files.*c.fault = true;
    EXPECT_THROW(WriteSettings(d.files, d.files, {5, 6, 7, 1, 1}), rt::AutomationError);
    ASSERT_NE(d.files.Find(kBeside), nullptr);
    EXPECT_EQ(d.files.Find(kBeside)->bytes, "1,2,3,4,1\r\n");
    EXPECT_EQ(d.files.Find(kBesideTemporary), nullptr);
    EXPECT_EQ(SettingsReadPath(d.files, d.files), kBeside);
  }
}

// Without such a fault the same write replaces the file: the table above fails for its fault.
TEST(WriteSettingsOnSimulatedFiles, AWriteWithoutFaultReplacesTheFile) {
  sim::Desktop d;
  PutAt(d, kBeside, "1,2,3,4,1\r\n", 0);
  d.world.set_now(700);
  EXPECT_EQ(WriteSettings(d.files, d.files, {5, 6, 7, 1, 1}), kBeside);
  EXPECT_EQ(d.files.Find(kBeside)->bytes, "5,6,7,1,1\r\n");
  EXPECT_EQ(d.files.ModifiedTime(kBeside), 700);
  EXPECT_EQ(d.files.Find(kBesideTemporary), nullptr);
}

// Both copies stand when removing the fallback copy failed or the program ended between the two
// steps: the one written last is read, whichever folder holds it.
TEST(SettingsReadPath, ReadsTheNewerOfTheTwoCopies) {
  struct Case {
    const char* what;
    sim::Millis beside_at, fallback_at;  // -1: no such copy
    const std::wstring& read;
  } cases[] = {
      {"beside only", 100, -1, kBeside},
      {"fallback only", -1, 100, kInAppData},
      {"beside newer", 900, 100, kBeside},
      {"fallback newer", 100, 900, kInAppData},
      {"same time: the fallback copy, as the writer leaves it only when needed", 500, 500,
       kInAppData},
      {"neither", -1, -1, kBeside},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    sim::Desktop d;
    d.files.fallback_folder = kAppData;
    if (c.beside_at >= 0) PutAt(d, kBeside, "1,1,1,1,1\r\n", c.beside_at);
    if (c.fallback_at >= 0) PutAt(d, kInAppData, "2,2,2,2,2\r\n", c.fallback_at);
    EXPECT_EQ(SettingsReadPath(d.files, d.files), c.read);
  }
}

// A run whose program folder took no file wrote the fallback copy; a later run wrote beside the
// program again, but the stale fallback copy could not be removed. The next start restores the
// later run's settings.
TEST(SettingsReadPath, StartUpRestoresTheSettingsOfTheLastRun) {
  sim::Desktop d;
  d.files.fallback_folder = kAppData;
  PutAt(d, kBeside, "0,0,2,1,1\r\n", 0);
  d.files.fail_settings_write = true;
  d.world.set_now(1000);
  EXPECT_EQ(WriteSettings(d.files, d.files, {0, 0, 3, 1, 1}), kInAppData);
  d.files.fail_settings_write = false;
  d.world.set_now(5000);
  // Written beside the program; the removal of the fallback copy that follows is undone, as if
  // it had failed.
  const sim::SimFile stale = *d.files.Find(kInAppData);
  EXPECT_EQ(WriteSettings(d.files, d.files, {0, 0, 7, 2, 1}), kBeside);
  d.files.Put(kInAppData, stale);
  d.files.Find(kInAppData)->modified = 1000;

  d.world.set_now(9000);
  auto services = d.services();
  app::Program program(services);
  program.Start();
  EXPECT_EQ(program.form1().Text1().text(), L"7");
  EXPECT_EQ(program.form1().Check2().text(), L"数値");
}

}  // namespace
}  // namespace harumado::settings
