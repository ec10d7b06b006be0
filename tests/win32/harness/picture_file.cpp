// A picture file read into pixels with the system's image decoder, to compare the screen with.
#include <wincodec.h>

#include "harness.h"
#include "win32/scoped.h"

namespace harumado::harness {

std::optional<PictureFile> ReadPictureFile(const std::wstring& path) {
  win32::ComApartment apartment;
  win32::ComPtr<IWICImagingFactory> factory;
  win32::ComPtr<IWICBitmapDecoder> decoder;
  win32::ComPtr<IWICBitmapFrameDecode> frame;
  win32::ComPtr<IWICFormatConverter> converter;
  if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, factory.put_void())) ||
      FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                WICDecodeMetadataCacheOnDemand, decoder.put())) ||
      FAILED(decoder->GetFrame(0, frame.put())) ||
      FAILED(factory->CreateFormatConverter(converter.put())) ||
      FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA,
                                   WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom))) {
    return std::nullopt;
  }
  UINT width = 0;
  UINT height = 0;
  if (FAILED(converter->GetSize(&width, &height))) return std::nullopt;
  std::vector<std::uint8_t> bgra(static_cast<std::size_t>(width) * height * 4);
  if (FAILED(
          converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(bgra.size()), bgra.data()))) {
    return std::nullopt;
  }
  PictureFile picture;
  picture.width = static_cast<long>(width);
  picture.height = static_cast<long>(height);
  picture.pixels.reserve(static_cast<std::size_t>(width) * height);
  for (std::size_t i = 0; i < bgra.size(); i += 4) {
    picture.pixels.push_back(Color{bgra[i + 2], bgra[i + 1], bgra[i]});
  }
  return picture;
}

}  // namespace harumado::harness
