// Printing: the layout of a diagram's picture on pages (fitted or one to one
// across pages), printing to a PDF file through the scripted print dialog,
// the page set-up form and the print preview.
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QRadioButton>

#include "app/actions.h"
#include "app/commands/filecommands.h"
#include "app/commands/printcommands.h"
#include "app/pagesetupform.h"
#include "app/printing.h"
#include "apptestutil.h"
#include "editor/childd.h"
#include "editor/diagrampicture.h"
#include "pdfcheck.h"

namespace {
void AddSquare(TShem& d, TRect r, const char* text = "block") {
  auto b = std::make_unique<TBlock>();
  b->Data.SetRect(r);
  b->Data.Text = text;
  d.Add(std::move(b));
}

// A document holding squares from (20, 20) to (right, 120).
TChildD* Document(TMainForm& f, int right) {
  f.FileCommands->New1Click();
  TChildD* d = f.ActiveDocument();
  AddSquare(d->Diagram, {20, 20, 120, 60});
  AddSquare(d->Diagram, {right - 100, 80, right, 120});
  return d;
}

// The kept printer writing A4 pages into a PDF file.
void PrintToPdf(TMainForm& f, const QString& path) {
  QPrinter& p = f.PrintCommands->Printer();
  p.setOutputFormat(QPrinter::PdfFormat);
  p.setOutputFileName(path);
  p.setPageSize(QPageSize(QPageSize::A4));
}

const QSizeF kA4Portrait(595, 842);
const QSizeF kA4Landscape(842, 595);

bool NearSize(QSizeF a, QSizeF b) {
  return std::abs(a.width() - b.width()) < 1 && std::abs(a.height() - b.height()) < 1;
}
}  // namespace

TEST(PrintLayout, FitsOnePageOrTilesOneToOne) {
  // Fitted: the smaller of the two ratios, one page, up or down.
  TPrintLayout l =
      PrintLayout(QSizeF(1000, 500), QSizeF(2000, 3000), 600, TPrintScaling::FitToPage);
  EXPECT_DOUBLE_EQ(l.Factor, 2.0);
  EXPECT_EQ(l.PagesAcross, 1);
  EXPECT_EQ(l.PagesDown, 1);
  l = PrintLayout(QSizeF(8000, 1000), QSizeF(2000, 3000), 600, TPrintScaling::FitToPage);
  EXPECT_DOUBLE_EQ(l.Factor, 0.25);

  // One to one: a picture pixel is a 96 dpi screen pixel, 6.25 device
  // pixels at 600 dpi; 1000 pixels are 6250 device pixels, two pages of 4000.
  l = PrintLayout(QSizeF(1000, 500), QSizeF(4000, 6000), 600, TPrintScaling::OneToOne);
  EXPECT_DOUBLE_EQ(l.Factor, 6.25);
  EXPECT_EQ(l.PagesAcross, 2);
  EXPECT_EQ(l.PagesDown, 1);
  // Exactly a page wide is one page, a pixel more is two.
  l = PrintLayout(QSizeF(640, 960), QSizeF(4000, 6000), 600, TPrintScaling::OneToOne);
  EXPECT_EQ(l.PagesAcross, 1);
  EXPECT_EQ(l.PagesDown, 1);
  l = PrintLayout(QSizeF(641, 961), QSizeF(4000, 6000), 600, TPrintScaling::OneToOne);
  EXPECT_EQ(l.PagesAcross, 2);
  EXPECT_EQ(l.PagesDown, 2);
}

TEST(Print, PrintsTheActiveDocumentToAPdfThroughTheScriptedDialog) {
  Fixture fx;
  TMainForm f(fx.Options());
  QAction* print = f.Actions->Action(TCommand::Print);
  EXPECT_FALSE(print->isEnabled());
  Document(f, 400);
  EXPECT_TRUE(print->isEnabled());
  EXPECT_TRUE(f.Actions->Action(TCommand::PrintPreview)->isEnabled());

  const QString path = fx.Path("printed.pdf");
  PrintToPdf(f, path);
  // Cancelled: nothing printed.
  print->trigger();
  EXPECT_EQ(fx.q.ModalForms, QStringList{"PrintDialog"});
  EXPECT_FALSE(QFile::exists(path));

  fx.q.ModalScript = [](QDialog* d) {
    EXPECT_NE(qobject_cast<QPrintDialog*>(d), nullptr);
    d->accept();
  };
  PrintToPdf(f, path);
  print->trigger();
  const std::vector<QSizeF> pages = PdfPageSizes(path);
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_TRUE(NearSize(pages[0], kA4Portrait)) << pages[0].width() << "x" << pages[0].height();
  EXPECT_TRUE(fx.q.Log.empty());

  // The drawing is on the page: an empty diagram prints a far smaller file.
  const qint64 drawn = QFileInfo(path).size();
  f.FileCommands->New1Click();
  const QString emptyPath = fx.Path("empty.pdf");
  PrintToPdf(f, emptyPath);
  ASSERT_TRUE(f.PrintCommands->PrintDocument(f.ActiveDocument()));
  EXPECT_GT(drawn, QFileInfo(emptyPath).size() + 500);
}

TEST(Print, PageSetupTurnsThePageAndTilesOneToOne) {
  Fixture fx;
  TMainForm f(fx.Options());
  // 3000 units at scale 2 are 6041 pixels: one to one on landscape A4
  // (about 1060 by 720 pixels at 96 dpi after the margins) needs several
  // pages across and one down.
  TChildD* d = Document(f, 3000);
  fx.q.ModalScript = [](QDialog* dialog) {
    auto* form = qobject_cast<TPageSetupForm*>(dialog);
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->PortraitButton->isChecked());
    EXPECT_TRUE(form->FitButton->isChecked());
    form->LandscapeButton->setChecked(true);
    form->OneToOneButton->setChecked(true);
    form->accept();
  };
  f.Actions->Action(TCommand::PageSetup)->trigger();
  EXPECT_EQ(fx.q.ModalForms, QStringList{"PageSetupForm"});
  EXPECT_EQ(f.PrintCommands->Printer().pageLayout().orientation(), QPageLayout::Landscape);
  EXPECT_EQ(f.PrintCommands->Scaling, TPrintScaling::OneToOne);

  const QString path = fx.Path("tiled.pdf");
  PrintToPdf(f, path);
  QPrinter& p = f.PrintCommands->Printer();
  const TPictureFrame frame = PictureFrame(d->Diagram, d->Scale);
  const TPrintLayout layout = PrintLayout(QSizeF(double(frame.Width), double(frame.Height)),
                                          p.pageRect(QPrinter::DevicePixel).size(), p.resolution(),
                                          TPrintScaling::OneToOne);
  EXPECT_GE(layout.PagesAcross, 5);
  EXPECT_EQ(layout.PagesDown, 1);
  ASSERT_TRUE(f.PrintCommands->PrintDocument(d));
  const std::vector<QSizeF> pages = PdfPageSizes(path);
  ASSERT_EQ(int(pages.size()), layout.PagesAcross * layout.PagesDown);
  for (QSizeF s : pages) EXPECT_TRUE(NearSize(s, kA4Landscape));

  // Cancelling the form changes nothing.
  fx.q.ModalScript = nullptr;
  f.Actions->Action(TCommand::PageSetup)->trigger();
  EXPECT_EQ(f.PrintCommands->Scaling, TPrintScaling::OneToOne);
}

TEST(Print, ManyPagesAreOnlyPrintedWhenConfirmed) {
  Fixture fx;
  TMainForm f(fx.Options());
  TChildD* d = Document(f, 30000);
  f.PrintCommands->Scaling = TPrintScaling::OneToOne;
  const QString path = fx.Path("many.pdf");
  PrintToPdf(f, path);
  fx.q.Answers = {QMessageBox::No};
  EXPECT_FALSE(f.PrintCommands->PrintDocument(d));
  ASSERT_EQ(fx.q.Log.size(), 1u);
  EXPECT_TRUE(fx.q.Log[0].Text.contains("pages")) << fx.q.Log[0].Text.toStdString();
  EXPECT_FALSE(QFile::exists(path));
  // Fitted, the same diagram is one page and asks nothing.
  f.PrintCommands->Scaling = TPrintScaling::FitToPage;
  EXPECT_TRUE(f.PrintCommands->PrintDocument(d));
  EXPECT_EQ(fx.q.Log.size(), 1u);
  EXPECT_EQ(PdfPageSizes(path).size(), 1u);
}

TEST(Print, PreviewShowsThePagesOfTheSameLayout) {
  Fixture fx;
  TMainForm f(fx.Options());
  Document(f, 400);
  int shownPages = -1;
  fx.q.ModalScript = [&](QDialog* dialog) {
    auto* preview = qobject_cast<QPrintPreviewDialog*>(dialog);
    ASSERT_NE(preview, nullptr);
    auto* widget = preview->findChild<QPrintPreviewWidget*>();
    ASSERT_NE(widget, nullptr);
    widget->updatePreview();
    shownPages = widget->pageCount();
    // Paper stays white: the window's grey is not printed.
    preview->resize(600, 800);
    widget->fitInView();
    const QImage shown = widget->grab().toImage();
    const QRgb grey = f.ActiveDocument()->Color().rgb();
    int greyPixels = 0;
    for (int y = 0; y < shown.height(); ++y)
      for (int x = 0; x < shown.width(); ++x) greyPixels += shown.pixel(x, y) == grey;
    EXPECT_EQ(greyPixels, 0);
  };
  f.Actions->Action(TCommand::PrintPreview)->trigger();
  EXPECT_EQ(fx.q.ModalForms, QStringList{"PrintPreviewDialog"});
  EXPECT_EQ(shownPages, 1);
}
