#include "editor/diagramaccessible.h"

#include <QAccessible>
#include <QScrollBar>
#include <algorithm>
#include <cstdlib>
#include <unordered_set>

#include "editor/childd.h"
#include "editor/diagramtext.h"
#include "model/userblocklist.h"

namespace {
// Kind names as a person reads them, in kind order 0..9.
const char* const kKindNames[BuiltInKindCount] = {
    "Rectangle", "Ellipse", "Rhomb",    "Parallelogram", "Link point",
    "Text",      "Comment", "Document", "Process",       "Page"};

TAccessibleEventSink g_sink = nullptr;

// Qt's accessibility passes events on only while assistive technology is
// active; a sink set in its place hears every one.
void Send(QAccessibleEvent* e) {
  if (g_sink)
    g_sink(e);
  else
    QAccessible::updateAccessibility(e);
}

std::unordered_map<const TChildD*, TDiagramAccessible*>& Registry() {
  static std::unordered_map<const TChildD*, TDiagramAccessible*> r;
  return r;
}

QString KindName(const TChildD& view, int kind) {
  if (kind < BuiltInKindCount) return QString::fromLatin1(kKindNames[kind]);
  const TUserBlockList* list = view.Diagram.UserBlocks;
  const TUserBlock* ub = list ? list->GetBlock(kind - bkUserFirst) : nullptr;
  if (ub && !ub->Name.empty()) return DiagramToQString(ub->Name);
  return QStringLiteral("User block");
}

// A block's name, or what a link end is attached to.
QString EndName(const TChildD& view, const TShemObj* end) {
  if (!end) return QStringLiteral("nothing");
  if (end->IsLink()) return QStringLiteral("a link");
  return AccessibleNameOf(view, end);
}

QRect ScreenRect(const TChildD& view, const TShemObj* obj) {
  TPoint a, b;
  if (obj->IsBlock()) {
    a = obj->AsBlock()->Data.TopLeft;
    b = obj->AsBlock()->Data.BottomRight;
  } else {
    a = view.Diagram.SourcePoint(obj);
    b = view.Diagram.TargetPoint(obj);
  }
  // From the top-left corner to the bottom-right one, at least a pixel
  // across (a straight link is as thin as its line).
  const TPoint sa = view.DiagramToScreen(a), sb = view.DiagramToScreen(b);
  const QPoint topLeft(std::min(sa.X, sb.X), std::min(sa.Y, sb.Y));
  const QSize size(std::max(1, std::abs(sb.X - sa.X)), std::max(1, std::abs(sb.Y - sa.Y)));
  return QRect(view.mapToGlobal(topLeft), size);
}

// One block or link of a view.
class TObjectAccessible : public QAccessibleInterface {
 public:
  TObjectAccessible(TChildD* view, const TShemObj* obj) : view_(view), obj_(obj) {}

  bool isValid() const override { return view_ && view_->Diagram.Contains(obj_); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return view_ ? view_->window()->windowHandle() : nullptr; }
  QAccessibleInterface* parent() const override {
    return view_ ? QAccessible::queryAccessibleInterface(view_.data()) : nullptr;
  }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QString text(QAccessible::Text t) const override {
    // Gone from the diagram: the name last reported, for the news of its going.
    if (!isValid()) return t == QAccessible::Name ? reportedName_ : QString();
    if (t == QAccessible::Name) return AccessibleNameOf(*view_, obj_);
    if (t == QAccessible::Description && obj_->IsBlock()) {
      const Block& b = obj_->AsBlock()->Data;
      return QStringLiteral("at (%1, %2), size (%3, %4)")
          .arg(b.TopLeft.X)
          .arg(b.TopLeft.Y)
          .arg(b.BottomRight.X - b.TopLeft.X)
          .arg(b.BottomRight.Y - b.TopLeft.Y);
    }
    return QString();
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override { return isValid() ? ScreenRect(*view_, obj_) : QRect(); }
  QAccessible::Role role() const override { return QAccessible::Graphic; }
  QAccessible::State state() const override {
    QAccessible::State s;
    if (!isValid()) {
      s.invalid = true;
      return s;
    }
    s.selectable = true;
    s.multiSelectable = true;
    s.selected = view_->IsSelected(obj_);
    const QRect visible(view_->mapToGlobal(QPoint(0, 0)), view_->size());
    if (!visible.intersects(rect())) s.offscreen = true;
    return s;
  }
  void SetReportedName(const QString& name) { reportedName_ = name; }

 private:
  QPointer<TChildD> view_;
  const TShemObj* obj_;
  QString reportedName_;
};
}  // namespace

QString AccessibleNameOf(const TChildD& view, const TShemObj* obj) {
  if (!obj) return QString();
  if (obj->IsLink()) {
    const Link& l = obj->AsLink()->Data;
    return QStringLiteral("link from ") + EndName(view, l.Source) + QStringLiteral(" to ") +
           EndName(view, l.Target);
  }
  const Block& b = obj->AsBlock()->Data;
  const QString kind = KindName(view, b.Kind);
  QString text = DiagramToQString(b.Text).simplified();
  return text.isEmpty() ? kind : kind + QStringLiteral(": ") + text;
}

TDiagramAccessible::TDiagramAccessible(TChildD* view)
    : QAccessibleWidget(view, QAccessible::Canvas) {
  Registry()[view] = this;
  // What exists now is known; only later changes are reported.
  for (TShemObj* o : Objects())
    reported_[o] = {AccessibleNameOf(*view, o), ScreenRect(*view, o), view->IsSelected(o)};
  reportedTitle_ = view->windowTitle();
}

TDiagramAccessible::~TDiagramAccessible() {
  auto& r = Registry();
  for (auto it = r.begin(); it != r.end(); ++it) {
    if (it->second == this) {
      r.erase(it);
      break;
    }
  }
  for (auto& [obj, id] : ids_)
    if (QAccessible::accessibleInterface(id)) QAccessible::deleteAccessibleInterface(id);
}

TChildD* TDiagramAccessible::View() const { return static_cast<TChildD*>(widget()); }

TDiagramAccessible* TDiagramAccessible::Of(const TChildD* view) {
  const auto it = Registry().find(view);
  return it == Registry().end() ? nullptr : it->second;
}

void TDiagramAccessible::Install() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QAccessible::installFactory([](const QString& className, QObject* o) -> QAccessibleInterface* {
    if (className != QLatin1String("TChildD")) return nullptr;
    auto* view = qobject_cast<TChildD*>(o);
    return view ? new TDiagramAccessible(view) : nullptr;
  });
}

const std::vector<TShemObj*>& TDiagramAccessible::Objects() const {
  const TShem& d = View()->Diagram;
  if (objectsOf_ == d.Count()) return objects_;
  objects_.clear();
  objects_.reserve(size_t(d.Count()));
  for (int i = 0; i < d.Count(); ++i) {
    TShemObj* o = d.GetObj(i);
    if (!o->IsPointBlock()) objects_.push_back(o);
  }
  objectsOf_ = d.Count();
  return objects_;
}

QString TDiagramAccessible::text(QAccessible::Text t) const {
  if (t == QAccessible::Name) return View()->windowTitle();
  return QAccessibleWidget::text(t);
}

int TDiagramAccessible::childCount() const {
  return int(Objects().size()) + QAccessibleWidget::childCount();
}

QAccessibleInterface* TDiagramAccessible::ChildOf(const TShemObj* obj) const {
  // Contains first: a list kept since the last repaint may name objects
  // that are gone.
  if (!obj || !View()->Diagram.Contains(obj) || obj->IsPointBlock()) return nullptr;
  const auto it = ids_.find(obj);
  if (it != ids_.end()) {
    if (QAccessibleInterface* i = QAccessible::accessibleInterface(it->second)) return i;
  }
  auto* iface = new TObjectAccessible(View(), obj);
  iface->SetReportedName(AccessibleNameOf(*View(), obj));
  ids_[obj] = QAccessible::registerAccessibleInterface(iface);
  return iface;
}

QAccessibleInterface* TDiagramAccessible::child(int index) const {
  if (index < 0) return nullptr;
  const std::vector<TShemObj*>& objs = Objects();
  if (size_t(index) < objs.size()) return ChildOf(objs[size_t(index)]);
  return QAccessibleWidget::child(index - int(objs.size()));
}

int TDiagramAccessible::indexOfChild(const QAccessibleInterface* c) const {
  if (!c) return -1;
  const std::vector<TShemObj*>& objs = Objects();
  if (c->object()) {
    const int i = QAccessibleWidget::indexOfChild(c);
    return i < 0 ? -1 : i + int(objs.size());
  }
  for (size_t i = 0; i < objs.size(); ++i) {
    const auto it = ids_.find(objs[i]);
    if (it != ids_.end() && QAccessible::accessibleInterface(it->second) == c) return int(i);
  }
  return -1;
}

QAccessibleInterface* TDiagramAccessible::childAt(int x, int y) const {
  // The controls lie over the diagram; among objects the one drawn last wins.
  if (QAccessibleInterface* w = QAccessibleWidget::childAt(x, y)) return w;
  const std::vector<TShemObj*>& objs = Objects();
  const TShem& d = View()->Diagram;
  for (auto it = objs.rbegin(); it != objs.rend(); ++it)
    if (d.Contains(*it) && ScreenRect(*View(), *it).contains(x, y)) return ChildOf(*it);
  return nullptr;
}

void TDiagramAccessible::Update() {
  TChildD* view = View();
  objectsOf_ = -1;  // the diagram may have changed in any way
  if (view->windowTitle() != reportedTitle_) {
    reportedTitle_ = view->windowTitle();
    QAccessibleEvent e(this, QAccessible::NameChanged);
    Send(&e);
  }
  const std::vector<TShemObj*> objs = Objects();  // a copy: events may lead to queries
  const std::unordered_set<const TShemObj*> now(objs.begin(), objs.end());
  // Gone first: their interfaces are told, then dropped.
  for (auto it = reported_.begin(); it != reported_.end();) {
    if (now.count(it->first)) {
      ++it;
      continue;
    }
    const auto id = ids_.find(it->first);
    if (id != ids_.end()) {
      if (QAccessibleInterface* i = QAccessible::accessibleInterface(id->second)) {
        QAccessibleEvent e(i, QAccessible::ObjectDestroyed);
        Send(&e);
      }
      QAccessible::deleteAccessibleInterface(id->second);
      ids_.erase(id);
    }
    it = reported_.erase(it);
  }
  // Children asked for and gone before they were ever reported.
  for (auto it = ids_.begin(); it != ids_.end();) {
    if (now.count(it->first)) {
      ++it;
      continue;
    }
    QAccessible::deleteAccessibleInterface(it->second);
    it = ids_.erase(it);
  }
  for (TShemObj* o : objs) {
    const TReported cur{AccessibleNameOf(*view, o), ScreenRect(*view, o), view->IsSelected(o)};
    const auto it = reported_.find(o);
    QAccessibleInterface* iface = ChildOf(o);
    static_cast<TObjectAccessible*>(iface)->SetReportedName(cur.Name);
    if (it == reported_.end()) {
      reported_[o] = cur;
      QAccessibleEvent e(iface, QAccessible::ObjectCreated);
      Send(&e);
      if (cur.Selected) {
        QAccessibleEvent s(iface, QAccessible::SelectionAdd);
        Send(&s);
      }
      continue;
    }
    TReported& was = it->second;
    if (cur.Name != was.Name) {
      QAccessibleEvent e(iface, QAccessible::NameChanged);
      Send(&e);
    }
    if (cur.Rect != was.Rect) {
      QAccessibleEvent e(iface, QAccessible::LocationChanged);
      Send(&e);
    }
    if (cur.Selected != was.Selected) {
      QAccessible::State changed;
      changed.selected = true;
      QAccessibleStateChangeEvent st(iface, changed);
      Send(&st);
      QAccessibleEvent s(iface,
                         cur.Selected ? QAccessible::SelectionAdd : QAccessible::SelectionRemove);
      Send(&s);
    }
    was = cur;
  }
}

void SetAccessibleEventSink(TAccessibleEventSink sink) { g_sink = sink; }

void NotifyAccessibleChange(const TChildD* view) {
  if (TDiagramAccessible* a = TDiagramAccessible::Of(view)) a->Update();
}
