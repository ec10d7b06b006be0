#include "qt/native_path.h"

#include <QString>

namespace harumado::qt {

std::string Utf8(const std::wstring& text) { return QString::fromStdWString(text).toStdString(); }

std::wstring Wide(const std::string& utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())).toStdWString();
}

std::string NativePath(const std::wstring& path) { return Utf8(path); }

}  // namespace harumado::qt
