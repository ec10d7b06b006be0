// What the screen shows: pixels of the program's windows, pictures of them, and the glyphs of
// their texts.
#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <map>

#include "harness.h"

namespace harumado::harness {
namespace {

std::wstring artifacts_folder;

}  // namespace

std::wstring ColorText(const Color& c) {
  return std::to_wstring(c.r) + L"," + std::to_wstring(c.g) + L"," + std::to_wstring(c.b);
}

bool Near(const Color& a, const Color& b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
         std::abs(a.b - b.b) <= tolerance;
}

// The screen is copied into a 24-bit device-independent bitmap; the part of the area that lies
// off the screen stays black.
ScreenShot::ScreenShot(const Rect& area) : area_(area) {
  const long w = area.width() > 0 ? area.width() : 1;
  const long h = area.height() > 0 ? area.height() : 1;
  stride_ = (w * 3 + 3) & ~3L;
  bgr_.assign(static_cast<std::size_t>(stride_ * h), 0);
  win32::WindowDc screen(nullptr);
  win32::UniqueMemoryDc memory(::CreateCompatibleDC(screen.get()));
  win32::UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.get(), w, h));
  {
    win32::SelectedObject selected(memory.get(), bitmap.get());
    const long screen_left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    const long screen_top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    const long screen_right = screen_left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const long screen_bottom = screen_top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    const long left = std::max(area.left, screen_left);
    const long top = std::max(area.top, screen_top);
    const long right = std::min(area.right, screen_right);
    const long bottom = std::min(area.bottom, screen_bottom);
    if (right > left && bottom > top) {
      ::BitBlt(memory.get(), left - area.left, top - area.top, right - left, bottom - top,
               screen.get(), left, top, SRCCOPY);
    }
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  ::GetDIBits(memory.get(), bitmap.get(), 0, static_cast<UINT>(h), bgr_.data(), &info,
              DIB_RGB_COLORS);
}

Color ScreenShot::At(long x, long y) const {
  const long col = x - area_.left;
  const long row = area_.height() - 1 - (y - area_.top);
  if (col < 0 || row < 0 || col >= area_.width() || row >= area_.height()) return {-1, -1, -1};
  const std::uint8_t* p = &bgr_[static_cast<std::size_t>(row * stride_ + col * 3)];
  return Color{p[2], p[1], p[0]};
}

Color ScreenShot::Dominant(const Rect& r) const {
  std::map<int, int> counts;
  for (long y = r.top; y < r.bottom; ++y) {
    for (long x = r.left; x < r.right; ++x) {
      const Color c = At(x, y);
      ++counts[(c.r << 16) | (c.g << 8) | c.b];
    }
  }
  int best = 0, best_count = -1;
  for (const auto& [key, n] : counts) {
    if (n > best_count) best = key, best_count = n;
  }
  return Color{(best >> 16) & 255, (best >> 8) & 255, best & 255};
}

int ScreenShot::CountNear(const Rect& r, const Color& color, int tolerance) const {
  int n = 0;
  for (long y = r.top; y < r.bottom; ++y) {
    for (long x = r.left; x < r.right; ++x) {
      if (Near(At(x, y), color, tolerance)) ++n;
    }
  }
  return n;
}

bool ScreenShot::SaveBmp(const std::wstring& path) const {
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = area_.width();
  header.biHeight = area_.height();
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  header.biSizeImage = static_cast<DWORD>(bgr_.size());
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + header.biSizeImage;
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<const char*>(&header), sizeof header);
  bytes.append(reinterpret_cast<const char*>(bgr_.data()), bgr_.size());
  WriteFileBytes(path, bytes);
  return FileExists(path);
}

// The colour most of the control's client area shows: its ground between borders and text.
Color BackColorOf(HWND control) {
  const Rect r = ClientRectOnScreen(control);
  ScreenShot shot(r);
  return shot.Dominant(r);
}

bool ShowsTextColor(HWND control, const Color& color) {
  const Rect r = ClientRectOnScreen(control);
  ScreenShot shot(r);
  return shot.CountNear(r, color, 40) >= 3;
}

Color CornerColorOf(HWND control) {
  const Rect r = ClientRectOnScreen(control);
  ScreenShot shot(r);
  return shot.At(r.left + 3, r.top + 3);
}

Color WindowBackColor(HWND window) {
  const Rect r = ClientRectOnScreen(window);
  ScreenShot shot(r);
  return shot.At(r.left + 1, r.top + 1);
}

// The font of the program's windows is asked for every character of the text.
std::wstring MissingGlyphs(const std::wstring& face, const std::wstring& text) {
  if (text.empty()) return L"";
  win32::WindowDc screen(nullptr);
  LOGFONTW lf{};
  lf.lfHeight = -12;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  std::wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  win32::UniqueFont font(::CreateFontIndirectW(&lf));
  win32::SelectedObject selected(screen.get(), font.get());
  std::vector<WORD> glyphs(text.size());
  ::GetGlyphIndicesW(screen.get(), text.c_str(), static_cast<int>(text.size()), glyphs.data(),
                     GGI_MARK_NONEXISTING_GLYPHS);
  std::wstring missing;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (glyphs[i] == 0xFFFF && c != L'\r' && c != L'\n') missing.push_back(c);
  }
  return missing;
}

// The strip of the frame left of the caption text, where the window's small icon stands.
bool TitleBarShows(HWND window, const Color& color) {
  const Rect outer = WindowRect(window);
  const Rect client = ClientRectOnScreen(window);
  const Rect strip{outer.left, outer.top, outer.left + (client.top - outer.top) + 4, client.top};
  ScreenShot shot(strip);
  return shot.CountNear(strip, color, 40) >= 4;
}

void SetArtifactsFolder(const std::wstring& folder) {
  artifacts_folder = folder;
  if (!folder.empty()) ::CreateDirectoryW(folder.c_str(), nullptr);
}

void SaveScreenShot(HWND window, const std::wstring& name) {
  if (artifacts_folder.empty() || window == nullptr) return;
  ScreenShot shot(WindowRect(window));
  Expect(shot.SaveBmp(artifacts_folder + L"\\" + name + L".bmp"),
         L"screenshot " + name + L" saved");
}

}  // namespace harumado::harness
