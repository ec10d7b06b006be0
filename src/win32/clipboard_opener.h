#pragma once
// The clipboard, open for one read or one write: opened when the object is made (tried again
// for a short while when another program holds it), closed when it goes out of scope.
#include "win32/win32_api.h"

namespace harumado::win32 {

class ClipboardOpener {
 public:
  ClipboardOpener();
  ~ClipboardOpener();
  ClipboardOpener(const ClipboardOpener&) = delete;
  ClipboardOpener& operator=(const ClipboardOpener&) = delete;
  // False when the clipboard stayed held by another program for the whole retry budget.
  bool open() const { return open_; }

 private:
  bool open_ = false;
};

}  // namespace harumado::win32
