// The pictures decoded by the Windows Imaging Component: every pixel as the file holds it, rows
// top first, and no bitmap from bytes that are no picture.
#include <cstdint>
#include <vector>

#include "platform_test.h"
#include "win32/picture_win32.h"

namespace {

namespace win32 = harumado::win32;

// A 3 x 2 PNG, 24-bit: red, green, blue above white, #123456, black (an odd width, so that the
// bitmap's rows are padded).
constexpr std::uint8_t kPng[] = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52,
    0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x02, 0x08, 0x02, 0x00, 0x00, 0x00, 0x12, 0x16, 0xF1,
    0x4D, 0x00, 0x00, 0x00, 0x16, 0x49, 0x44, 0x41, 0x54, 0x78, 0xDA, 0x63, 0xF8, 0xCF, 0xC0, 0xC0,
    0x00, 0xC1, 0xFF, 0xFF, 0xFF, 0x17, 0x32, 0x09, 0x03, 0x32, 0x01, 0x47, 0x97, 0x06, 0x97, 0x2F,
    0x0E, 0x6F, 0xE3, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};

COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
  win32::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
  win32::SelectedObject selected(dc.get(), bitmap);
  return ::GetPixel(dc.get(), x, y);
}

PLATFORM_TEST(PngPicturesDecodeToTheirPixels) {
  win32::ComApartment com;
  const win32::UniqueBitmap bitmap = win32::DecodePicture(kPng, sizeof kPng);
  CHECK(static_cast<bool>(bitmap));
  if (!bitmap) return;
  BITMAP info{};
  CHECK(::GetObjectW(bitmap.get(), sizeof info, &info) != 0);
  CHECK_INT(3, info.bmWidth);
  CHECK_INT(2, info.bmHeight);
  CHECK_INT(24, info.bmBitsPixel);
  const COLORREF expected[2][3] = {{RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)},
                                   {RGB(255, 255, 255), RGB(0x12, 0x34, 0x56), RGB(0, 0, 0)}};
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) CHECK_INT(expected[y][x], PixelOf(bitmap.get(), x, y));
  }
}

PLATFORM_TEST(BytesThatAreNoPictureGiveNoBitmap) {
  win32::ComApartment com;
  CHECK(!win32::DecodePicture(kPng, 30));  // cut off inside its header
  const std::vector<std::uint8_t> text = {'n', 'o', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'};
  CHECK(!win32::DecodePicture(text.data(), text.size()));
  CHECK(!win32::DecodePicture(nullptr, 0));
}

PLATFORM_TEST(AMissingPictureResourceGivesNoBitmap) {
  win32::ComApartment com;
  CHECK(!win32::LoadPicture(::GetModuleHandleW(nullptr), L"usage_page"));
}

}  // namespace
