// The document view and the main window's controls as assistive technology
// sees them, through Qt's accessibility interfaces in this process.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QTextEdit>
#include <algorithm>
#include <map>
#include <random>

#include "app/fontbox.h"
#include "app/listingpanel.h"
#include "app/mainstatusbar.h"
#include "desktoptestutil.h"
#include "editor/diagramaccessible.h"

namespace {
// Accessibility events of one kind, as (interface name, event type).
std::vector<std::pair<QString, QAccessible::Event>> g_events;
void Record(QAccessibleEvent* e) {
  QAccessibleInterface* i = e->accessibleInterface();
  g_events.emplace_back(i ? i->text(QAccessible::Name) : QString(), e->type());
}

bool HasEvent(const QString& name, QAccessible::Event type) {
  for (const auto& [n, t] : g_events)
    if (n == name && t == type) return true;
  return false;
}

struct AccessibleDocument : DesktopFixture {
  TMainForm form{Options()};
  TChildD* doc = nullptr;
  TShemObj *start = nullptr, *test = nullptr, *link = nullptr;
  AccessibleDocument() {
    form.resize(800, 600);
    form.show();
    doc = form.CreateDocument("/home/user/gcd.fgd");
    form.SubWindowOf(doc)->showMaximized();
    start = AddSquare(*doc, {10, 10, 90, 30}, "a := 12");
    test = AddSquare(*doc, {10, 60, 90, 80}, "a <> b");
    test->AsBlock()->Data.Kind = bkRhomb;
    // A link through a link point: the point itself is no child.
    TShemObj* point = doc->Diagram.GetObj(doc->Diagram.Add(TBlock::NewPoint({120, 40})));
    link = doc->Diagram.GetObj(doc->Diagram.AddLink(
        std::make_unique<TLink>(ltArrowTarget, TPoint{32767, PosMax}, TPoint{32767, 0}), start,
        test));
    doc->Diagram.AddLink(std::make_unique<TLink>(0, TPoint{0, 0}, TPoint{0, 0}), point, nullptr);
    doc->Redraw();
    QCoreApplication::processEvents();
    g_events.clear();
    SetAccessibleEventSink(Record);
  }
  ~AccessibleDocument() { SetAccessibleEventSink(nullptr); }
  QAccessibleInterface* View() const { return QAccessible::queryAccessibleInterface(doc); }
  QStringList ChildNames() const {
    QStringList names;
    QAccessibleInterface* v = View();
    for (int i = 0; i < v->childCount(); ++i) names << v->child(i)->text(QAccessible::Name);
    return names;
  }
  // Shows the change as the window does: a repaint.
  void Repaint() {
    doc->Redraw();
    doc->repaint();
  }
};
}  // namespace

TEST(Accessibility, TheViewIsACanvasNamedAfterItsDocumentWithBlocksAndLinks) {
  AccessibleDocument fx;
  QAccessibleInterface* v = fx.View();
  ASSERT_TRUE(v);
  EXPECT_EQ(v->role(), QAccessible::Canvas);
  EXPECT_EQ(v->text(QAccessible::Name), "/home/user/gcd.fgd");
  const QStringList names = fx.ChildNames();
  // Blocks and links in diagram order, then the view's own controls.
  ASSERT_GE(names.size(), 4);
  EXPECT_EQ(names.mid(0, 4), (QStringList{"Rectangle: a := 12", "Rhomb: a <> b",
                                          "link from Rectangle: a := 12 to Rhomb: a <> b",
                                          "link from Link point to nothing"}));
  EXPECT_TRUE(names.contains("Horizontal scroll bar"));
  EXPECT_TRUE(names.contains("Vertical scroll bar"));
  for (int i = 0; i < v->childCount(); ++i) {
    QAccessibleInterface* c = v->child(i);
    EXPECT_EQ(v->indexOfChild(c), i) << names[i].toStdString();
    EXPECT_EQ(c->parent(), v);
  }

  // A block's rectangle on the screen follows the scale and the scroll.
  QAccessibleInterface* block = fx.doc->Diagram.Count() ? v->child(0) : nullptr;
  ASSERT_TRUE(block);
  EXPECT_EQ(block->role(), QAccessible::Graphic);
  const TPoint tl = fx.doc->DiagramToScreen({10, 10}), br = fx.doc->DiagramToScreen({90, 30});
  EXPECT_EQ(block->rect(),
            QRect(fx.doc->mapToGlobal(QPoint(tl.X, tl.Y)), QSize(br.X - tl.X, br.Y - tl.Y)));
  EXPECT_EQ(block->rect().width(), 80 * fx.doc->Scale);
  EXPECT_EQ(v->childAt(block->rect().center().x(), block->rect().center().y()), block);
  fx.doc->ScrollBar2->setValue(fx.doc->ScrollBar2->value() + 5);
  EXPECT_EQ(block->rect().top(),
            fx.doc->mapToGlobal(QPoint(0, fx.doc->DiagramToScreen({10, 10}).Y)).y());
}

TEST(Accessibility, SelectionIsReportedAsSelectedChildren) {
  AccessibleDocument fx;
  QAccessibleInterface* v = fx.View();
  QAccessibleInterface* rhomb = v->child(1);
  EXPECT_TRUE(rhomb->state().selectable);
  EXPECT_FALSE(rhomb->state().selected);
  fx.doc->Selection.Assign({fx.test, fx.link});
  fx.Repaint();
  EXPECT_TRUE(rhomb->state().selected);
  EXPECT_TRUE(v->child(2)->state().selected);
  EXPECT_FALSE(v->child(0)->state().selected);
  EXPECT_TRUE(HasEvent("Rhomb: a <> b", QAccessible::SelectionAdd));
  EXPECT_TRUE(HasEvent("Rhomb: a <> b", QAccessible::StateChanged));
  g_events.clear();
  fx.doc->Selection.Remove(fx.test);
  fx.Repaint();
  EXPECT_FALSE(rhomb->state().selected);
  EXPECT_TRUE(HasEvent("Rhomb: a <> b", QAccessible::SelectionRemove));
  EXPECT_FALSE(HasEvent("Rhomb: a <> b", QAccessible::SelectionAdd));
}

TEST(Accessibility, DiagramChangesReachTheChildrenAndAreAnnounced) {
  AccessibleDocument fx;
  QAccessibleInterface* v = fx.View();
  const int before = v->childCount();
  // A new block.
  TShemObj* added = AddSquare(*fx.doc, {10, 120, 90, 140}, "gcd := a");
  fx.Repaint();
  EXPECT_EQ(v->childCount(), before + 1);
  EXPECT_TRUE(HasEvent("Rectangle: gcd := a", QAccessible::ObjectCreated));
  // New text: a new name.
  added->AsBlock()->Data.Text = "gcd := b";
  fx.Repaint();
  EXPECT_TRUE(HasEvent("Rectangle: gcd := b", QAccessible::NameChanged));
  EXPECT_EQ(fx.ChildNames().value(4), "Rectangle: gcd := b");
  // A move.
  g_events.clear();
  added->AsBlock()->Data.SetRect({30, 120, 110, 140});
  fx.Repaint();
  EXPECT_TRUE(HasEvent("Rectangle: gcd := b", QAccessible::LocationChanged));
  // Deleting the first block: its child goes, announced while it can still
  // be read.
  g_events.clear();
  fx.doc->Diagram.Remove(fx.start);
  fx.Repaint();
  EXPECT_TRUE(HasEvent("Rectangle: a := 12", QAccessible::ObjectDestroyed));
  EXPECT_FALSE(fx.ChildNames().contains("Rectangle: a := 12"));
  int objectChildren = 0, nonPoints = 0;
  for (int i = 0; i < v->childCount(); ++i) objectChildren += v->child(i)->object() == nullptr;
  for (int i = 0; i < fx.doc->Diagram.Count(); ++i)
    nonPoints += !fx.doc->Diagram.GetObj(i)->IsPointBlock();
  EXPECT_EQ(objectChildren, nonPoints);
  // A new title renames the view.
  fx.doc->setWindowTitle("/home/user/gcd2.fgd");
  fx.Repaint();
  EXPECT_EQ(v->text(QAccessible::Name), "/home/user/gcd2.fgd");
  EXPECT_TRUE(HasEvent("/home/user/gcd2.fgd", QAccessible::NameChanged));
}

TEST(Accessibility, UserBlocksAreNamedByTheirListEntry) {
  AccessibleDocument fx;
  fx.form.AppState.UserBlocks.Add(MakeUserBlock("Input", 7, 8));
  fx.doc->Diagram.UserBlocks = &fx.form.AppState.UserBlocks;
  TShemObj* ub = AddSquare(*fx.doc, {10, 150, 90, 170}, "read(n)");
  ub->AsBlock()->Data.Kind = bkUserFirst + fx.form.AppState.UserBlocks.Count() - 1;
  EXPECT_TRUE(fx.ChildNames().contains("Input: read(n)"));
  ub->AsBlock()->Data.Kind = bkUserFirst + 40;  // no such entry
  EXPECT_TRUE(fx.ChildNames().contains("User block: read(n)"));
}

TEST(Accessibility, TheMainWindowsControlsHaveNames) {
  DesktopFixture fx;
  TMainForm f(fx.Options());
  f.show();
  auto name = [](QObject* o) {
    QAccessibleInterface* i = QAccessible::queryAccessibleInterface(o);
    return i ? i->text(QAccessible::Name) : QString();
  };
  EXPECT_EQ(name(f.ListingPanel), "Listing");
  EXPECT_EQ(name(f.StatusBar), "Status bar");
  EXPECT_FALSE(name(f.FontBox).isEmpty());
  TChildD* doc = f.CreateDocument("NewDocument1");
  EXPECT_EQ(name(doc->ScrollBar1), "Horizontal scroll bar");
  EXPECT_EQ(name(doc->ScrollBar2), "Vertical scroll bar");
  EXPECT_EQ(name(doc->Memo1), "Block text");
}

TEST(Accessibility, LinksAreRenamedWithTheirEndsAndAScrollIsOneEventForTheView) {
  AccessibleDocument fx;
  fx.start->AsBlock()->Data.Text = "a := 13";
  fx.Repaint();
  EXPECT_TRUE(HasEvent("Rectangle: a := 13", QAccessible::NameChanged));
  EXPECT_TRUE(HasEvent("link from Rectangle: a := 13 to Rhomb: a <> b", QAccessible::NameChanged));
  // The other link does not touch the block.
  EXPECT_FALSE(HasEvent("link from Link point to nothing", QAccessible::NameChanged));

  // Scrolling moves every child with the view: the view alone says so.
  g_events.clear();
  fx.doc->ScrollBar2->setValue(fx.doc->ScrollBar2->value() + 5);
  fx.Repaint();
  ASSERT_EQ(g_events.size(), 1u);
  EXPECT_EQ(g_events[0],
            std::make_pair(QString("/home/user/gcd.fgd"), QAccessible::LocationChanged));
  g_events.clear();
  fx.Repaint();
  EXPECT_TRUE(g_events.empty());
}

// The events after any mix of edits are exactly those a full comparison of
// every child's name, place and selection before and after finds.
TEST(Accessibility, EventsMatchAFullComparisonOverRandomEdits) {
  AccessibleDocument fx;
  TShem& d = fx.doc->Diagram;
  struct TSeen {
    QString Name;
    TPoint A, B;
    bool Selected;
  };
  auto snapshot = [&] {
    std::map<const TShemObj*, TSeen> s;
    for (int i = 0; i < d.Count(); ++i) {
      const TShemObj* o = d.GetObj(i);
      if (o->IsPointBlock()) continue;
      TSeen v{AccessibleNameOf(*fx.doc, o), {}, {}, fx.doc->IsSelected(o)};
      if (o->IsBlock()) {
        v.A = o->AsBlock()->Data.TopLeft;
        v.B = o->AsBlock()->Data.BottomRight;
      } else {
        v.A = d.SourcePoint(o);
        v.B = d.TargetPoint(o);
      }
      s.emplace(o, v);
    }
    return s;
  };
  using TEvent = std::pair<QString, QAccessible::Event>;
  auto expected = [](const std::map<const TShemObj*, TSeen>& was,
                     const std::map<const TShemObj*, TSeen>& now) {
    std::vector<TEvent> e;
    for (const auto& [o, v] : now) {
      const auto it = was.find(o);
      if (it == was.end()) {
        e.emplace_back(v.Name, QAccessible::ObjectCreated);
        if (v.Selected) e.emplace_back(v.Name, QAccessible::SelectionAdd);
        continue;
      }
      if (it->second.Name != v.Name) e.emplace_back(v.Name, QAccessible::NameChanged);
      if (it->second.A != v.A || it->second.B != v.B)
        e.emplace_back(v.Name, QAccessible::LocationChanged);
      if (it->second.Selected != v.Selected) {
        e.emplace_back(v.Name, QAccessible::StateChanged);
        e.emplace_back(v.Name,
                       v.Selected ? QAccessible::SelectionAdd : QAccessible::SelectionRemove);
      }
    }
    for (const auto& [o, v] : was)
      if (!now.count(o)) e.emplace_back(v.Name, QAccessible::ObjectDestroyed);
    std::sort(e.begin(), e.end());
    return e;
  };

  std::mt19937 rng(7);
  auto pick = [&](bool blocks) -> TShemObj* {
    std::vector<TShemObj*> c;
    for (int i = 0; i < d.Count(); ++i)
      if (d.GetObj(i)->IsBlock() == blocks && !d.GetObj(i)->IsPointBlock())
        c.push_back(d.GetObj(i));
    return c.empty() ? nullptr : c[rng() % c.size()];
  };
  int named = 0;
  for (int step = 0; step < 300; ++step) {
    const auto was = snapshot();
    g_events.clear();
    for (int edit = int(rng() % 3) + 1; edit > 0; --edit) {
      TShemObj* b = pick(true);
      switch (rng() % 7) {
        case 0:
          if (b) b->AsBlock()->Data.Text = "t" + std::to_string(++named);
          break;
        case 1:
          if (b) {
            const int x = int(rng() % 400), y = int(rng() % 400);
            b->AsBlock()->Data.SetRect({x, y, x + 60, y + 20});
          }
          break;
        case 2:
          if (b) b->AsBlock()->Data.Kind = uint8_t(rng() % 2 ? bkSquare : bkEllipse);
          break;
        case 3:
          if (b) d.Remove(b);
          break;
        case 4: {
          const int x = int(rng() % 400), y = int(rng() % 400);
          AddSquare(*fx.doc, {x, y, x + 60, y + 20}, "n" + std::to_string(++named));
          break;
        }
        case 5:
          if (TShemObj* t = pick(true); b && t != b)
            d.AddLink(
                std::make_unique<TLink>(ltArrowTarget, TPoint{32767, PosMax}, TPoint{32767, 0}), b,
                t);
          break;
        case 6:
          if (TShemObj* o = rng() % 2 ? b : pick(false)) {
            if (fx.doc->IsSelected(o))
              fx.doc->Selection.Remove(o);
            else
              fx.doc->Selection.Add(o);
          }
          break;
      }
    }
    fx.Repaint();
    std::vector<TEvent> got = g_events;
    std::sort(got.begin(), got.end());
    ASSERT_EQ(got, expected(was, snapshot())) << "step " << step;
  }
  // Every child still reads as the diagram says.
  const auto now = snapshot();
  QAccessibleInterface* v = fx.View();
  int objects = 0;
  for (int i = 0; i < v->childCount(); ++i) {
    QAccessibleInterface* c = v->child(i);
    if (c->object()) continue;
    ++objects;
    EXPECT_TRUE(std::any_of(now.begin(), now.end(), [&](const auto& kv) {
      return kv.second.Name == c->text(QAccessible::Name);
    }));
  }
  EXPECT_EQ(objects, int(now.size()));
}
