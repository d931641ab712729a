#include "app/settings.h"

#include <QSettings>

#include "model/shemobj.h"

// The stored value names of the four toolbars (Standard, Special, Align
// palette, User blocks), in the order of TSettingsValues::Toolbars.
const TToolbarValueNames ToolbarValueNames[4] = {
    {"StandVis", "StandDock", "StandRow", "StandPos"},
    {"SpecVis", "SpecDock", "SpecRow", "SpecPos"},
    {"AlignVis", "AlignDock", "AlignRow", "AlignPos"},
    {"UBVis", "UBDock", "UBRow", "UBPos"},
};

TSettingsValues::TSettingsValues() { StandSize.fill({DefaultBlockWidth, DefaultBlockHeight}); }

QString SettingsOrganisation() { return QStringLiteral("DiagramEditor"); }

unsigned ColorToStore(unsigned r, unsigned g, unsigned b) {
  return (r & 255u) | (g & 255u) << 8 | (b & 255u) << 16;
}

namespace {
std::optional<bool> ReadBool(const QSettings& s, const QString& key) {
  if (!s.contains(key)) return std::nullopt;
  const QVariant v = s.value(key);
  if (v.typeId() == QMetaType::Bool) return v.toBool();
  const QString t = v.toString().trimmed().toLower();
  if (t == QLatin1String("true") || t == QLatin1String("1")) return true;
  if (t == QLatin1String("false") || t == QLatin1String("0")) return false;
  return std::nullopt;
}

std::optional<qlonglong> ReadInteger(const QSettings& s, const QString& key) {
  if (!s.contains(key)) return std::nullopt;
  const QVariant v = s.value(key);
  switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
      return v.toLongLong();
    case QMetaType::QString: {
      bool ok = false;
      const qlonglong n = v.toString().trimmed().toLongLong(&ok);
      if (ok) return n;
      return std::nullopt;
    }
    default:
      return std::nullopt;
  }
}

std::optional<int> ReadInt(const QSettings& s, const QString& key, qlonglong lo, qlonglong hi) {
  const std::optional<qlonglong> n = ReadInteger(s, key);
  if (!n || *n < lo || *n > hi) return std::nullopt;
  return int(*n);
}

std::optional<QString> ReadString(const QSettings& s, const QString& key) {
  if (!s.contains(key)) return std::nullopt;
  const QVariant v = s.value(key);
  if (v.typeId() != QMetaType::QString) return std::nullopt;
  return v.toString();
}

constexpr qlonglong kCoordMin = -32768, kCoordMax = 32767;

template <class T>
void WriteIf(QSettings& s, const QString& key, const std::optional<T>& v) {
  if (v) s.setValue(key, *v);
}
}  // namespace

TSettingsValues ReadSettingsStore(QSettings& s) {
  TSettingsValues v;
  v.Path = ReadString(s, "Path");
  v.FullWind = ReadBool(s, "FullWind");
  v.TWind = ReadInt(s, "TWind", kCoordMin, kCoordMax);
  v.LWind = ReadInt(s, "LWind", kCoordMin, kCoordMax);
  v.HWind = ReadInt(s, "HWind", 1, kCoordMax);
  v.WWind = ReadInt(s, "WWind", 1, kCoordMax);
  for (int i = 0; i < 4; ++i) {
    const TToolbarValueNames& n = ToolbarValueNames[i];
    TToolbarSettings& t = v.Toolbars[size_t(i)];
    t.Visible = ReadBool(s, n.Vis);
    t.Dock = ReadInt(s, n.Dock, 0, 4);
    t.Row = ReadInt(s, n.Row, kCoordMin, kCoordMax);
    t.Pos = ReadInt(s, n.Pos, kCoordMin, kCoordMax);
  }
  if (const auto c = ReadInteger(s, "BackGround"); c && *c >= 0 && *c <= 0xFFFFFF)
    v.BackGround = unsigned(*c);
  v.ListEnable = ReadBool(s, "ListEnable");
  v.GridEnable = ReadBool(s, "GridEnable");

  s.beginGroup("Files");
  for (const QString& key : s.childKeys()) {
    if (v.Files.size() >= MaxRecentFiles) break;
    if (const auto name = ReadString(s, key); name && !name->isEmpty()) v.Files.append(*name);
  }
  s.endGroup();

  s.beginGroup("StandSize");
  for (int k = 0; k < BuiltInKindCount; ++k) {
    const QString name = QString::fromLatin1(KindNames[k]);
    if (const auto w = ReadInt(s, name + "X", 1, 65535)) v.StandSize[size_t(k)].first = *w;
    if (const auto h = ReadInt(s, name + "Y", 1, 65535)) v.StandSize[size_t(k)].second = *h;
  }
  s.endGroup();
  return v;
}

void WriteSettingsStore(QSettings& s, const TSettingsValues& v) {
  WriteIf(s, "Path", v.Path);
  WriteIf(s, "FullWind", v.FullWind);
  WriteIf(s, "TWind", v.TWind);
  WriteIf(s, "LWind", v.LWind);
  WriteIf(s, "HWind", v.HWind);
  WriteIf(s, "WWind", v.WWind);
  for (int i = 0; i < 4; ++i) {
    const TToolbarValueNames& n = ToolbarValueNames[i];
    const TToolbarSettings& t = v.Toolbars[size_t(i)];
    WriteIf(s, n.Vis, t.Visible);
    WriteIf(s, n.Dock, t.Dock);
    WriteIf(s, n.Row, t.Row);
    WriteIf(s, n.Pos, t.Pos);
  }
  WriteIf(s, "BackGround", v.BackGround);
  WriteIf(s, "ListEnable", v.ListEnable);
  WriteIf(s, "GridEnable", v.GridEnable);

  s.remove("Files");
  s.beginGroup("Files");
  for (int i = 0; i < v.Files.size() && i < MaxRecentFiles; ++i)
    s.setValue(QString::number(i + 1), v.Files[i]);
  s.endGroup();

  s.beginGroup("StandSize");
  for (int k = 0; k < BuiltInKindCount; ++k) {
    const QString name = QString::fromLatin1(KindNames[k]);
    s.setValue(name + "X", v.StandSize[size_t(k)].first);
    s.setValue(name + "Y", v.StandSize[size_t(k)].second);
  }
  s.endGroup();
  s.sync();
}
