// qvtool export: a diagram file as a picture, drawn by the editor's painter
// on the offscreen platform (no display needed). BMP, PNG, SVG and PDF are
// written by the program, GIF and JPEG by libvexolant.so beside qvtool.
#include <unistd.h>

#include <QFile>
#include <QGuiApplication>
#include <climits>
#include <cstdio>
#include <memory>

#include "app/exportbinding.h"
#include "app/pictureexport.h"
#include "commands.h"
#include "editor/diagramtext.h"
#include "model/fileaccess.h"
#include "model/shem.h"
#include "model/stream.h"
#include "model/userblocklist.h"
#include "options.h"

namespace {
// The folder that holds this executable (the export library lies there).
std::string ProgramDir() {
  char buf[PATH_MAX + 1];
  const ssize_t n = readlink("/proc/self/exe", buf, PATH_MAX);
  if (n <= 0) return std::string();
  std::string path(buf, size_t(n));
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// Takes "--scale N" out of args; false for a missing or unsupported value.
bool TakeScale(std::vector<std::string>& args, int& scale) {
  scale = 1;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] != "--scale") continue;
    if (i + 1 >= args.size()) return false;
    const std::string v = args[i + 1];
    if (v != "1" && v != "2" && v != "4" && v != "8") return false;
    scale = v[0] - '0';
    args.erase(args.begin() + std::ptrdiff_t(i), args.begin() + std::ptrdiff_t(i + 2));
    --i;
  }
  return true;
}

// A Qt application on the offscreen platform, for fonts and painting.
// Qt's own notes (no runtime folder, and the like) are not for the user of a
// command line tool; only its critical messages are passed on.
std::unique_ptr<QGuiApplication> OffscreenApplication() {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& msg) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
      std::fprintf(stderr, "%s\n", msg.toLocal8Bit().constData());
  });
  static int argc = 1;
  static char name[] = "qvtool";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}
}  // namespace

int CmdExport(const std::vector<std::string>& givenArgs) {
  std::vector<std::string> args = givenArgs;
  int scale = 1;
  if (!TakeScale(args, scale)) return 2;
  std::vector<std::string> pos;
  int cp;
  std::vector<uint8_t> bytes;
  if (const int rc = ReadFirstArgument(args, 2, pos, cp, bytes); rc >= 0) return rc;
  const std::string& out = pos[1];

  TUserBlockList userBlocks;
  TShem diagram;
  diagram.UserBlocks = &userBlocks;
  TByteViewStream s(bytes.data(), bytes.size());
  if (!diagram.LoadFromStream(s)) {
    std::fprintf(stderr, "\"%s\" is not a diagram file\n", pos[0].c_str());
    return 1;
  }
  std::string why;
  if (!CanReplaceFile(out, why)) {
    std::fprintf(stderr, "%s\n", why.c_str());
    return 1;
  }

  TExportBinding binding;
  std::string bindError;
  binding.Load(ProgramDir(), &bindError);
  const QString outName = QFile::decodeName(out.c_str());
  TPictureJob job;
  job.Diagram = &diagram;
  job.Scale = scale;
  job.FileName = outName;
  if (!PictureKindForName(outName, &binding, job.Kind, job.LibraryFormat)) {
    const QString ext = outName.section('.', -1).toLower();
    if (!binding.Bound() && (ext == "gif" || ext == "jpg" || ext == "jpeg")) {
      std::fprintf(stderr, "GIF and JPEG need %s beside qvtool: %s\n", TExportBinding::LibraryName,
                   bindError.c_str());
      return 1;
    }
    std::fprintf(stderr, "\"%s\": the file type is none of bmp, png, svg, pdf, gif, jpg\n",
                 out.c_str());
    return 2;
  }

  const auto app = OffscreenApplication();
  SetDiagramCodePage(cp);
  const TExportResult r = ExportPicture(job, &binding);
  if (!r.Ok) {
    std::fprintf(stderr, "%s\n", r.Message.toLocal8Bit().constData());
    if (r.TooLarge && r.LargestScale > 0) std::fprintf(stderr, "Use --scale %d.\n", r.LargestScale);
    return 1;
  }
  return 0;
}
