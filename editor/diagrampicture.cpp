#include "editor/diagrampicture.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "editor/diagrampainter.h"
#include "model/shem.h"

namespace {
// Dots per inch of an image, the device the document window draws into.
int ImageDpi() {
  static const int dpi = QImage(1, 1, QImage::Format_RGB32).logicalDpiY();
  return dpi;
}

void PutU16(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}
void PutU32(uint8_t* p, uint32_t v) {
  PutU16(p, v & 0xFFFF);
  PutU16(p + 2, v >> 16);
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
}  // namespace

TPictureFrame PictureFrame(const TShem& diagram, int scale) {
  TRect b = diagram.Bounds();
  if (b.Right < b.Left || b.Bottom < b.Top) b = {0, 0, 0, 0};  // no blocks
  TPictureFrame f;
  f.Scale = scale;
  f.Origin = {b.Left - PictureMargin, b.Top - PictureMargin};
  f.Width = (int64_t(b.Right) - b.Left + 2 * PictureMargin) * scale + 1;
  f.Height = (int64_t(b.Bottom) - b.Top + 2 * PictureMargin) * scale + 1;
  return f;
}

bool PictureFits(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width <= MaxPictureSide && height <= MaxPictureSide &&
         width * height <= MaxPicturePixels;
}

int LargestFittingScale(const TShem& diagram) {
  for (int scale : {8, 4, 2, 1}) {
    const TPictureFrame f = PictureFrame(diagram, scale);
    if (PictureFits(f.Width, f.Height)) return scale;
  }
  return 0;
}

QString PictureTooLargeText(const TPictureFrame& frame, int largestScale) {
  QString text = QStringLiteral(
                     "The picture would be %1 x %2 pixels at scale x%3, larger than can be "
                     "written (at most %4 pixels, and %5 on a side).")
                     .arg(frame.Width)
                     .arg(frame.Height)
                     .arg(frame.Scale)
                     .arg(MaxPicturePixels)
                     .arg(MaxPictureSide);
  if (largestScale > 0)
    text += QStringLiteral(" The largest scale that fits is x%1.").arg(largestScale);
  else
    text += QStringLiteral(" It does not fit even at scale x1.");
  return text;
}

QFont PictureFont(const QString& face, int scale, const QPaintDevice* device) {
  QFont font;
  if (!face.isEmpty()) font.setFamily(face);
  const int points = FontSizeForScale(scale);
  if (points <= 0) return font;
  const int deviceDpi = device ? device->logicalDpiY() : ImageDpi();
  if (deviceDpi == ImageDpi() || deviceDpi <= 0)
    font.setPointSize(points);
  else
    font.setPointSizeF(double(points) * ImageDpi() / deviceDpi);
  return font;
}

void PaintPicture(QPainter& painter, const TShem& diagram, const TPictureFrame& frame,
                  QColor background, const QString& fontFace) {
  painter.save();
  painter.setFont(PictureFont(fontFace, frame.Scale, painter.device()));
  const TViewTransform view{{0, 0}, frame.Origin, frame.Scale};
  TDiagramPainter dp(painter, view, background, diagram.UserBlocks);
  const int w = int(std::min<int64_t>(frame.Width, INT32_MAX));
  const int h = int(std::min<int64_t>(frame.Height, INT32_MAX));
  dp.FillBackground(QRect(0, 0, w, h));
  painter.setClipRect(QRect(0, 0, w, h), Qt::IntersectClip);
  const TPoint far = view.ScreenToDiagram({w, h});
  const TRect visible{frame.Origin.X, frame.Origin.Y, far.X, far.Y};
  dp.DrawObjects(diagram, visible, nullptr);
  painter.restore();
}

QImage RenderPicture(const TShem& diagram, const TPictureFrame& frame, QColor background,
                     const QString& fontFace) {
  if (!PictureFits(frame.Width, frame.Height)) return QImage();
  QImage image(int(frame.Width), int(frame.Height), QImage::Format_RGB32);
  if (image.isNull()) return image;
  QPainter p(&image);
  PaintPicture(p, diagram, frame, background, fontFace);
  return image;
}

bool WriteBitmap24(const QImage& source, const std::string& path, std::string& error) {
  if (source.isNull()) {
    error = "There is no picture to write";
    return false;
  }
  const QImage image =
      source.format() == QImage::Format_RGB32 || source.format() == QImage::Format_ARGB32
          ? source
          : source.convertToFormat(QImage::Format_RGB32);
  const uint64_t w = uint64_t(image.width()), h = uint64_t(image.height());
  const uint64_t rowBytes = (w * 3 + 3) / 4 * 4;
  const uint64_t dataBytes = rowBytes * h;
  constexpr uint32_t headerBytes = 14 + 40;
  if (dataBytes + headerBytes > 0xFFFFFFFFu) {
    error = "The picture is too large for a bitmap file";
    return false;
  }
  std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path.c_str(), "wb"));
  if (!f) {
    error = "Can not create \"" + path + "\": " + std::strerror(errno);
    return false;
  }
  uint8_t head[headerBytes] = {'B', 'M'};
  PutU32(head + 2, uint32_t(dataBytes + headerBytes));
  PutU32(head + 10, headerBytes);
  PutU32(head + 14, 40);
  PutU32(head + 18, uint32_t(w));
  PutU32(head + 22, uint32_t(h));  // positive: rows bottom-up
  PutU16(head + 26, 1);            // planes
  PutU16(head + 28, 24);           // bits per pixel
  PutU32(head + 34, uint32_t(dataBytes));
  PutU32(head + 38, 3780);  // 96 dots per inch
  PutU32(head + 42, 3780);
  bool ok = std::fwrite(head, 1, headerBytes, f.get()) == headerBytes;
  std::vector<uint8_t> row(rowBytes, 0);
  for (int64_t y = int64_t(h) - 1; ok && y >= 0; --y) {
    const auto* px = reinterpret_cast<const QRgb*>(image.constScanLine(int(y)));
    uint8_t* out = row.data();
    for (uint64_t x = 0; x < w; ++x, out += 3) {
      out[0] = uint8_t(qBlue(px[x]));
      out[1] = uint8_t(qGreen(px[x]));
      out[2] = uint8_t(qRed(px[x]));
    }
    ok = std::fwrite(row.data(), 1, rowBytes, f.get()) == rowBytes;
  }
  if (ok) ok = std::fflush(f.get()) == 0;
  if (!ok) error = "Can not write \"" + path + "\": " + std::strerror(errno);
  if (std::fclose(f.release()) != 0 && ok) {
    error = "Can not write \"" + path + "\": " + std::strerror(errno);
    ok = false;
  }
  return ok;
}

bool WriteSvgPicture(const TShem& diagram, const TPictureFrame& frame, QColor background,
                     const QString& fontFace, const QString& path, std::string& error) {
  if (frame.Width > INT32_MAX || frame.Height > INT32_MAX) {
    error = "The picture is too large";
    return false;
  }
  const QSize size(int(frame.Width), int(frame.Height));
  QSvgGenerator svg;
  svg.setFileName(path);
  svg.setSize(size);
  svg.setViewBox(QRect(QPoint(0, 0), size));
  svg.setResolution(ImageDpi());
  QPainter p;
  if (!p.begin(&svg)) {
    error = "Can not write \"" + path.toStdString() + "\"";
    return false;
  }
  PaintPicture(p, diagram, frame, background, fontFace);
  return p.end();
}

bool WritePdfPicture(const TShem& diagram, const TPictureFrame& frame, QColor background,
                     const QString& fontFace, const QString& path, std::string& error) {
  if (frame.Width > INT32_MAX || frame.Height > INT32_MAX) {
    error = "The picture is too large";
    return false;
  }
  QPdfWriter pdf(path);
  pdf.setResolution(72);  // one device unit per point: the page is the picture
  pdf.setPageSize(QPageSize(QSizeF(double(frame.Width), double(frame.Height)), QPageSize::Point,
                            QString(), QPageSize::ExactMatch));
  pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
  QPainter p;
  if (!p.begin(&pdf)) {
    error = "Can not write \"" + path.toStdString() + "\"";
    return false;
  }
  PaintPicture(p, diagram, frame, background, fontFace);
  return p.end();
}
