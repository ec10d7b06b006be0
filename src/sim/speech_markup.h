#pragma once
// How the speech service reads a text it is asked to speak: like the platform's voice, it takes
// a text that begins with "<" as speech markup and leaves every tag in it (from "<" to the next
// ">") unspoken, unless the speak call marks the text as plain text. Shared by the simulated voice
// and the voice that stands in for the platform's under wine.
#include <string>

#include "platform/voice.h"

namespace harumado::sim {

inline bool ReadAsMarkup(const std::wstring& text, int flags) {
  return (flags & platform::kSpeakIsNotXml) == 0 && !text.empty() && text.front() == L'<';
}

// The part of the text that is heard.
inline std::wstring SpokenPart(const std::wstring& text, int flags) {
  if (!ReadAsMarkup(text, flags)) return text;
  std::wstring spoken;
  bool in_tag = false;
  for (const wchar_t c : text) {
    if (in_tag) {
      in_tag = c != L'>';
    } else if (c == L'<') {
      in_tag = true;
    } else {
      spoken += c;
    }
  }
  return spoken;
}

}  // namespace harumado::sim
