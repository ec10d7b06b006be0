#include "sim/sim_files.h"

#include "runtime/ascii_case.h"
#include "runtime/automation_error.h"

namespace harumado::sim {
namespace {
constexpr std::int32_t kFileNotFound = 53;
constexpr std::int32_t kPermissionDenied = 70;
constexpr std::int32_t kDeviceIo = 57;
}  // namespace

SimFileSystem::SimFileSystem(World& world) : world_(world) {}

// Windows file names compare without regard to ASCII case; a doubled backslash after a drive's
// root names the same file.
std::wstring SimFileSystem::Key(const std::wstring& path) {
  std::wstring k;
  for (wchar_t c : path) {
    if (c == L'/') c = L'\\';
    if (c == L'\\' && !k.empty() && k.back() == L'\\') continue;
    k.push_back(rt::AsciiLower(c));
  }
  return k;
}

bool SimFileSystem::IsSettingsFile(const std::wstring& path) const {
  const std::wstring settings = Key(SettingsPath());
  const std::wstring k = Key(path);
  return k.compare(0, settings.size(), settings) == 0;
}

SimFile* SimFileSystem::Find(const std::wstring& path) {
  auto it = files_.find(Key(path));
  return it == files_.end() ? nullptr : &it->second;
}

void SimFileSystem::Put(const std::wstring& path, SimFile file) {
  file.modified = world_.now();
  files_[Key(path)] = std::move(file);
}

void SimFileSystem::Remove(const std::wstring& path) { files_.erase(Key(path)); }

bool SimFileSystem::NormalFileExists(const std::wstring& path) {
  const SimFile* f = Find(path);
  return f != nullptr && !f->hidden;
}

bool SimFileSystem::FileExists(const std::wstring& path) { return Find(path) != nullptr; }

std::string SimFileSystem::ReadAll(const std::wstring& path) {
  if (IsSettingsFile(path) && settings_unreadable) {
    world_.Trace(L"read " + path + L" fails (permission denied)");
    throw rt::AutomationError(kPermissionDenied, L"Permission denied");
  }
  const SimFile* f = Find(path);
  if (f == nullptr) throw rt::AutomationError(kFileNotFound, L"File not found");
  world_.Trace(L"read " + path);
  return f->bytes;
}

void SimFileSystem::Delete(const std::wstring& path) {
  if (IsSettingsFile(path) && fail_settings_delete) {
    world_.Trace(L"delete " + path + L" fails");
    throw rt::AutomationError(kPermissionDenied, L"Permission denied");
  }
  if (Find(path) == nullptr) throw rt::AutomationError(kFileNotFound, L"File not found");
  world_.Trace(L"delete " + path);
  Remove(path);
}

void SimFileSystem::Write(const std::wstring& path, const std::string& bytes) {
  if (IsSettingsFile(path) && fail_settings_write) {
    world_.Trace(L"write " + path + L" fails");
    throw rt::AutomationError(kPermissionDenied, L"Permission denied");
  }
  world_.Trace(L"write " + path);
  Put(path, SimFile{bytes, std::nullopt, false});
  if (IsSettingsFile(path) && fail_settings_flush) {
    world_.Trace(L"flush " + path + L" fails");
    throw rt::AutomationError(kDeviceIo, L"Device I/O error");
  }
  if (IsSettingsFile(path) && fail_settings_close) {
    world_.Trace(L"close " + path + L" fails");
    throw rt::AutomationError(kDeviceIo, L"Device I/O error");
  }
}

// Replacing the old settings file counts as deleting it. The moved file keeps its time.
void SimFileSystem::Replace(const std::wstring& source, const std::wstring& target) {
  SimFile* src = Find(source);
  if (src == nullptr) throw rt::AutomationError(kFileNotFound, L"File not found");
  if (IsSettingsFile(target) && fail_settings_delete && Find(target) != nullptr) {
    world_.Trace(L"replace " + target + L" fails");
    throw rt::AutomationError(kPermissionDenied, L"Permission denied");
  }
  SimFile moved = *src;
  Remove(source);
  files_[Key(target)] = std::move(moved);
  world_.Trace(L"replace " + target);
}

std::int64_t SimFileSystem::ModifiedTime(const std::wstring& path) {
  const SimFile* f = Find(path);
  if (f == nullptr) throw rt::AutomationError(kFileNotFound, L"File not found");
  return f->modified;
}

std::vector<std::wstring> SimSystem::WmiBuildNumbers() {
  if (!wmi_build) throw rt::AutomationError(429, L"WMI not available");
  return {std::to_wstring(*wmi_build)};
}

void SimSystem::Exit() {
  world_.exited = true;
  world_.Trace(L"process exits");
}

}  // namespace harumado::sim
