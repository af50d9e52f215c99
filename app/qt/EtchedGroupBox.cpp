#include "app/qt/EtchedGroupBox.h"

#include <qdrawutil.h>
#include <QPainter>

namespace glanex {

namespace {

// Where the caption starts, from the box's left edge.
constexpr int kCaptionIndent = 8;

}  // namespace

EtchedGroupBox::EtchedGroupBox(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {}

void EtchedGroupBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QFontMetrics metrics = fontMetrics();
  const QRect frame = rect().adjusted(0, metrics.height() / 2, 0, 0);
  qDrawShadeRect(&painter, frame, palette(), true, 1, 0);
  if (title().isEmpty()) return;
  const QRect caption(kCaptionIndent, 0, metrics.horizontalAdvance(title()), metrics.height());
  painter.fillRect(caption, palette().window());
  painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
  painter.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, title());
}

}  // namespace glanex
