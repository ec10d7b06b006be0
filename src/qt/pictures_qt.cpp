#include "qt/pictures_qt.h"

namespace harumado::qt {
namespace {

QString ResourcePath(const std::wstring& name, const char* extension) {
  return QStringLiteral(":/resources/") + QString::fromStdWString(name) +
         QString::fromLatin1(extension);
}

}  // namespace

QPixmap LoadPicture(const std::wstring& name) {
  if (name.empty()) return QPixmap();
  return QPixmap(ResourcePath(name, ".png"));
}

QIcon LoadIcon(const std::wstring& name) {
  if (name.empty()) return QIcon();
  return QIcon(ResourcePath(name, ".ico"));
}

const QPixmap& PictureCache::Get(const std::wstring& name) {
  auto it = pictures_.find(name);
  if (it == pictures_.end()) it = pictures_.emplace(name, LoadPicture(name)).first;
  return it->second;
}

}  // namespace harumado::qt
