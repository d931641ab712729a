#pragma once
// A whole diagram as a picture: the frame it occupies at a scale, the limits
// of what a raster picture may be, and the drawing of the diagram into any
// paint device (image, SVG, PDF, printer) through TDiagramPainter. Graphic
// export, qvtool and printing all use this, so every picture of a diagram is
// drawn the way the document window draws it.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <cstdint>
#include <string>

#include "model/geometry.h"

class QPainter;
class QPaintDevice;
class TShem;

// Blank diagram units around the blocks, so that arrowheads and outlines at
// the edge stay inside the picture.
constexpr int PictureMargin = 10;

// The part of a diagram that a picture shows and its size in pixels.
struct TPictureFrame {
  TPoint Origin;  // diagram point at the picture's top-left pixel
  int Scale = 1;  // pixels per diagram unit
  int64_t Width = 0;
  int64_t Height = 0;
};

// The blocks' bounds plus the margin, at scale pixels per unit; an empty
// diagram gives a blank square of twice the margin.
TPictureFrame PictureFrame(const TShem& diagram, int scale);

// What a raster picture may be: no side beyond what JPEG can store (GIF and
// BMP allow more), and no more pixels than one image of 4 bytes a pixel may
// take in memory (1 GiB). The 24-bit bitmap handed to the export library is
// then at most 768 MiB, far below the 4 GiB that its header can count.
constexpr int64_t MaxPictureSide = 65500;
constexpr int64_t MaxPicturePixels = int64_t(1) << 28;

bool PictureFits(int64_t width, int64_t height);
// The largest of the scales 8, 4, 2, 1 at which the diagram's picture fits;
// 0 when it does not fit even at scale 1.
int LargestFittingScale(const TShem& diagram);
// The refusal of a picture that does not fit: its size, and the largest scale
// that fits (or that none does).
QString PictureTooLargeText(const TPictureFrame& frame, int largestScale);

// The drawing font of a picture: face at the point size of the scale, sized
// for device so that text keeps the size it has in an image of the same
// pixels (devices other than images count more or fewer dots per inch).
QFont PictureFont(const QString& face, int scale, const QPaintDevice* device);

// Draws the frame of the diagram with its top-left at the painter's (0, 0),
// one pixel per unit of the painter's coordinates: the background, then every
// object that touches the frame. No grid and no selection.
void PaintPicture(QPainter& painter, const TShem& diagram, const TPictureFrame& frame,
                  QColor background, const QString& fontFace);

// The frame rendered into a new image (RGB32). The caller checks PictureFits
// first; a frame that does not fit gives a null image.
QImage RenderPicture(const TShem& diagram, const TPictureFrame& frame, QColor background,
                     const QString& fontFace);

// Writes the image as an uncompressed 24-bit Windows bitmap (bottom-up rows,
// each padded to 4 bytes). False with the reason when it cannot be written.
bool WriteBitmap24(const QImage& image, const std::string& path, std::string& error);

// The vector pictures: the frame drawn into an SVG document or a one-page PDF
// of the picture's size (one point per pixel).
bool WriteSvgPicture(const TShem& diagram, const TPictureFrame& frame, QColor background,
                     const QString& fontFace, const QString& path, std::string& error);
bool WritePdfPicture(const TShem& diagram, const TPictureFrame& frame, QColor background,
                     const QString& fontFace, const QString& path, std::string& error);
