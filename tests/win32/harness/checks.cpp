// Expectations and their report, files and folders of the scenarios.
#include <cstdio>
#include <thread>

#include "harness.h"
#include "win32/text_win32.h"

namespace harumado::harness {
namespace {

int failures = 0;

void PrintLine(const std::wstring& line) {
  const std::string utf8 = win32::AnsiFromWide(line + L"\n", CP_UTF8);
  std::fwrite(utf8.data(), 1, utf8.size(), stdout);
  std::fflush(stdout);
}

}  // namespace

void Note(const std::wstring& line) { PrintLine(line); }

void Fail(const std::wstring& what, const std::wstring& expected, const std::wstring& got) {
  ++failures;
  PrintLine(L"FAILED: " + what + L": expected [" + expected + L"], got [" + got + L"]");
}

bool Expect(bool ok, const std::wstring& what) {
  if (!ok) Fail(what, L"true", L"false");
  return ok;
}

bool ExpectText(const std::wstring& what, const std::wstring& expected, const std::wstring& got) {
  if (expected != got) Fail(what, expected, got);
  return expected == got;
}

bool ExpectInt(const std::wstring& what, long long expected, long long got) {
  if (expected != got) Fail(what, std::to_wstring(expected), std::to_wstring(got));
  return expected == got;
}

int FailureCount() { return failures; }

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    // Messages sent to this thread (the viewer window's) are handled while waiting.
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

std::wstring WindowsPath(const std::wstring& path) {
  if (path.empty() || path[0] != L'/') return path;
  std::wstring w = L"Z:" + path;
  for (wchar_t& c : w) {
    if (c == L'/') c = L'\\';
  }
  return w;
}

void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW found{};
  win32::UniqueFind find(::FindFirstFileW((folder + L"\\*").c_str(), &found));
  if (find) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(path.c_str());
      }
    } while (::FindNextFileW(find.get(), &found));
  }
  ::RemoveDirectoryW(folder.c_str());
}

std::wstring TempFolder(const std::wstring& name) {
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp) + L"harumado-" + name;
  RemoveTree(folder);
  ::CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

bool FileExists(const std::wstring& path) {
  const DWORD a = ::GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::optional<std::string> ReadFileBytes(const std::wstring& path) {
  win32::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
  if (!file) return std::nullopt;
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
    bytes.append(buffer, got);
  }
  return bytes;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  win32::UniqueFile file(
      ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD wrote = 0;
  if (!file ||
      !::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr)) {
    Fail(L"write " + path, L"written", L"error " + std::to_wstring(::GetLastError()));
  }
}

void CopyProgram(const std::wstring& program, const std::wstring& target) {
  if (!::CopyFileW(program.c_str(), target.c_str(), FALSE)) {
    Fail(L"copy the program to " + target, L"copied",
         L"error " + std::to_wstring(::GetLastError()));
  }
}

std::wstring AppDataFolder() {
  wchar_t buffer[MAX_PATH] = {};
  const DWORD n = ::GetEnvironmentVariableW(L"APPDATA", buffer, MAX_PATH);
  return std::wstring(buffer, n);
}

std::wstring Utf16(const std::string& bytes) { return win32::WideFromAnsi(bytes, CP_UTF8); }

std::wstring Printable(const std::string& bytes) {
  std::wstring out;
  for (char c : bytes) {
    if (c == '\r')
      out += L"\\r";
    else if (c == '\n')
      out += L"\\n";
    else
      out += static_cast<wchar_t>(static_cast<unsigned char>(c));
  }
  return out;
}

}  // namespace harumado::harness
