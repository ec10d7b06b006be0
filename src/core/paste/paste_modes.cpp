#include "core/paste/paste_modes.h"

namespace harumado::paste {

const PasteModeInfo* FindModeByCaption(std::wstring_view caption) {
  for (const auto& m : kPasteModes) {
    if (m.caption == caption) return &m;
  }
  return nullptr;
}

const PasteModeInfo* FindModeByNumber(std::int32_t number) {
  for (const auto& m : kPasteModes) {
    if (m.number == number) return &m;
  }
  return nullptr;
}

}  // namespace harumado::paste
