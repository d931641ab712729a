#pragma once
// The document view for assistive technology. The view's accessible object
// (a canvas named with the document's title) has one accessible child per
// block (link points excepted) and per link, in diagram order, followed by the
// view's own controls (the scroll bars, the in-place editor):
//   a block is named by its kind and its text ("Rhomb: i < n"),
//   a link "link from <source> to <target>",
// each with its rectangle on the screen and the states selectable and, when
// it is in the selection, selected. The view reports changes by Update(): new
// and removed objects, new names, moves and selection changes become
// accessibility events; a new scale or scroll is one event for the view. An
// update compares kinds, texts, ends and places only, and makes names anew
// just for what changed, so it stays cheap on large diagrams.

#include <QAccessibleWidget>
#include <QPointer>
#include <QRect>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/geometry.h"

class TChildD;
class TShemObj;

class TDiagramAccessible : public QAccessibleWidget {
 public:
  explicit TDiagramAccessible(TChildD* view);
  ~TDiagramAccessible() override;

  QString text(QAccessible::Text t) const override;
  int childCount() const override;
  QAccessibleInterface* child(int index) const override;
  int indexOfChild(const QAccessibleInterface* child) const override;
  QAccessibleInterface* childAt(int x, int y) const override;

  // The objects shown as children, in diagram order. Kept between repaints
  // (a screen reader reads them one by one) and made anew when the diagram's
  // size changed or the view reported a change.
  const std::vector<TShemObj*>& Objects() const;
  // The child of one object (made on first use); null for none of the view's.
  QAccessibleInterface* ChildOf(const TShemObj* obj) const;
  // Compares the diagram with what was last reported and sends the events.
  void Update();

  // The interface of a view, when assistive technology has asked for it.
  static TDiagramAccessible* Of(const TChildD* view);
  // Makes the views' interfaces known to Qt's accessibility (once).
  static void Install();

 private:
  // What was last reported of an object. Names are made anew only when what
  // they are made of changed: a block's kind and text, a link's ends (and
  // their names). Positions are kept in diagram units, so that a change of
  // scale or scroll is one comparison, not one per object.
  struct TReported {
    QString Name;
    int Kind = 0;
    std::string Text;
    const TShemObj* Source = nullptr;
    const TShemObj* Target = nullptr;
    TPoint A, B;
    bool Selected = false;
    unsigned Seen = 0;  // the Update that last found the object in the diagram
  };
  // Where the diagram lies on the screen: its origin and the scale.
  struct TPlacement {
    QPoint Origin;
    int Scale = 0;
    bool operator==(const TPlacement&) const = default;
  };
  TChildD* View() const;
  TReported Observe(const TShemObj* obj) const;
  TPlacement Placement() const;
  // The object's interface, made (and registered) when it has none yet.
  QAccessibleInterface* Announce(const TShemObj* obj, const QString& name) const;
  void Send(const TShemObj* obj, const QString& name, QAccessible::Event what) const;

  mutable std::unordered_map<const TShemObj*, QAccessible::Id> ids_;
  mutable std::vector<TShemObj*> objects_;
  mutable int objectsOf_ = -1;  // the diagram's Count() when objects_ was made
  std::unordered_map<const TShemObj*, TReported> reported_;
  QString reportedTitle_;
  TPlacement reportedPlacement_;
  unsigned updates_ = 0;
};

// The name an object has for assistive technology.
QString AccessibleNameOf(const TChildD& view, const TShemObj* obj);
// The view's hook: the diagram or the view changed (no cost while no
// assistive technology looks at the view).
void NotifyAccessibleChange(const TChildD* view);
// Where the views' accessibility events go: Qt's accessibility when null
// (the default), else the given function (tests listen there, as Qt drops
// events while no assistive technology is active).
using TAccessibleEventSink = void (*)(QAccessibleEvent* event);
void SetAccessibleEventSink(TAccessibleEventSink sink);
