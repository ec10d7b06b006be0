#pragma once
// The simulated file system, shell folders and system facts.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/shell.h"
#include "platform/system_info.h"
#include "sim/world.h"

namespace harumado::sim {

struct SimFile {
  std::string bytes;
  std::optional<int> excel_format;  // a workbook saved by Excel with this file format
  bool hidden = false;
  Millis modified = 0;  // the virtual clock when the file was last written
};

class SimFileSystem : public platform::Files, public platform::Shell {
 public:
  explicit SimFileSystem(World& world);

  // Files
  bool NormalFileExists(const std::wstring& path) override;
  std::string ReadAll(const std::wstring& path) override;
  void Delete(const std::wstring& path) override;
  void Write(const std::wstring& path, const std::string& bytes) override;
  void Replace(const std::wstring& source, const std::wstring& target) override;
  std::int64_t ModifiedTime(const std::wstring& path) override;
  std::wstring FallbackFolder() override { return fallback_folder; }
  // Shell
  std::wstring DesktopFolder() override { return desktop; }
  std::wstring ProgramFolder() override { return program_folder; }
  bool FileExists(const std::wstring& path) override;

  std::wstring desktop = L"C:\\Users\\user\\Desktop";
  std::wstring program_folder = L"C:\\Tools\\Harumado";
  std::wstring fallback_folder;  // none unless a test gives one
  std::wstring SettingsPath() const { return program_folder + L"\\Harumado.dat"; }

  // Faults of the settings file (and any file written beside it under its name).
  bool settings_unreadable = false;
  bool fail_settings_delete = false;
  bool fail_settings_write = false;
  // The bytes reach the file, but flushing them to the disk / closing the file fails.
  bool fail_settings_flush = false;
  bool fail_settings_close = false;

  SimFile* Find(const std::wstring& path);
  // Puts the file in place, written now.
  void Put(const std::wstring& path, SimFile file);
  void Remove(const std::wstring& path);

 private:
  static std::wstring Key(const std::wstring& path);
  bool IsSettingsFile(const std::wstring& path) const;
  World& world_;
  std::map<std::wstring, SimFile> files_;
};

class SimSystem : public platform::SystemInfo {
 public:
  explicit SimSystem(World& world) : world_(world) {}
  std::int32_t VersionBuildNumber() override { return version_build; }
  std::vector<std::wstring> WmiBuildNumbers() override;
  bool AnotherInstanceRuns() override { return another_instance; }
  void Exit() override;

  std::int32_t version_build = 19045;
  std::optional<std::int32_t> wmi_build = 19045;  // nothing: WMI is not available
  bool another_instance = false;

 private:
  World& world_;
};

}  // namespace harumado::sim
