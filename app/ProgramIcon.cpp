#include "app/ProgramIcon.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>

namespace glanex {

namespace {

QPixmap drawProgramIcon(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);

  const qreal pen = size / 16.0;
  const QRectF envelope(pen / 2, size * 0.18, size - pen, size * 0.64);
  painter.setPen(QPen(QColor(0, 0, 128), pen));
  painter.setBrush(QColor(255, 255, 224));
  painter.drawRect(envelope);
  const QPointF flap[] = {envelope.topLeft(),
                          {envelope.center().x(), envelope.top() + envelope.height() * 0.55},
                          envelope.topRight()};
  painter.drawPolyline(flap, 3);

  const QRectF badge(size * 0.45, size * 0.45, size * 0.55 - pen / 2, size * 0.55 - pen / 2);
  painter.setBrush(QColor(0, 128, 128));
  painter.drawEllipse(badge);
  QFont font(QStringLiteral("Liberation Sans"));
  font.setPixelSize(qMax(6, qRound(badge.height() * 0.8)));
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(badge, Qt::AlignCenter, QStringLiteral("@"));
  return pixmap;
}

}  // namespace

QIcon programIcon() {
  QIcon icon;
  for (const int size : {16, 32, 48}) icon.addPixmap(drawProgramIcon(size));
  return icon;
}

}  // namespace glanex
