#include "qt/owner_draw_qt.h"

#include <QtWidgets/qdrawutil.h>

#include <QPainter>
#include <QStyleOptionFocusRect>

#include "platform/ui/dpi_scale.h"

namespace harumado::qt {
namespace {

// The picture's size at the DPI by the one rule of the layouts.
QSize ScaledSize(const QPixmap& picture, int dpi) {
  return QSize(ui::ScalePixels(picture.width(), dpi), ui::ScalePixels(picture.height(), dpi));
}

void DrawScaled(QPainter& painter, const QPixmap& picture, QPoint at, int dpi) {
  if (picture.isNull()) return;
  const QSize size = ScaledSize(picture, dpi);
  if (size == picture.size()) {
    painter.drawPixmap(at, picture);
    return;
  }
  painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
  painter.drawPixmap(QRect(at, size), picture);
}

}  // namespace

void GraphicalButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect all = rect();
  const bool pressed = isDown();
  QPalette edge = palette();
  edge.setColor(QPalette::Button, back);
  qDrawWinButton(&painter, all, edge, pressed, nullptr);
  painter.fillRect(all.adjusted(2, 2, -2, -2), back);

  QRect inner = all.adjusted(2, 2, -2, -2);
  if (pressed) inner.translate(1, 1);
  const QSize picture_size = picture.isNull() ? QSize(0, 0) : ScaledSize(picture, dpi);

  QString caption = text();
  caption.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  const int flags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;
  painter.setFont(font());
  const int text_h = caption.isEmpty() ? 0 : painter.boundingRect(inner, flags, caption).height();
  const int top = inner.top() + (inner.height() - (picture_size.height() + text_h)) / 2;
  if (!picture.isNull()) {
    DrawScaled(painter, picture,
               QPoint(inner.left() + (inner.width() - picture_size.width()) / 2, top), dpi);
  }
  if (!caption.isEmpty()) {
    const QRect text_rect(inner.left(), top + picture_size.height(), inner.width(), text_h);
    painter.setPen(isEnabled() ? fore : palette().color(QPalette::Disabled, QPalette::WindowText));
    painter.drawText(text_rect, flags, caption);
  }
  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = all.adjusted(3, 3, -3, -3);
    focus.backgroundColor = back;
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
  }
}

void PictureBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), ground);
  DrawScaled(painter, picture, QPoint(0, 0), dpi);
}

}  // namespace harumado::qt
