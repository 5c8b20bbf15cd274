#include "ui/application_icon.h"

#include <QPainter>
#include <QPixmap>

namespace vorlakin {
namespace {

QPixmap DrawParcel(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const qreal unit = size / 16.0;
  // The box, its lid and the tape across it.
  painter.setPen(QPen(QColor(0x6b, 0x42, 0x1e), unit * 0.75));
  painter.setBrush(QColor(0xc8, 0x8a, 0x4a));
  painter.drawRoundedRect(QRectF(unit * 1.5, unit * 4, unit * 13, unit * 10.5), unit, unit);
  painter.setBrush(QColor(0xdd, 0xa2, 0x62));
  painter.drawRect(QRectF(unit * 1, unit * 2, unit * 14, unit * 3));
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0xf2, 0xe3, 0xa6));
  painter.drawRect(QRectF(unit * 6.75, unit * 2, unit * 2.5, unit * 12.5));
  // A check mark: the parcel has been found.
  painter.setPen(QPen(QColor(0x1f, 0x7a, 0x3a), unit * 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPolyline(QPolygonF({QPointF(unit * 3.5, unit * 9.5), QPointF(unit * 5.5, unit * 11.5),
                                  QPointF(unit * 9.5, unit * 7)}));
  return pixmap;
}

}  // namespace

QIcon ApplicationIcon() {
  static const QIcon icon = [] {
    QIcon drawn;
    for (const int size : {16, 32, 48, 64}) drawn.addPixmap(DrawParcel(size));
    return drawn;
  }();
  return icon;
}

}  // namespace vorlakin
