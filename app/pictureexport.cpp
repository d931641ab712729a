#include "app/pictureexport.h"

#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>

#include "editor/diagrampicture.h"
#include "model/shem.h"

namespace {
std::string Local(const QString& path) { return QFile::encodeName(path).toStdString(); }

TExportResult Failed(const QString& why) {
  TExportResult r;
  r.Message = why;
  return r;
}

// A free name in the folder of target, ending in suffix; the file exists
// (empty) and is removed when the returned object goes.
std::unique_ptr<QTemporaryFile> TemporaryBeside(const QString& target, const QString& suffix) {
  const QFileInfo fi(target);
  auto tmp = std::make_unique<QTemporaryFile>(fi.absolutePath() + '/' + fi.completeBaseName() +
                                              QStringLiteral("-XXXXXX") + suffix);
  if (!tmp->open()) return nullptr;
  tmp->close();
  return tmp;
}

// Replaces target by the file at from, in one step. The temporary file was
// made private; the picture gets the permissions of a newly created file.
bool MoveOver(const QString& from, const QString& target, QString& error) {
  const mode_t mask = umask(0);
  umask(mask);
  chmod(Local(from).c_str(), 0666 & ~mask);
  if (std::rename(Local(from).c_str(), Local(target).c_str()) == 0) return true;
  error = QStringLiteral("Can not write \"%1\": %2")
              .arg(target, QString::fromLocal8Bit(std::strerror(errno)));
  return false;
}

// Writes the file through write(temporary name) and moves it over the target.
TExportResult WriteBeside(const QString& target, const QString& suffix,
                          const std::function<bool(const QString&, std::string&)>& write) {
  auto tmp = TemporaryBeside(target, suffix);
  if (!tmp)
    return Failed(
        QStringLiteral("Can not create a file in \"%1\"").arg(QFileInfo(target).absolutePath()));
  std::string why;
  if (!write(tmp->fileName(), why)) return Failed(QString::fromLocal8Bit(why));
  TExportResult r;
  r.Ok = MoveOver(tmp->fileName(), target, r.Message);
  if (r.Ok) tmp->setAutoRemove(false);  // it is the target now
  return r;
}

bool IsRaster(TPictureKind k) { return k != TPictureKind::Svg && k != TPictureKind::Pdf; }
}  // namespace

bool PictureKindForName(const QString& fileName, const TExportBinding* binding, TPictureKind& kind,
                        int& libraryFormat) {
  QString ext = QFileInfo(fileName).suffix().toLower();
  libraryFormat = 0;
  if (ext == QLatin1String("bmp")) {
    kind = TPictureKind::Bmp;
  } else if (ext == QLatin1String("png")) {
    kind = TPictureKind::Png;
  } else if (ext == QLatin1String("svg")) {
    kind = TPictureKind::Svg;
  } else if (ext == QLatin1String("pdf")) {
    kind = TPictureKind::Pdf;
  } else {
    if (!binding || !binding->Bound() || ext.isEmpty()) return false;
    if (ext == QLatin1String("jpeg")) ext = QStringLiteral("jpg");
    for (const TExportBinding::TFormat& f : binding->Formats()) {
      if (QString::fromStdString(f.Extension).toLower() == '.' + ext) {
        kind = TPictureKind::Library;
        libraryFormat = f.Number;
        return true;
      }
    }
    return false;
  }
  return true;
}

TExportResult ExportPicture(const TPictureJob& job, const TExportBinding* binding) {
  if (!job.Diagram) return Failed(QStringLiteral("There is no diagram to export"));
  const TShem& diagram = *job.Diagram;
  const TPictureFrame frame = PictureFrame(diagram, job.Scale);
  if (IsRaster(job.Kind) && !PictureFits(frame.Width, frame.Height)) {
    TExportResult r;
    r.TooLarge = true;
    r.LargestScale = LargestFittingScale(diagram);
    r.Message = PictureTooLargeText(frame, r.LargestScale);
    return r;
  }
  const QColor bg = job.Background;
  const QString& face = job.FontFace;
  switch (job.Kind) {
    case TPictureKind::Svg:
      return WriteBeside(job.FileName, ".svg", [&](const QString& path, std::string& why) {
        return WriteSvgPicture(diagram, frame, bg, face, path, why);
      });
    case TPictureKind::Pdf:
      return WriteBeside(job.FileName, ".pdf", [&](const QString& path, std::string& why) {
        return WritePdfPicture(diagram, frame, bg, face, path, why);
      });
    case TPictureKind::Png:
    case TPictureKind::Bmp: {
      const bool png = job.Kind == TPictureKind::Png;
      return WriteBeside(job.FileName, png ? ".png" : ".bmp",
                         [&](const QString& path, std::string& why) {
                           const QImage image = RenderPicture(diagram, frame, bg, face);
                           if (image.isNull()) {
                             why = "Not enough memory for the picture";
                             return false;
                           }
                           if (!png) return WriteBitmap24(image, Local(path), why);
                           QImageWriter writer(path, "png");
                           if (writer.write(image)) return true;
                           why = writer.errorString().toStdString();
                           return false;
                         });
    }
    case TPictureKind::Library:
      break;
  }

  // The library converts a bitmap beside the target into the same name with
  // its extension; that file then replaces the target, and the bitmap goes.
  if (!binding || !binding->Bound())
    return Failed(QStringLiteral("The graphic export library %1 is not loaded")
                      .arg(QString::fromLatin1(TExportBinding::LibraryName)));
  QString extension;
  for (const TExportBinding::TFormat& f : binding->Formats())
    if (f.Number == job.LibraryFormat) extension = QString::fromStdString(f.Extension);
  if (extension.isEmpty())
    return Failed(QStringLiteral("Unknown graphic format number %1").arg(job.LibraryFormat));
  auto bitmap = TemporaryBeside(job.FileName, ".bmp");
  if (!bitmap)
    return Failed(QStringLiteral("Can not create a file in \"%1\"")
                      .arg(QFileInfo(job.FileName).absolutePath()));
  const QString bmpName = bitmap->fileName();
  const QString converted = bmpName.left(bmpName.size() - 4) + extension;
  if (QFileInfo::exists(converted))
    return Failed(QStringLiteral("\"%1\" is in the way").arg(converted));
  std::string why;
  {
    const QImage image = RenderPicture(diagram, frame, bg, face);
    if (image.isNull()) return Failed(QStringLiteral("Not enough memory for the picture"));
    if (!WriteBitmap24(image, Local(bmpName), why)) return Failed(QString::fromLocal8Bit(why));
  }  // the image goes before the library reads the bitmap
  TExportResult r;
  if (!binding->SaveTo(job.LibraryFormat, Local(bmpName), why)) {
    QFile::remove(converted);
    r.Message = QString::fromLocal8Bit(why);
    return r;
  }
  r.Ok = MoveOver(converted, job.FileName, r.Message);
  if (!r.Ok) QFile::remove(converted);
  return r;  // the bitmap is removed with `bitmap`
}
