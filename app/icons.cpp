#include "app/icons.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>

#include "model/shapes.h"
#include "userblocks/userblock.h"

namespace {
// A 16 by 16 icon of a standard block kind, drawn from its outline.
QIcon KindIcon(int kind) {
  QPixmap pm(16, 16);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setPen(QPen(Qt::black, 0));
  const TRect r = kind == bkPoint ? TRect{5, 5, 10, 10} : TRect{1, 3, 14, 12};
  const TOutline o = BlockOutline(kind, r, nullptr);
  if (kind == bkPoint) p.setBrush(Qt::black);
  for (const TFigure& f : o.Figures) {
    QPolygon poly;
    for (const TPoint& pt : f.Points) poly.append(QPoint(pt.X, pt.Y));
    switch (f.Kind) {
      case TFigure::Rectangle:
        p.drawRect(QRect(poly[0], poly[1]));
        break;
      case TFigure::Ellipse:
        p.drawEllipse(QRect(poly[0], poly[1]));
        break;
      case TFigure::Polygon:
        p.drawPolygon(poly);
        break;
      case TFigure::Polyline:
        p.drawPolyline(poly);
        break;
    }
  }
  if (kind == bkText || kind == bkComment)
    for (int y = 5; y <= 11; y += 3) p.drawLine(4, y, 12, y);
  return QIcon(pm);
}

}  // namespace

// The program's icon: a small flowchart, a block above a decision.
QIcon ProgramIcon() {
  QPixmap pm(32, 32);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setPen(QPen(Qt::black, 0));
  p.setBrush(Qt::white);
  p.drawRect(7, 1, 18, 9);
  p.drawLine(16, 11, 16, 15);
  p.drawPolygon(QPolygon({QPoint(16, 15), QPoint(30, 23), QPoint(16, 31), QPoint(2, 23)}));
  return QIcon(pm);
}

// The tool image of a user block; its white background is transparent, as the
// background colour of the other buttons' images is.
QIcon UserBlockIcon(const TUserBlock& b) {
  const TToolBitmap bm = b.GetToolImage();
  QImage img(TToolBitmap::Width, TToolBitmap::Height, QImage::Format_ARGB32);
  for (int y = 0; y < TToolBitmap::Height; ++y)
    for (int x = 0; x < TToolBitmap::Width; ++x) {
      const uint32_t rgb = bm.Pixel(x, y);
      img.setPixel(x, y, rgb == TToolBitmap::White ? 0u : 0xFF000000u | rgb);
    }
  return QIcon(QPixmap::fromImage(img));
}

QList<QIcon> KindIcons() {
  QList<QIcon> icons;
  for (int k = 0; k < BuiltInKindCount; ++k) icons.append(KindIcon(k));
  return icons;
}
