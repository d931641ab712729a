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
// accessibility events.

#include <QAccessibleWidget>
#include <QPointer>
#include <QRect>
#include <unordered_map>
#include <vector>

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
  struct TReported {
    QString Name;
    QRect Rect;
    bool Selected = false;
  };
  TChildD* View() const;

  mutable std::unordered_map<const TShemObj*, QAccessible::Id> ids_;
  mutable std::vector<TShemObj*> objects_;
  mutable int objectsOf_ = -1;  // the diagram's Count() when objects_ was made
  std::unordered_map<const TShemObj*, TReported> reported_;
  QString reportedTitle_;
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
