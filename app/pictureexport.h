#pragma once
// Writing a diagram as a picture file: PNG, SVG, PDF and 24-bit BMP by the
// program itself, the formats of the export library (GIF, JPEG) through a
// bitmap handed to SaveTo. Shared by the "to graphic file" command and
// qvtool export; no window, no question: the caller speaks to the user.
//
// A raster picture larger than PictureFits allows is refused before anything
// is allocated, with the size and the largest scale that fits. Every file is
// first written under a temporary name in the target's folder and then
// renamed over the target, so a failed export leaves an existing file as it was.

#include <QColor>
#include <QString>

#include "app/exportbinding.h"

class TShem;

enum class TPictureKind { Bmp, Png, Svg, Pdf, Library };

struct TPictureJob {
  const TShem* Diagram = nullptr;
  int Scale = 1;  // pixels per diagram unit
  QColor Background = Qt::white;
  QString FontFace;  // empty: the default face
  QString FileName;  // the file to write
  TPictureKind Kind = TPictureKind::Png;
  int LibraryFormat = 0;  // SaveTo's format number, for TPictureKind::Library
};

struct TExportResult {
  bool Ok = false;
  bool TooLarge = false;  // refused for its size; nothing was allocated
  int LargestScale = 0;   // when TooLarge: the largest scale that fits, or 0
  QString Message;        // why it failed
};

// The kind of picture that a file name's extension asks for (case ignored):
// .bmp, .png, .svg and .pdf are written by the program; an extension of the
// library's filter (.gif, .jpg, and .jpeg for JPEG) goes to the library with
// that pair's number. False for any other extension, or a library format
// when the library is not bound.
bool PictureKindForName(const QString& fileName, const TExportBinding* binding, TPictureKind& kind,
                        int& libraryFormat);

// Writes the picture; binding is needed for TPictureKind::Library.
TExportResult ExportPicture(const TPictureJob& job, const TExportBinding* binding);
