#include "win32/files_win32.h"

#include "win32/errors_win32.h"
#include "win32/scoped.h"
#include "win32/shell_win32.h"

namespace harumado::win32 {

// A directory lookup for a normal file: hidden files, system files and folders are not found.
bool FilesWin32::NormalFileExists(const std::wstring& path) {
  WIN32_FIND_DATAW found{};
  UniqueFind find(::FindFirstFileW(path.c_str(), &found));
  if (!find) return false;
  constexpr DWORD kSkipped =
      FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
  return (found.dwFileAttributes & kSkipped) == 0;
}

std::string FilesWin32::ReadAll(const std::wstring& path) {
  UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) ThrowFileError(::GetLastError(), path);
  std::string bytes;
  char buffer[4096];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) {
      ThrowFileError(::GetLastError(), path);
    }
    if (got == 0) break;
    bytes.append(buffer, got);
  }
  return bytes;
}

void FilesWin32::Delete(const std::wstring& path) {
  if (!::DeleteFileW(path.c_str())) ThrowFileError(::GetLastError(), path);
}

void FilesWin32::Write(const std::wstring& path, const std::string& bytes) {
  UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) ThrowFileError(::GetLastError(), path);
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD wrote = 0;
    const auto chunk = static_cast<DWORD>(bytes.size() - done);
    if (!::WriteFile(file.get(), bytes.data() + done, chunk, &wrote, nullptr) || wrote == 0) {
      ThrowFileError(::GetLastError(), path);
    }
    done += wrote;
  }
}

void FilesWin32::Replace(const std::wstring& source, const std::wstring& target) {
  if (!::MoveFileExW(source.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ThrowFileError(::GetLastError(), target);
  }
}

// %APPDATA%\Harumado, created when it does not exist yet.
std::wstring FilesWin32::FallbackFolder() {
  const std::wstring app_data = KnownFolder(FOLDERID_RoamingAppData);
  if (app_data.empty()) return L"";
  std::wstring folder = app_data + L"\\Harumado";
  if (!::CreateDirectoryW(folder.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) {
    return L"";
  }
  return folder;
}

}  // namespace harumado::win32
