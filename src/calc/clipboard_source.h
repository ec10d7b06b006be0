#pragma once
// What the Calc host reads from the clipboard. Calc's own paste does not paste text as Excel
// does (multi-line text opens an import dialog), so the host takes the clipboard content from
// the program's platform and writes it through the API itself.
//
// Lifetime: owned by the program; it outlives the host and every object the host returns.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace harumado::calc {

class ClipboardSource {
 public:
  virtual ~ClipboardSource() = default;
  // The text on the clipboard, or nothing when it offers none.
  virtual std::optional<std::wstring> Text() = 0;
  // The picture on the clipboard as the bytes of an image file (PNG, BMP, JPEG ...), or nothing
  // when it offers none.
  virtual std::optional<std::vector<std::uint8_t>> Picture() = 0;
};

}  // namespace harumado::calc
