#pragma once
// The program's pictures and window icons: the files of resources/, embedded in the program
// (":/resources/NAME.png", ":/resources/NAME.ico") and decoded by Qt on first use.
#include <QIcon>
#include <QPixmap>
#include <map>
#include <string>

namespace harumado::qt {

// The picture resource `name` (e.g. "cell_frame"); a null pixmap when there is none.
QPixmap LoadPicture(const std::wstring& name);
// The icon resource `name` (e.g. "main_icon") with every size its file holds.
QIcon LoadIcon(const std::wstring& name);

// The pictures of one window, decoded once and kept as long as the window.
class PictureCache {
 public:
  const QPixmap& Get(const std::wstring& name);

 private:
  std::map<std::wstring, QPixmap> pictures_;
};

}  // namespace harumado::qt
