#pragma once
// The program's pictures: compressed (PNG) resources, decoded by the Windows Imaging Component
// into bitmaps that draw as the pictures were rendered, pixel for pixel.
#include <cstddef>
#include <string>

#include "win32/scoped.h"

namespace harumado::win32 {

// The resource type of the pictures in the resource script.
inline constexpr wchar_t kPictureResourceType[] = L"PNG";

// The picture resource `name` as a 24-bit device-independent bitmap; none when the resource is
// missing or cannot be decoded. COM must be initialised on the calling thread.
UniqueBitmap LoadPicture(HINSTANCE instance, const std::wstring& name);

// Decodes an image file's bytes (any format the system decodes) into a 24-bit bitmap.
UniqueBitmap DecodePicture(const void* bytes, std::size_t size);

}  // namespace harumado::win32
