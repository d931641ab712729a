#include "app/toolimages.h"

#include <QBitmap>
#include <QPainter>
#include <QPainterPath>
#include <functional>

namespace {
using Draw = std::function<void(QPainter&)>;

// Paints each cell on magenta and makes magenta transparent.
QPixmap Strip(const std::vector<Draw>& cells) {
  QPixmap strip(int(cells.size()) * 16, 16);
  strip.fill(Qt::magenta);
  {
    QPainter p(&strip);
    for (size_t i = 0; i < cells.size(); ++i) {
      p.save();
      p.translate(int(i) * 16, 0);
      p.setPen(QPen(Qt::black, 1));
      p.setBrush(Qt::NoBrush);
      cells[i](p);
      p.restore();
    }
  }
  strip.setMask(strip.createMaskFromColor(Qt::magenta));
  return strip;
}

void Lines(QPainter& p, std::initializer_list<QLine> lines) {
  for (const QLine& l : lines) p.drawLine(l);
}

// Four text lines set left (0), centred (1) or right (2).
Draw TextLines(int side) {
  return [side](QPainter& p) {
    const int widths[] = {12, 8, 12, 6};
    for (int i = 0; i < 4; ++i) {
      const int w = widths[i];
      const int x = side == 0 ? 2 : side == 1 ? 8 - w / 2 : 14 - w;
      p.drawLine(x, 3 + 3 * i, x + w - 1, 3 + 3 * i);
    }
  };
}

// A link from its source at the bottom-left to its target at the top-right,
// with the arrowheads of a LinkType's two low bits (1 target, 2 source) drawn
// as filled triangles so that the direction reads at a glance.
Draw LinkKind(int type) {
  return [=](QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, false);
    p.drawLine(2, 13, 13, 2);
    p.setBrush(Qt::black);
    if (type & 1) p.drawPolygon(QPolygon({{14, 1}, {8, 3}, {12, 7}}));
    if (type & 2) p.drawPolygon(QPolygon({{1, 14}, {3, 8}, {7, 12}}));
    // The source end without an arrowhead carries a small dot.
    if (!(type & 2)) p.fillRect(1, 13, 2, 2, Qt::black);
  };
}

// A link with a point on it and a green plus above.
void AddPoint(QPainter& p) {
  p.drawLine(1, 12, 14, 12);
  p.fillRect(6, 10, 4, 4, Qt::black);
  p.setPen(QPen(Qt::darkGreen, 2));
  Lines(p, {{8, 1, 8, 7}, {5, 4, 11, 4}});
}

// A link with a point on it and a red minus above.
void DeletePoint(QPainter& p) {
  p.drawLine(1, 12, 14, 12);
  p.fillRect(6, 10, 4, 4, Qt::black);
  p.setPen(QPen(Qt::red, 2));
  p.drawLine(5, 4, 11, 4);
}
}  // namespace

QPixmap StandartStrip() {
  return Strip({
      [](QPainter& p) {  // 0 new
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygon({{3, 1}, {10, 1}, {13, 4}, {13, 14}, {3, 14}}));
      },
      [](QPainter& p) {  // 1 open
        p.setBrush(QColor(230, 200, 80));
        p.drawPolygon(QPolygon({{1, 4}, {5, 4}, {6, 5}, {13, 5}, {13, 13}, {1, 13}}));
      },
      [](QPainter& p) {  // 2 save
        p.setBrush(QColor(60, 90, 180));
        p.drawRect(2, 2, 11, 11);
        p.setBrush(Qt::white);
        p.drawRect(4, 2, 7, 4);
      },
      [](QPainter& p) {  // 3 cut
        p.drawEllipse(2, 10, 4, 4);
        p.drawEllipse(9, 10, 4, 4);
        Lines(p, {{5, 10, 11, 1}, {10, 10, 4, 1}});
      },
      [](QPainter& p) {  // 4 copy
        p.setBrush(Qt::white);
        p.drawRect(2, 2, 7, 9);
        p.drawRect(6, 5, 7, 9);
      },
      [](QPainter& p) {  // 5 paste
        p.setBrush(QColor(180, 130, 70));
        p.drawRect(2, 3, 10, 11);
        p.setBrush(Qt::white);
        p.drawRect(6, 7, 7, 8);
      },
      [](QPainter& p) {  // 6 scale
        p.setPen(QPen(Qt::black, 2));
        p.drawEllipse(2, 2, 8, 8);
        p.drawLine(10, 10, 14, 14);
      },
      [](QPainter& p) {  // 7 listing
        for (int i = 0; i < 4; ++i) {
          p.fillRect(2, 2 + 3 * i, 2, 2, Qt::blue);
          p.drawLine(6, 3 + 3 * i, 13, 3 + 3 * i);
        }
      },
      [](QPainter&) {},  // 8 unused
      [](QPainter& p) {  // 9 delete
        p.setPen(QPen(Qt::red, 2));
        Lines(p, {{3, 3, 12, 12}, {12, 3, 3, 12}});
      },
      [](QPainter& p) {  // 10 full-screen preview
        p.setBrush(Qt::white);
        p.drawRect(1, 2, 13, 9);
        Lines(p, {{7, 11, 7, 13}, {4, 14, 10, 14}});
      },
      [](QPainter& p) {  // 11 print
        p.setBrush(Qt::white);
        p.drawRect(4, 1, 7, 5);
        p.setBrush(Qt::gray);
        p.drawRect(1, 6, 13, 6);
      },
      [](QPainter& p) {  // 12 grid
        for (int x = 2; x < 16; x += 4)
          for (int y = 2; y < 16; y += 4) p.drawPoint(x, y);
        p.drawRect(4, 4, 8, 8);
      },
      TextLines(0),  // 13
      TextLines(1),  // 14
      TextLines(2),  // 15
  });
}

QPixmap SpecialStrip() {
  return Strip({
      [](QPainter& p) {  // 0 select
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygon({{4, 1}, {4, 13}, {7, 10}, {10, 14}, {11, 13}, {9, 9}, {12, 9}}));
      },
      [](QPainter& p) {  // 1 edit text
        Lines(p, {{3, 2, 12, 2}, {7, 2, 7, 13}, {5, 13, 9, 13}});
      },
      [](QPainter& p) {  // 2 text block
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.drawRect(1, 3, 13, 9);
        p.setPen(Qt::black);
        Lines(p, {{4, 6, 11, 6}, {7, 6, 7, 10}});
      },
      [](QPainter& p) { p.drawRect(1, 4, 13, 8); },     // 3 rectangle
      [](QPainter& p) { p.drawEllipse(1, 4, 13, 8); },  // 4 ellipse
      [](QPainter& p) {                                 // 5 rhomb
        p.drawPolygon(QPolygon({{7, 2}, {14, 8}, {7, 14}, {0, 8}}));
      },
      [](QPainter& p) {  // 6 parallelogram
        p.drawPolygon(QPolygon({{4, 4}, {15, 4}, {11, 12}, {0, 12}}));
      },
      // 7 to 10: a new link of LinkType 0 to 3 (the picture less 7).
      LinkKind(0),       // 7 plain
      LinkKind(1),       // 8 arrowhead at the target
      LinkKind(2),       // 9 arrowhead at the source
      LinkKind(3),       // 10 arrowheads at both ends
      AddPoint,          // 11 add a link point
      DeletePoint,       // 12 delete a link point
      [](QPainter& p) {  // 13 move document
        p.setBrush(QColor(240, 210, 170));
        p.drawRoundedRect(3, 5, 10, 9, 3, 3);
        for (int x = 4; x <= 10; x += 3) p.drawRect(x, 1, 2, 5);
      },
      [](QPainter& p) {  // 14 comment
        Lines(p, {{6, 2, 3, 2}, {3, 2, 3, 13}, {3, 13, 6, 13}});
        p.setPen(QPen(Qt::black, 1, Qt::DashLine));
        p.drawLine(3, 8, 14, 8);
      },
      [](QPainter& p) {  // 15 document
        QPainterPath path;
        path.moveTo(1, 3);
        path.lineTo(14, 3);
        path.lineTo(14, 11);
        path.cubicTo(10, 8, 6, 15, 1, 12);
        path.closeSubpath();
        p.drawPath(path);
      },
      [](QPainter& p) {  // 16 predefined process
        p.drawRect(1, 4, 13, 8);
        Lines(p, {{3, 4, 3, 12}, {12, 4, 12, 12}});
      },
      [](QPainter& p) {  // 17 page divider
        p.setPen(QPen(Qt::black, 1, Qt::DashDotLine));
        p.drawLine(0, 8, 15, 8);
        p.setPen(Qt::black);
        p.drawRect(4, 2, 7, 12);
      },
  });
}

QPixmap AlignStrip() {
  // Two boxes, 8 and 4 long, lined up on their start (0), centre (1) or end
  // (2) along the blue line.
  auto boxes = [](bool vertical, int edge) -> Draw {
    return [=](QPainter& p) {
      const int longAt = edge == 0 ? 2 : edge == 1 ? 4 : 6;
      const int shortAt = edge == 0 ? 2 : edge == 1 ? 6 : 10;
      const int lineAt = edge == 0 ? 1 : edge == 1 ? 8 : 14;
      p.setBrush(Qt::gray);
      p.drawRect(vertical ? QRect(2, longAt, 4, 8) : QRect(longAt, 2, 8, 4));
      p.drawRect(vertical ? QRect(9, shortAt, 4, 4) : QRect(shortAt, 9, 4, 4));
      p.setPen(Qt::blue);
      p.drawLine(vertical ? QLine(0, lineAt, 15, lineAt) : QLine(lineAt, 0, lineAt, 15));
    };
  };
  auto spaced = [](bool vertical) -> Draw {
    return [=](QPainter& p) {
      p.setBrush(Qt::gray);
      for (int i = 0; i < 3; ++i)
        vertical ? p.drawRect(4, 1 + 5 * i, 7, 3) : p.drawRect(1 + 5 * i, 4, 3, 7);
    };
  };
  return Strip({boxes(false, 0), boxes(false, 1), boxes(false, 2), spaced(false), boxes(true, 0),
                boxes(true, 1), boxes(true, 2), spaced(true)});
}

QPixmap PaletteStrip() {
  return Strip({LinkKind(0), LinkKind(1), LinkKind(2), LinkKind(3), AddPoint, DeletePoint});
}

QIcon SpecialCell(int cell) {
  const QPixmap strip = SpecialStrip();
  if (cell < 0 || (cell + 1) * 16 > strip.width()) return QIcon();
  return QIcon(strip.copy(cell * 16, 0, 16, 16));
}
