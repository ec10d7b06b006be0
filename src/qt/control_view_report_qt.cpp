// What a window shows, as lines of text for the tests of the program (window_system_qt.h,
// DescribeWindows): read from the native widgets, not from the model.
#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>

#include "qt/control_view_qt.h"

namespace harumado::qt {
namespace {

// Line breaks and backslashes are escaped, so that each fact stays on its line.
QString Escaped(QString text) {
  text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
  text.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
  text.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
  return text;
}

QString RectText(const QRect& r) {
  return QStringLiteral("%1 %2 %3 %4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// "R,G,B", as the harness writes a pixel's colour.
QString ColorText(const QColor& c) {
  return QStringLiteral("%1,%2,%3").arg(c.red()).arg(c.green()).arg(c.blue());
}

}  // namespace

void ControlViewQt::Describe(QString& out) const {
  if (!alive() || window_ == nullptr) return;
  const QString name = QString::fromStdWString(model_->name());
  auto fact = [&out](const QString& key, const QString& value) {
    out += key + QLatin1Char('=') + value + QLatin1Char('\n');
  };
  fact(name + QStringLiteral(".caption"), Escaped(window_->windowTitle()));
  fact(name + QStringLiteral(".visible"), QString::number(window_->isVisible() ? 1 : 0));
  fact(name + QStringLiteral(".active"), QString::number(window_->isActiveWindow() ? 1 : 0));
  fact(name + QStringLiteral(".topmost"),
       QString::number(window_->windowFlags().testFlag(Qt::WindowStaysOnTopHint) ? 1 : 0));
  fact(name + QStringLiteral(".dpi"), QString::number(dpi_));
  fact(name + QStringLiteral(".frame"), RectText(window_->frameGeometry()));
  fact(name + QStringLiteral(".client"), RectText(window_->geometry()));
  for (const Native& n : natives_) {
    if (n.widget == nullptr) continue;
    const QString key = name + QLatin1Char('.') + QString::fromStdWString(n.model->name());
    const QPoint at = n.widget->mapToGlobal(QPoint(0, 0));
    fact(key + QStringLiteral(".screen"), RectText(QRect(at, n.widget->size())));
    fact(key + QStringLiteral(".enabled"), QString::number(n.widget->isEnabled() ? 1 : 0));
    fact(key + QStringLiteral(".focus"), QString::number(n.widget->hasFocus() ? 1 : 0));
    fact(key + QStringLiteral(".tooltip"), Escaped(n.widget->toolTip()));
    fact(key + QStringLiteral(".font"), n.widget->font().family() + QStringLiteral(" ") +
                                            QString::number(n.widget->font().pixelSize()));
    if (auto* edit = qobject_cast<QLineEdit*>(n.widget)) {
      fact(key + QStringLiteral(".text"), Escaped(edit->text()));
      fact(key + QStringLiteral(".forecolor"), ColorText(edit->palette().color(QPalette::Text)));
      fact(key + QStringLiteral(".hints"), QString::number(edit->inputMethodHints().toInt()));
    } else if (auto* text = qobject_cast<QPlainTextEdit*>(n.widget)) {
      fact(key + QStringLiteral(".text"), Escaped(text->toPlainText()));
      fact(key + QStringLiteral(".forecolor"), ColorText(text->palette().color(QPalette::Text)));
    } else if (auto* button = qobject_cast<QAbstractButton*>(n.widget)) {
      fact(key + QStringLiteral(".text"), Escaped(button->text()));
      if (button->isCheckable()) {
        fact(key + QStringLiteral(".checked"), QString::number(button->isChecked() ? 1 : 0));
      }
    } else if (auto* label = qobject_cast<QLabel*>(n.widget)) {
      fact(key + QStringLiteral(".text"), Escaped(label->text()));
    } else if (auto* bar = qobject_cast<QScrollBar*>(n.widget)) {
      fact(key + QStringLiteral(".value"), QString::number(bar->value()));
      fact(key + QStringLiteral(".range"),
           QString::number(bar->minimum()) + QLatin1Char(' ') + QString::number(bar->maximum()));
    }
  }
}

}  // namespace harumado::qt
