#pragma once
// What the fuzz targets share: the input as text, and a failed property ending the run.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace harumado::fuzz {

// The bytes as wide text: well-formed UTF-8 sequences give their code point, any other byte
// stands for itself (so every code unit from 0 to 255 and every character beyond is reachable).
inline std::wstring WideText(std::string_view bytes) {
  std::wstring out;
  for (std::size_t i = 0; i < bytes.size();) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    int extra = c >= 0xF0 && c < 0xF5   ? 3
                : c >= 0xE0 && c < 0xF0 ? 2
                : c >= 0xC2 && c < 0xE0 ? 1
                                        : 0;
    char32_t cp = extra == 3 ? c & 0x07u : extra == 2 ? c & 0x0Fu : c & 0x1Fu;
    bool whole = extra > 0 && i + static_cast<std::size_t>(extra) < bytes.size();
    for (int k = 1; whole && k <= extra; ++k) {
      const auto d = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
      if ((d & 0xC0) != 0x80) whole = false;
      cp = (cp << 6) | (d & 0x3Fu);
    }
    if (whole && cp <= 0x10FFFF) {
      out.push_back(static_cast<wchar_t>(cp));
      i += 1 + static_cast<std::size_t>(extra);
    } else {
      out.push_back(static_cast<wchar_t>(c));
      ++i;
    }
  }
  return out;
}

// The input taken apart: fixed-size values from its front, the rest as text.
class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size)
      : bytes_(reinterpret_cast<const char*>(data), size) {}
  template <typename T>
  T Take() {
    T v{};
    unsigned char* p = reinterpret_cast<unsigned char*>(&v);
    for (std::size_t k = 0; k < sizeof(T) && pos_ < bytes_.size(); ++k)
      p[k] = static_cast<unsigned char>(bytes_[pos_++]);
    return v;
  }
  std::string_view Rest() const { return bytes_.substr(pos_); }

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
};

[[noreturn]] inline void PropertyFailed(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: property does not hold: %s\n", file, line, what);
  std::abort();
}

}  // namespace harumado::fuzz

#define FUZZ_REQUIRE(cond) \
  ((cond) ? static_cast<void>(0) : ::harumado::fuzz::PropertyFailed(#cond, __FILE__, __LINE__))
