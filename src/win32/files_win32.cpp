#include "win32/files_win32.h"

#include <cstdint>

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
  // The new content is on the disk before anything replaces the old file with it, so a power
  // loss right after the replacement cannot leave an empty file; a close that fails (a network
  // share that could not store the bytes) fails the write too.
  if (!::FlushFileBuffers(file.get())) ThrowFileError(::GetLastError(), path);
  if (!::CloseHandle(file.release())) ThrowFileError(::GetLastError(), path);
}

void FilesWin32::Replace(const std::wstring& source, const std::wstring& target) {
  if (!::MoveFileExW(source.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ThrowFileError(::GetLastError(), target);
  }
}

// The last-write time in 100-nanosecond ticks since 1601 (FILETIME).
std::int64_t FilesWin32::ModifiedTime(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
    ThrowFileError(::GetLastError(), path);
  }
  return static_cast<std::int64_t>(
      (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
      data.ftLastWriteTime.dwLowDateTime);
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
