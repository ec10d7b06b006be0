#include "win32/picture_win32.h"

#include <wincodec.h>

namespace harumado::win32 {

UniqueBitmap DecodePicture(const void* bytes, std::size_t size) {
  if (bytes == nullptr || size == 0 || size > MAXDWORD) return UniqueBitmap();
  ComPtr<IWICImagingFactory> factory;
  if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, factory.put_void()))) {
    return UniqueBitmap();
  }
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  ComPtr<IWICFormatConverter> converter;
  // The stream reads the bytes in place; they outlive every object here.
  if (FAILED(factory->CreateStream(stream.put())) ||
      FAILED(stream->InitializeFromMemory(static_cast<BYTE*>(const_cast<void*>(bytes)),
                                          static_cast<DWORD>(size))) ||
      FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                              decoder.put())) ||
      FAILED(decoder->GetFrame(0, frame.put())) ||
      FAILED(factory->CreateFormatConverter(converter.put())) ||
      FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat24bppBGR,
                                   WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom))) {
    return UniqueBitmap();
  }
  UINT width = 0;
  UINT height = 0;
  if (FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0 || width > 0x4000 ||
      height > 0x4000) {
    return UniqueBitmap();
  }
  // Rows top first, each padded to four bytes, as the decoder hands them out.
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = static_cast<LONG>(width);
  info.bmiHeader.biHeight = -static_cast<LONG>(height);
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  const UINT stride = (width * 3 + 3) & ~3u;
  void* bits = nullptr;
  UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || bits == nullptr ||
      FAILED(converter->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits)))) {
    return UniqueBitmap();
  }
  return bitmap;
}

UniqueBitmap LoadPicture(HINSTANCE instance, const std::wstring& name) {
  HRSRC found = ::FindResourceW(instance, name.c_str(), kPictureResourceType);
  if (found == nullptr) return UniqueBitmap();
  HGLOBAL loaded = ::LoadResource(instance, found);
  const DWORD size = ::SizeofResource(instance, found);
  // Resource memory belongs to the module: it needs no release.
  const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
  return DecodePicture(bytes, size);
}

}  // namespace harumado::win32
