// Another program that copies: harumado-clipboard-owner TEXT [secret]
// Takes the CLIPBOARD selection with TEXT (and, with "secret", the password managers' marker
// "x-kde-passwordManagerHint" = "secret"), prints "owned TIME" once it holds it, and serves it
// until it is ended, printing "served FORMAT TIME" for each format another program reads. TIME
// is the system's monotonic clock in microseconds, the clock every process of the machine shares
// (the program's windows report gives its paste times on the same clock).
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace {

long long Now() {
  return std::chrono::duration_cast<std::chrono::microseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

class ServedData final : public QMimeData {
 protected:
  QVariant retrieveData(const QString& format, QMetaType type) const override {
    std::printf("served %s %lld\n", format.toUtf8().constData(), Now());
    std::fflush(stdout);
    return QMimeData::retrieveData(format, type);
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: harumado-clipboard-owner TEXT [secret]\n");
    return 2;
  }
  QGuiApplication application(argc, argv);
  auto* data = new ServedData;
  data->setText(QString::fromUtf8(argv[1]));
  if (argc > 2 && std::strcmp(argv[2], "secret") == 0) {
    data->setData(QStringLiteral("x-kde-passwordManagerHint"), QByteArray("secret"));
  }
  QGuiApplication::clipboard()->setMimeData(data, QClipboard::Clipboard);
  // Told once the selection is ours on the server.
  QTimer::singleShot(0, [] {
    std::printf("owned %lld\n", Now());
    std::fflush(stdout);
  });
  return application.exec();
}
