#include "real_world.h"

#include <optional>

#include "sim/machine_host.h"
#include "win32/clipboard_opener.h"
#include "win32/scoped.h"

namespace harumado::doubles {
namespace {

constexpr double kPointsPerPixel = 0.75;

std::optional<std::string> ReadBytes(const std::wstring& path) {
  win32::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (::ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) {
    bytes.append(buffer, read);
  }
  return bytes;
}

}  // namespace

// Text first, as Excel offers it first; a picture is any bitmap format.
sim::ClipContent ReadClipboard() {
  sim::ClipContent content;
  win32::ClipboardOpener scope;
  if (!scope.open()) return content;
  if (::IsClipboardFormatAvailable(CF_UNICODETEXT)) {
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
      if (const auto* text = static_cast<const wchar_t*>(::GlobalLock(data))) {
        content.kind = sim::ClipKind::kText;
        content.text = text;
        ::GlobalUnlock(data);
        return content;
      }
    }
  }
  if (::IsClipboardFormatAvailable(CF_DIB)) {
    if (HANDLE data = ::GetClipboardData(CF_DIB)) {
      if (const auto* header = static_cast<const BITMAPINFOHEADER*>(::GlobalLock(data))) {
        content.kind = sim::ClipKind::kPicture;
        content.picture_width = header->biWidth * kPointsPerPixel;
        content.picture_height =
            (header->biHeight < 0 ? -header->biHeight : header->biHeight) * kPointsPerPixel;
        ::GlobalUnlock(data);
        return content;
      }
    }
  }
  if (::CountClipboardFormats() > 0) content.kind = sim::ClipKind::kOther;
  return content;
}

void LoadWorkbookFile(const std::wstring& path, sim::SimFileSystem& files) {
  const auto bytes = ReadBytes(path);
  if (!bytes) return;
  files.Put(path, sim::WorkbookFileFromBytes(path, *bytes));
}

void WriteWorkbookFile(const std::wstring& path, const sim::SimFile* file) {
  if (file == nullptr) return;
  const std::string bytes = sim::WorkbookFileBytes(*file);
  win32::UniqueFile out(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!out) return;
  DWORD written = 0;
  ::WriteFile(out.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace harumado::doubles
