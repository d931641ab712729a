// The JSON import plug-in: File > Import > "Diagram from JSON..." opens
// diagrams written as JSON (the format of `qvtool dump` and `qvtool build`),
// so that diagrams made by scripts come straight into the editor. Each chosen
// file becomes a diagram file beside it, which the editor then opens through
// its LoadFile. Texts are converted to the default code page of diagram text.
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <cstring>

#include "jsonconvert.h"
#include "model/codepage.h"
#include "qvplugin.h"

namespace {

void* g_program = nullptr;
QString g_lastFolder;

}  // namespace

extern "C" {

QV_PLUGIN_EXPORT void Init(void* programHandle) { g_program = programHandle; }

QV_PLUGIN_EXPORT const char* GetName(void) { return "Diagram from JSON..."; }

QV_PLUGIN_EXPORT const char* GetHint(void) {
  return "Import diagrams from JSON files written by qvtool dump or by scripts";
}

// Converts one JSON file and opens the result in the editor. Returns 1 on
// success; otherwise 0 with the reason in error (cut to errorSize bytes).
QV_PLUGIN_EXPORT int ImportJsonFile(const char* jsonFile, char* error, int errorSize) {
  std::string why;
  const std::string target = ImportTargetName(jsonFile);
  const bool ok = !target.empty() && ConvertJsonFile(jsonFile, target, DefaultCodePage, why);
  if (target.empty()) why = std::string(jsonFile) + ": no free name for its diagram file";
  if (ok) {
    if (QvLoadFileProc load = QvFindLoadFile(g_program)) {
      load(target.c_str());
    } else {
      why = "the program offers no LoadFile";
    }
  }
  if (!why.empty() && error && errorSize > 0) {
    std::strncpy(error, why.c_str(), size_t(errorSize) - 1);
    error[errorSize - 1] = 0;
  }
  return why.empty() ? 1 : 0;
}

QV_PLUGIN_EXPORT void ImportFiles(void) {
  QWidget* parent = QApplication::activeWindow();
  const QStringList files = QFileDialog::getOpenFileNames(
      parent, QStringLiteral("Import diagrams from JSON"), g_lastFolder,
      QStringLiteral("JSON diagrams (*.json);;All files (*)"));
  for (const QString& f : files) {
    g_lastFolder = QFileInfo(f).absolutePath();
    char error[1024];
    if (!ImportJsonFile(QFile::encodeName(f).constData(), error, int(sizeof error)))
      QMessageBox::warning(parent, QStringLiteral("Block-diagram editor."),
                           QString::fromLocal8Bit(error));
  }
}
}
