// Graphic export: the binding of libvexolant.so beside the program, pictures
// written in every format and decoded again to compare them with what the
// document window shows, and the refusal of pictures too large to write.
#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <cmath>
#include <cstdlib>

#include "app/actions.h"
#include "app/commands/exportcommands.h"
#include "app/commands/filecommands.h"
#include "app/exportbinding.h"
#include "app/pictureexport.h"
#include "apptestutil.h"
#include "editor/childd.h"
#include "editor/diagrampicture.h"
#include "pdfcheck.h"
#include "platform/halftone.h"
#include "vexolant/gifreference.h"

namespace {
const char* const kFilter = "GIF-files (*.gif)|*.gif|JPEG-files (*.jpg)|*.jpg|";

// A program folder that holds the export library, as an installed program.
struct ExportFixture : Fixture {
  ExportFixture() { EXPECT_TRUE(QFile::copy(QV_VEXOLANT, Path(TExportBinding::LibraryName))); }
};

TShemObj* AddBlock(TShem& d, TRect r, int kind = bkSquare, const char* text = "") {
  auto b = std::make_unique<TBlock>();
  b->Data.SetRect(r);
  b->Data.Kind = uint8_t(kind);
  b->Data.Text = text;
  return d.GetObj(d.Add(std::move(b)));
}

// Blocks of several kinds with text, joined by links with arrowheads.
void FillSample(TShem& d) {
  TShemObj* a = AddBlock(d, {40, 30, 140, 70}, bkEllipse, "Start");
  TShemObj* b = AddBlock(d, {40, 100, 140, 150}, bkRhomb, "i <= n");
  TShemObj* c = AddBlock(d, {180, 110, 260, 140}, bkSquare, "s := s + i");
  AddBlock(d, {60, 180, 160, 220}, bkDocument, "Write s");
  d.AddLink(std::make_unique<TLink>(ltArrowTarget, PosCentre, PosCentre), a, b);
  d.AddLink(std::make_unique<TLink>(ltArrowTarget | ltDotted, PosCentre, PosCentre), b, c);
}

// A document of the main window showing the sample with the picture's frame
// at its top-left corner, at scale 2, nothing selected, no grid.
TChildD* SampleDocument(TMainForm& f) {
  f.resize(1000, 800);
  f.show();
  f.FileCommands->New1Click();
  TChildD* d = f.ActiveDocument();
  FillSample(d->Diagram);
  f.SubWindowOf(d)->resize(700, 600);
  QApplication::processEvents();
  const TPictureFrame frame = PictureFrame(d->Diagram, d->Scale);
  d->ScrollBar1->setValue(frame.Origin.X);
  d->ScrollBar2->setValue(frame.Origin.Y);
  d->Redraw();
  return d;
}

// The part of the document's rendered view that the picture shows.
QImage ViewPart(const TChildD* d) {
  const TPictureFrame frame = PictureFrame(d->Diagram, d->Scale);
  EXPECT_EQ(d->Origin.X, frame.Origin.X);
  EXPECT_EQ(d->Origin.Y, frame.Origin.Y);
  EXPECT_GE(d->ViewBottomRight.X, frame.Width);
  EXPECT_GE(d->ViewBottomRight.Y, frame.Height);
  return d->View()
      .copy(0, 0, int(frame.Width), int(frame.Height))
      .convertToFormat(QImage::Format_RGB32);
}

int FilterIndex(const TExportCommands& c, const char* ext) {
  const QStringList filters = c.NameFilters();
  for (int i = 0; i < filters.size(); ++i)
    if (filters[i].contains(QString("(*.") + ext + ")")) return i;
  return -1;
}

std::vector<uint8_t> ReadBytes(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QByteArray b = f.readAll();
  return std::vector<uint8_t>(b.begin(), b.end());
}

// The palette indices and colour table of a single-image GIF file.
struct GifPicture {
  unsigned Width = 0, Height = 0;
  std::vector<uint32_t> Colors;  // red in the low byte
  std::vector<uint8_t> Indices;
};

GifPicture DecodeGif(const std::vector<uint8_t>& b) {
  GifPicture g;
  if (b.size() < 13 || std::string(b.begin(), b.begin() + 6) != "GIF87a") {
    ADD_FAILURE() << "no GIF file";
    return g;
  }
  g.Width = b[6] | b[7] << 8;
  g.Height = b[8] | b[9] << 8;
  size_t at = 13;
  const unsigned count = 2u << (b[10] & 7);
  for (unsigned i = 0; i < count; ++i, at += 3)
    g.Colors.push_back(b.at(at) | b.at(at + 1) << 8 | b.at(at + 2) << 16);
  EXPECT_EQ(b.at(at), 0x2C);
  at += 10;
  const unsigned minCode = b.at(at++);
  std::vector<uint8_t> data;
  while (b.at(at) != 0) {
    const size_t n = b[at++];
    data.insert(data.end(), b.begin() + ptrdiff_t(at), b.begin() + ptrdiff_t(at + n));
    at += n;
  }
  g.Indices = gifref::Decode(data, minCode).pixels;
  return g;
}

// Mean absolute difference per channel of two images of the same size,
// the second shifted right by dx pixels.
double MeanError(const QImage& a, const QImage& b, int dx = 0) {
  double sum = 0;
  int64_t n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = dx; x < a.width(); ++x, ++n) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x - dx, y);
      sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
             std::abs(qBlue(p) - qBlue(q));
    }
  return n ? sum / (3.0 * double(n)) : 0;
}

QStringList FilesIn(const QString& dir) {
  return QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}
}  // namespace

TEST(ExportBinding, BindsTheLibraryOnlyByTheProgramFolder) {
  ExportFixture fx;
  TExportBinding relative;
  std::string why;
  EXPECT_FALSE(relative.Load(".", &why));
  EXPECT_FALSE(relative.Bound());
  EXPECT_NE(why.find("absolute"), std::string::npos) << why;

  QTemporaryDir empty;
  TExportBinding missing;
  EXPECT_FALSE(missing.Load(QFile::encodeName(empty.path()).toStdString(), &why));
  EXPECT_FALSE(missing.Bound());
  EXPECT_TRUE(missing.Filter().empty());
  EXPECT_TRUE(missing.Formats().empty());
  std::string saveError;
  EXPECT_FALSE(missing.SaveTo(1, fx.Path("x.bmp").toStdString(), saveError));
  EXPECT_FALSE(saveError.empty());

  TExportBinding bound;
  ASSERT_TRUE(bound.Load(QFile::encodeName(fx.dir.path()).toStdString(), &why)) << why;
  EXPECT_EQ(bound.Filter(), kFilter);
  const auto formats = bound.Formats();
  ASSERT_EQ(formats.size(), 2u);
  EXPECT_EQ(formats[0].Number, 1);
  EXPECT_EQ(formats[0].Description, "GIF-files (*.gif)");
  EXPECT_EQ(formats[0].Extension, ".gif");
  EXPECT_EQ(formats[1].Number, 2);
  EXPECT_EQ(formats[1].Extension, ".jpg");
  // The library's own reason comes back for a failed conversion.
  EXPECT_FALSE(bound.SaveTo(1, fx.Path("absent.bmp").toStdString(), saveError));
  EXPECT_FALSE(saveError.empty());
  EXPECT_FALSE(QFile::exists(fx.Path("absent.gif")));
}

TEST(ExportBinding, FilterTextSplitsIntoNumberedPairs) {
  const auto f = TExportBinding::ParseFilter("A (*.a)|*.a|B files|*.tar.b|odd");
  ASSERT_EQ(f.size(), 2u);
  EXPECT_EQ(f[1].Number, 2);
  EXPECT_EQ(f[1].Description, "B files");
  EXPECT_EQ(f[1].Extension, ".b");
  EXPECT_TRUE(TExportBinding::ParseFilter("").empty());
}

TEST(GraphicExport, DialogOffersTheLibraryFormatsThenTheProgramOnes) {
  ExportFixture fx;
  TMainForm f(fx.Options());
  EXPECT_EQ(f.ExportCommands->NameFilters(),
            (QStringList{"GIF-files (*.gif)", "JPEG-files (*.jpg)", "PNG-files (*.png)",
                         "SVG-files (*.svg)", "PDF-files (*.pdf)"}));
  QAction* exportAction = f.Actions->Action(TCommand::ExportGraphic);
  EXPECT_FALSE(exportAction->isEnabled());
  f.FileCommands->New1Click();
  EXPECT_TRUE(exportAction->isEnabled());

  Fixture bare;  // a program folder without the library
  TMainForm g(bare.Options());
  EXPECT_FALSE(g.ExportCommands->Binding().Bound());
  EXPECT_EQ(g.ExportCommands->NameFilters(),
            (QStringList{"PNG-files (*.png)", "SVG-files (*.svg)", "PDF-files (*.pdf)"}));
}

TEST(GraphicExport, RasterPicturesEqualTheDocumentView) {
  ExportFixture fx;
  TMainForm f(fx.Options());
  TChildD* d = SampleDocument(f);
  const QImage view = ViewPart(d);
  QTemporaryDir out;
  if (getenv("QV_KEEP")) view.save("/tmp/export/view.png");

  // PNG keeps every pixel.
  const QString pngPath = out.path() + "/chart.png";
  ASSERT_TRUE(f.ExportCommands->ExportDocument(d, pngPath, FilterIndex(*f.ExportCommands, "png")));
  EXPECT_EQ(QImage(pngPath).convertToFormat(QImage::Format_RGB32), view);

  // GIF: every pixel's palette index is the one of its halftone colour, in
  // the order the colours first appear.
  const QString gifPath = out.path() + "/chart.gif";
  ASSERT_TRUE(f.ExportCommands->ExportDocument(d, out.path() + "/chart",
                                               FilterIndex(*f.ExportCommands, "gif")));
  const GifPicture gif = DecodeGif(ReadBytes(gifPath));
  ASSERT_EQ(gif.Width, unsigned(view.width()));
  ASSERT_EQ(gif.Height, unsigned(view.height()));
  std::vector<int> indexOf(256, -1);
  std::vector<uint8_t> expected;
  int next = 0;
  for (int y = 0; y < view.height(); ++y)
    for (int x = 0; x < view.width(); ++x) {
      const QRgb p = view.pixel(x, y);
      const uint8_t h =
          platform::HalftoneIndex(uint8_t(qRed(p)), uint8_t(qGreen(p)), uint8_t(qBlue(p)));
      if (indexOf[h] < 0) {
        indexOf[h] = next++;
        ASSERT_EQ(gif.Colors.at(size_t(indexOf[h])), platform::HalftonePalette()[h]);
      }
      expected.push_back(uint8_t(indexOf[h]));
    }
  EXPECT_GT(next, 2);  // black, white and the greys of smoothed text
  EXPECT_TRUE(gif.Indices == expected);

  // JPEG: close to the view, and far closer than to the view moved by two
  // pixels, so that the tolerance still sees a misplaced drawing.
  const QString jpgPath = out.path() + "/chart.jpg";
  ASSERT_TRUE(f.ExportCommands->ExportDocument(d, jpgPath, FilterIndex(*f.ExportCommands, "jpg")));
  const QImage jpg = QImage(jpgPath).convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(jpg.size(), view.size());
  const double near = MeanError(jpg, view), moved = MeanError(jpg, view, 2);
  EXPECT_LT(near, 3.0);
  EXPECT_GT(moved, 2 * near);

  // Only the pictures are left: the bitmap handed to the library is gone.
  EXPECT_EQ(FilesIn(out.path()), (QStringList{"chart.gif", "chart.jpg", "chart.png"}));
}

TEST(GraphicExport, BitmapAndVectorPicturesHaveTheFrameSize) {
  TUserBlockList list;
  TShem diagram;
  diagram.UserBlocks = &list;
  FillSample(diagram);
  QTemporaryDir out;
  TPictureJob job;
  job.Diagram = &diagram;
  job.Scale = 2;
  const TPictureFrame frame = PictureFrame(diagram, 2);
  EXPECT_EQ(frame.Width, (260 - 40 + 2 * PictureMargin) * 2 + 1);
  EXPECT_EQ(frame.Height, (220 - 30 + 2 * PictureMargin) * 2 + 1);

  job.FileName = out.path() + "/p.bmp";
  job.Kind = TPictureKind::Bmp;
  ASSERT_TRUE(ExportPicture(job, nullptr).Ok);
  const QImage bmp(job.FileName);
  const QImage rendered = RenderPicture(diagram, frame, Qt::white, QString());
  EXPECT_EQ(bmp.convertToFormat(QImage::Format_RGB32), rendered);
  const std::vector<uint8_t> bytes = ReadBytes(job.FileName);
  ASSERT_GT(bytes.size(), 54u);
  EXPECT_EQ(bytes[28], 24);  // bits per pixel
  const size_t row = (size_t(frame.Width) * 3 + 3) / 4 * 4;
  EXPECT_EQ(bytes.size(), 54 + row * size_t(frame.Height));

  job.FileName = out.path() + "/p.svg";
  job.Kind = TPictureKind::Svg;
  ASSERT_TRUE(ExportPicture(job, nullptr).Ok);
  const QByteArray svg = QByteArray(reinterpret_cast<const char*>(ReadBytes(job.FileName).data()),
                                    qsizetype(ReadBytes(job.FileName).size()));
  EXPECT_TRUE(
      svg.contains(QString("viewBox=\"0 0 %1 %2\"").arg(frame.Width).arg(frame.Height).toUtf8()));

  job.FileName = out.path() + "/p.pdf";
  job.Kind = TPictureKind::Pdf;
  ASSERT_TRUE(ExportPicture(job, nullptr).Ok);
  const std::vector<QSizeF> pages = PdfPageSizes(job.FileName);
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_EQ(pages[0], QSizeF(double(frame.Width), double(frame.Height)));

  // A library format without the library is a failure with a reason, and
  // leaves nothing behind.
  job.FileName = out.path() + "/p.gif";
  job.Kind = TPictureKind::Library;
  job.LibraryFormat = 1;
  const TExportResult r = ExportPicture(job, nullptr);
  EXPECT_FALSE(r.Ok);
  EXPECT_TRUE(r.Message.contains(TExportBinding::LibraryName));
  EXPECT_EQ(FilesIn(out.path()), (QStringList{"p.bmp", "p.pdf", "p.svg"}));
}

TEST(GraphicExport, TooLargePicturesAreRefusedWithTheLargestScaleThatFits) {
  TUserBlockList list;
  TShem huge;
  huge.UserBlocks = &list;
  AddBlock(huge, {0, 0, 10, 10});
  AddBlock(huge, {65520, 65520, 65535, 65535});
  // 65556 pixels a side even at scale 1: no scale fits.
  EXPECT_EQ(LargestFittingScale(huge), 0);

  TShem wide;
  wide.UserBlocks = &list;
  AddBlock(wide, {0, 0, 10, 10});
  AddBlock(wide, {19000, 9000, 20000, 10000});
  // 20021 x 10021 pixels fit at scale 1; at scale 2 the pixels are too many.
  EXPECT_EQ(LargestFittingScale(wide), 1);
  EXPECT_TRUE(PictureFits(MaxPictureSide, MaxPicturePixels / MaxPictureSide));
  EXPECT_FALSE(PictureFits(MaxPictureSide + 1, 1));
  EXPECT_FALSE(PictureFits(1, MaxPictureSide + 1));
  EXPECT_FALSE(PictureFits(16385, 16385));
  EXPECT_FALSE(PictureFits(0, 10));

  QTemporaryDir out;
  TPictureJob job;
  job.FileName = out.path() + "/big.png";
  job.Kind = TPictureKind::Png;
  for (TShem* d : {&huge, &wide}) {
    job.Diagram = d;
    job.Scale = 8;  // a terabyte or more: refused before anything is allocated
    const TExportResult r = ExportPicture(job, nullptr);
    EXPECT_FALSE(r.Ok);
    EXPECT_TRUE(r.TooLarge);
    const TPictureFrame frame = PictureFrame(*d, 8);
    EXPECT_TRUE(r.Message.contains(QString("%1 x %2 pixels").arg(frame.Width).arg(frame.Height)))
        << r.Message.toStdString();
    EXPECT_EQ(r.LargestScale, d == &wide ? 1 : 0);
    EXPECT_TRUE(r.Message.contains(d == &wide ? "largest scale that fits is x1"
                                              : "does not fit even at scale x1"))
        << r.Message.toStdString();
  }
  // Vector pictures have no pixels to hold.
  job.Diagram = &huge;
  job.FileName = out.path() + "/big.svg";
  job.Kind = TPictureKind::Svg;
  EXPECT_TRUE(ExportPicture(job, nullptr).Ok);
  EXPECT_EQ(FilesIn(out.path()), QStringList{"big.svg"});
}

TEST(GraphicExport, CommandOffersTheSmallerScaleAndWritesNothingWhenDeclined) {
  ExportFixture fx;
  TMainForm f(fx.Options());
  f.FileCommands->New1Click();
  TChildD* d = f.ActiveDocument();
  AddBlock(d->Diagram, {0, 0, 10, 10});
  AddBlock(d->Diagram, {19000, 9000, 20000, 10000});
  QTemporaryDir out;
  fx.q.Answers = {QMessageBox::No};
  EXPECT_FALSE(f.ExportCommands->ExportDocument(d, out.path() + "/big.gif", 0));
  ASSERT_EQ(fx.q.Log.size(), 1u);
  EXPECT_TRUE(fx.q.Log[0].Text.contains("40041 x 20041 pixels at scale x2"))
      << fx.q.Log[0].Text.toStdString();
  EXPECT_TRUE(fx.q.Log[0].Text.endsWith("Export at scale x1?"));
  EXPECT_EQ(fx.q.Log[0].Buttons, QMessageBox::Yes | QMessageBox::No);
  EXPECT_TRUE(FilesIn(out.path()).isEmpty());
}

TEST(GraphicExport, MenuCommandRunsTheScriptedSaveDialog) {
  ExportFixture fx;
  TMainForm f(fx.Options());
  TChildD* d = SampleDocument(f);
  QTemporaryDir out;
  const QString target = out.path() + "/from-menu";
  fx.q.ModalScript = [&](QDialog* dialog) {
    auto* fd = qobject_cast<QFileDialog*>(dialog);
    ASSERT_NE(fd, nullptr);
    fd->selectNameFilter("JPEG-files (*.jpg)");
    fd->selectFile(target);
    dialog->accept();  // QFileDialog::accept, which checks the name
  };
  f.Actions->Action(TCommand::ExportGraphic)->trigger();
  EXPECT_EQ(fx.q.ModalForms, QStringList{"ExportDialog"});
  EXPECT_TRUE(fx.q.Log.empty());
  EXPECT_EQ(FilesIn(out.path()), QStringList{"from-menu.jpg"});
  const QImage jpg(target + ".jpg");
  EXPECT_EQ(jpg.size(), ViewPart(d).size());
  EXPECT_EQ(f.AppState.LastDirectory, out.path() + '/');

  // The same name again: the completed name exists, so replacing it is asked.
  QFile(target + ".jpg").resize(10);
  fx.q.Answers = {QMessageBox::No};
  f.Actions->Action(TCommand::ExportGraphic)->trigger();
  ASSERT_EQ(fx.q.Log.size(), 1u);
  EXPECT_TRUE(fx.q.Log[0].Text.startsWith("from-menu.jpg already exists."));
  EXPECT_EQ(QFileInfo(target + ".jpg").size(), 10);
  fx.q.Answers = {QMessageBox::Yes};
  f.Actions->Action(TCommand::ExportGraphic)->trigger();
  EXPECT_EQ(QImage(target + ".jpg").size(), jpg.size());
}
