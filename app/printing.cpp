#include "app/printing.h"

#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <cmath>

#include "editor/diagrampicture.h"

namespace {
// The screen resolution that "one to one" refers to.
constexpr double kScreenDpi = 96;

int PagesFor(double length, double page) {
  if (page <= 0) return 1;
  // A hair over a page edge (rounding of the factor) does not start a page.
  return std::max(1, int(std::ceil(length / page - 1e-9)));
}
}  // namespace

TPrintLayout PrintLayout(QSizeF picture, QSizeF page, double deviceDpi, TPrintScaling scaling) {
  TPrintLayout l;
  if (picture.isEmpty() || page.isEmpty()) return l;
  if (scaling == TPrintScaling::FitToPage) {
    l.Factor = std::min(page.width() / picture.width(), page.height() / picture.height());
    return l;
  }
  l.Factor = deviceDpi / kScreenDpi;
  l.PagesAcross = PagesFor(picture.width() * l.Factor, page.width());
  l.PagesDown = PagesFor(picture.height() * l.Factor, page.height());
  return l;
}

bool PrintDiagram(QPrinter& printer, const TPrintJob& job) {
  if (!job.Diagram) return false;
  const TPictureFrame frame = PictureFrame(*job.Diagram, job.Scale);
  const QRectF page = printer.pageRect(QPrinter::DevicePixel);
  const TPrintLayout layout = PrintLayout(QSizeF(double(frame.Width), double(frame.Height)),
                                          page.size(), printer.resolution(), job.Scaling);
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  // Page by page, the part of the picture that falls on it; the painter's
  // origin is the page's printable top-left.
  for (int row = 0; row < layout.PagesDown; ++row) {
    for (int col = 0; col < layout.PagesAcross; ++col) {
      if (row > 0 || col > 0) printer.newPage();
      painter.save();
      painter.setClipRect(QRectF(QPointF(0, 0), page.size()));
      painter.translate(-col * page.width(), -row * page.height());
      painter.scale(layout.Factor, layout.Factor);
      PaintPicture(painter, *job.Diagram, frame, job.Background, job.FontFace);
      painter.restore();
    }
  }
  return painter.end();
}
