#pragma once
// Printing a diagram on white paper: its picture (the blocks' bounds with a margin, at the
// document's scale, as graphic export draws it) laid onto the printer's pages,
// either scaled down or up to fit one page, or one to one (a picture pixel the
// size of a screen pixel at 96 dots per inch) across as many pages as it needs.

#include <QColor>
#include <QSizeF>
#include <QString>

class QPrinter;
class TShem;

enum class TPrintScaling { FitToPage, OneToOne };

struct TPrintLayout {
  double Factor = 1;  // device pixels per picture pixel
  int PagesAcross = 1;
  int PagesDown = 1;
};

// The layout of a picture of pictureSize pixels on pages of pageSize device
// pixels, at deviceDpi dots per inch.
TPrintLayout PrintLayout(QSizeF pictureSize, QSizeF pageSize, double deviceDpi,
                         TPrintScaling scaling);

struct TPrintJob {
  const TShem* Diagram = nullptr;
  int Scale = 2;
  QColor Background = Qt::white;
  QString FontFace;
  TPrintScaling Scaling = TPrintScaling::FitToPage;
};

// Prints the diagram on printer (whose page set-up is taken as it is); false
// when the printer could not be started. Pages go row by row, left to right.
bool PrintDiagram(QPrinter& printer, const TPrintJob& job);
