#pragma once
// A document window on the offscreen platform with a host of its own, and
// mouse events sent to it as the toolkit would (press and release through
// QTest, moves with the modifier keys held).

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QTextEdit>

#include "editor/childd.h"
#include "editor/documenthost.h"
#include "guitestenv.h"
#include "model/listview.h"
#include "model/testdiagrams.h"

// The listing panel as the diagram sees it: the objects of its rows.
class TRecordingListView : public ListView {
 public:
  std::vector<TShemObj*> Rows;
  bool Shown = true;
  void BeginUpdate() override {}
  void EndUpdate() override {}
  void Clear() override { Rows.clear(); }
  void Append(const std::string&, int, const std::string&, const std::string&,
              TShemObj* obj) override {
    Rows.push_back(obj);
  }
  bool Visible() const override { return Shown; }
};

// The shared test host with a listing panel that shows this document, and a
// count of the tool changes the document asked for.
class TEditingHost : public TTestHost {
 public:
  TRecordingListView Listing;
  int ToolChanges = 0;
  ListView* ListingView() override { return &Listing; }
  bool ListingShows(const TShem*) const override { return true; }
  void ToolChanged() override { ++ToolChanges; }
};

struct TDocument {
  TEditingHost host;
  TChildD doc{&host};
  TShem& d = doc.Diagram;

  explicit TDocument(int scale = 1) {
    doc.resize(420, 300);
    doc.show();
    SetScale(scale);
  }
  void SetScale(int scale) {
    doc.Scale = uint8_t(scale);
    doc.UpdateScrollRanges();
    doc.Redraw();
  }
  void Tool(TTool t, int kind = 0) {
    host.state.CurrentTool = t;
    host.state.NewBlockKind = uint8_t(kind);
  }
  void Press(int x, int y, Qt::KeyboardModifiers m = Qt::NoModifier,
             Qt::MouseButton b = Qt::LeftButton) {
    QTest::mousePress(&doc, b, m, QPoint(x, y));
  }
  void Release(int x, int y, Qt::KeyboardModifiers m = Qt::NoModifier,
               Qt::MouseButton b = Qt::LeftButton) {
    QTest::mouseRelease(&doc, b, m, QPoint(x, y));
  }
  void Move(int x, int y, Qt::KeyboardModifiers m = Qt::NoModifier) {
    const QPointF p(x, y);
    QMouseEvent e(QEvent::MouseMove, p, doc.mapToGlobal(p), Qt::NoButton, Qt::LeftButton, m);
    QApplication::sendEvent(&doc, &e);
  }
  // Press, two moves and the release.
  void Drag(TPoint from, TPoint to, Qt::KeyboardModifiers m = Qt::NoModifier) {
    Press(from.X, from.Y, m);
    Move((from.X + to.X) / 2, (from.Y + to.Y) / 2, m);
    Move(to.X, to.Y, m);
    Release(to.X, to.Y, m);
  }
  // The drawing area (without the scroll bars) as the window shows it, the
  // drag feedback included, and as rendered.
  QRect Area() const { return QRect(0, 0, doc.ViewBottomRight.X, doc.ViewBottomRight.Y); }
  QImage Screen() { return doc.grab(Area()).toImage().convertToFormat(doc.View().format()); }
  QImage ViewArea() const { return doc.View().copy(Area()); }
  TRect RectOf(const TShemObj* o) const { return o->AsBlock()->Data.Rect(); }
  std::vector<TShemObj*> Selected() const { return doc.Selection.Items(); }
};
