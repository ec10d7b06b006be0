// Copies a text the way a password manager does: beside the text it offers
// "x-kde-passwordManagerHint" with the value "secret". It prints "owner" once it holds the
// CLIPBOARD selection and serves it until it is ended.
//   harumado-secret-copy TEXT
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <cstdio>

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc < 2) return 2;
  auto* content = new QMimeData;
  content->setText(QString::fromUtf8(argv[1]));
  content->setData("x-kde-passwordManagerHint", "secret");
  QGuiApplication::clipboard()->setMimeData(content, QClipboard::Clipboard);
  if (!QGuiApplication::clipboard()->ownsClipboard()) return 1;
  std::puts("owner");
  std::fflush(stdout);
  return QGuiApplication::exec();
}
