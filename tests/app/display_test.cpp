// What the main window shows: status bar panels that fit their text, the font
// box's families, the user block buttons' transparent background and where
// the manual is when no browser opens it.
#include <QClipboard>
#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QStatusBar>
#include <QToolBar>
#include <QtEndian>

#include "../editor/guitestenv.h"
#include "app/commands/helpcommands.h"
#include "app/fontbox.h"
#include "app/mainform.h"
#include "app/mainstatusbar.h"
#include "app/userblocktoolbar.h"
#include "apptestutil.h"

namespace {
// A copy of a TrueType font whose vendor (the foundry that the font database
// reports) is `vendor`; empty when the font cannot be read.
QByteArray WithVendor(const QString& fontFile, const char vendor[4]) {
  QFile f(fontFile);
  if (!f.open(QIODevice::ReadOnly)) return {};
  QByteArray data = f.readAll();
  if (data.size() < 12) return {};
  const int tables = qFromBigEndian<quint16>(data.constData() + 4);
  for (int i = 0; i < tables && 12 + 16 * (i + 1) <= data.size(); ++i) {
    const char* record = data.constData() + 12 + 16 * i;
    if (QByteArray(record, 4) != "OS/2") continue;
    const quint32 offset = qFromBigEndian<quint32>(record + 8);
    if (offset + 62 > quint32(data.size())) return {};
    data.replace(qsizetype(offset + 58), 4, QByteArray(vendor, 4));
    return data;
  }
  return {};
}
}  // namespace

TEST(MainFormDisplay, StatusPanelsGrowToTheirTextAndKeepEightyPixelsAsTheLeast) {
  Fixture fx;
  TMainForm f(fx.Options());
  f.resize(900, 400);
  f.show();
  QFont big = f.font();
  big.setPointSize(24);
  f.statusBar()->setFont(big);
  const QStringList texts = {"(220, 28253)", "(65535, 65535)", "(-524280, -524280)", "(5, 3)"};
  for (int panel : {0, 1}) {
    for (const QString& text : texts) {
      SCOPED_TRACE(text.toStdString());
      f.SetStatusPanel(panel, text);
      QCoreApplication::processEvents();
      QLabel* l = f.StatusBar->StatusPanels[size_t(panel)];
      EXPECT_EQ(l->text(), text);
      EXPECT_GE(l->contentsRect().width(), l->fontMetrics().horizontalAdvance(text));
      EXPECT_GE(l->width(), 80);
    }
  }
  // A short read-out does not make a panel jump back and forth.
  EXPECT_GE(f.StatusBar->StatusPanels[0]->contentsRect().width(),
            f.StatusBar->StatusPanels[0]->fontMetrics().horizontalAdvance("(-524280, -524280)"));
  // At an ordinary font and with short texts a panel is 80 pixels wide.
  TMainForm g(fx.Options());
  QFont small = g.font();
  small.setPixelSize(8);
  g.statusBar()->setFont(small);
  g.show();
  g.SetStatusPanel(0, "(5, 3)");
  QCoreApplication::processEvents();
  EXPECT_EQ(g.StatusBar->StatusPanels[0]->width(), 80);
}

TEST(MainFormDisplay, FontBoxListsEachFamilyOnceWithoutFoundries) {
  // One family from two foundries: the font database then names both with the
  // foundry in brackets.
  const QString dejavu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
  const QByteArray copy = WithVendor(dejavu, "QvTs");
  if (copy.isEmpty()) GTEST_SKIP() << "needs " << dejavu.toStdString();
  ASSERT_GE(QFontDatabase::addApplicationFontFromData(copy), 0);
  QStringList bracketed;
  for (const QString& family : QFontDatabase::families())
    if (family.startsWith("DejaVu Sans [")) bracketed.append(family);
  ASSERT_FALSE(bracketed.isEmpty()) << "the font database names no foundry";

  Fixture fx;
  TMainForm f(fx.Options());
  QStringList items;
  for (int i = 0; i < f.FontBox->count(); ++i) items.append(f.FontBox->itemText(i));
  EXPECT_EQ(items.count("DejaVu Sans"), 1);
  for (const QString& item : items) {
    EXPECT_FALSE(item.endsWith(']')) << item.toStdString();
    EXPECT_EQ(items.count(item), 1) << item.toStdString();
  }
}

TEST(MainFormDisplay, UserBlockButtonsShowTheirImageOnATransparentBackground) {
  Fixture fx;
  {
    TUserBlockList list;
    list.Add(MakeUserBlock("Triangle", 1, 2));  // column 2 of its image is black
    ASSERT_TRUE(list.SaveToFile(QFile::encodeName(fx.dir.path() + "/UserBlock.blu").toStdString()));
  }
  TMainForm f(fx.Options());
  ASSERT_EQ(f.UserBlocksToolbar->ToolbarImages.size(), 1);
  for (const QIcon& icon : {f.UserBlocksToolbar->ToolbarImages[0], f.ListingImages[15],
                            f.UserBlocksToolbar->actions().at(0)->icon()}) {
    const QImage img = icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(img.size(), QSize(16, 16));
    for (int y = 0; y < 16; ++y) {
      EXPECT_EQ(img.pixelColor(2, y), QColor(Qt::black)) << y;
      EXPECT_EQ(img.pixelColor(0, y).alpha(), 0) << y;
      EXPECT_EQ(img.pixelColor(9, y).alpha(), 0) << y;
    }
  }
}

TEST(MainFormDisplay, AManualThatNoBrowserOpensIsShownWithItsPathToCopy) {
  Fixture fx;
  TMainForm f(fx.Options());
  qputenv("QUORVALIN_MANUAL", QV_MANUAL);  // the test program lies elsewhere
  const QString manual = f.HelpCommands->HelpFile();
  ASSERT_FALSE(manual.isEmpty());
  QList<QUrl> asked;
  f.HelpCommands->OpenUrl = [&asked](const QUrl& url) {
    asked.append(url);
    return false;
  };
  QGuiApplication::clipboard()->setText("before");
  fx.q.Answers = {QMessageBox::No};
  f.HelpCommands->Contents1Click();
  ASSERT_EQ(asked.size(), 1);
  EXPECT_EQ(asked[0], QUrl::fromLocalFile(manual));
  ASSERT_EQ(fx.q.Log.size(), 1u);
  EXPECT_TRUE(fx.q.Log[0].Text.contains(manual)) << fx.q.Log[0].Text.toStdString();
  EXPECT_EQ(fx.q.Log[0].Caption, "Block-diagram editor.");
  EXPECT_EQ(fx.q.Log[0].Buttons, QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "before");

  fx.q.Answers = {QMessageBox::Yes};
  f.HelpCommands->Contents1Click();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), manual);

  // A browser that takes it: no message.
  fx.q.Log.clear();
  f.HelpCommands->OpenUrl = [](const QUrl&) { return true; };
  f.HelpCommands->Contents1Click();
  EXPECT_TRUE(fx.q.Log.empty());
  qunsetenv("QUORVALIN_MANUAL");
}
