#include "editor/diagramtext.h"

#include <QList>

#include "model/codepage.h"

namespace {
int g_codePage = DefaultCodePage;
}

int DiagramCodePage() { return g_codePage; }

bool SetDiagramCodePage(int codePage) {
  if (!IsSupportedCodePage(codePage)) return false;
  g_codePage = codePage;
  return true;
}

QString DiagramToQString(const std::string& bytes) {
  const std::u32string u = DecodeCodepage(bytes, g_codePage);
  return QString::fromUcs4(u.data(), qsizetype(u.size()));
}

std::string QStringToDiagram(const QString& text) {
  const QList<uint> ucs = text.toUcs4();
  std::u32string u;
  u.reserve(size_t(ucs.size()));
  for (uint c : ucs) u.push_back(char32_t(c));
  return EncodeCodepage(u, g_codePage);
}
