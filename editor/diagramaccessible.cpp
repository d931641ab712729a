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
  for (TShemObj* o : Objects()) {
    TReported r = Observe(o);
    r.Name = AccessibleNameOf(*view, o);
    reported_.emplace(o, std::move(r));
  }
  reportedTitle_ = view->windowTitle();
  reportedPlacement_ = Placement();
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

TDiagramAccessible::TReported TDiagramAccessible::Observe(const TShemObj* obj) const {
  const TChildD& view = *View();
  TReported r;
  if (obj->IsBlock()) {
    const Block& b = obj->AsBlock()->Data;
    r.Kind = b.Kind;
    r.Text = b.Text;
    r.A = b.TopLeft;
    r.B = b.BottomRight;
  } else {
    const Link& l = obj->AsLink()->Data;
    r.Source = l.Source;
    r.Target = l.Target;
    r.A = view.Diagram.SourcePoint(obj);
    r.B = view.Diagram.TargetPoint(obj);
  }
  r.Selected = view.IsSelected(obj);
  return r;
}

TDiagramAccessible::TPlacement TDiagramAccessible::Placement() const {
  const TChildD& view = *View();
  const TPoint o = view.DiagramToScreen({0, 0});
  return {view.mapToGlobal(QPoint(o.X, o.Y)), view.Scale};
}

QAccessibleInterface* TDiagramAccessible::Announce(const TShemObj* obj, const QString& name) const {
  QAccessibleInterface* iface = nullptr;
  const auto it = ids_.find(obj);
  if (it != ids_.end()) iface = QAccessible::accessibleInterface(it->second);
  if (!iface) {
    // Also for an object already gone: its news is told under its last name.
    auto* made = new TObjectAccessible(View(), obj);
    ids_[obj] = QAccessible::registerAccessibleInterface(made);
    iface = made;
  }
  static_cast<TObjectAccessible*>(iface)->SetReportedName(name);
  return iface;
}

void TDiagramAccessible::Send(const TShemObj* obj, const QString& name,
                              QAccessible::Event what) const {
  QAccessibleEvent e(Announce(obj, name), what);
  ::Send(&e);
}

void TDiagramAccessible::Update() {
  TChildD* view = View();
  objectsOf_ = -1;  // the diagram may have changed in any way
  const unsigned now = ++updates_;
  if (view->windowTitle() != reportedTitle_) {
    reportedTitle_ = view->windowTitle();
    QAccessibleEvent e(this, QAccessible::NameChanged);
    ::Send(&e);
  }
  // A new scale or scroll moves every child with the view: one event for the
  // view tells assistive technology to read the children's places anew.
  const TPlacement placement = Placement();
  if (placement != reportedPlacement_) {
    reportedPlacement_ = placement;
    QAccessibleEvent e(this, QAccessible::LocationChanged);
    ::Send(&e);
  }
  const std::vector<TShemObj*> objs = Objects();  // a copy: events may lead to queries
  // Blocks before links: a link is named after its ends, so a block's new
  // name is a new name for the links at it.
  std::unordered_set<const TShemObj*> renamed;
  for (int pass = 0; pass < 2; ++pass) {
    for (TShemObj* o : objs) {
      if (o->IsBlock() != (pass == 0)) continue;
      TReported cur = Observe(o);
      cur.Seen = now;
      const auto it = reported_.find(o);
      if (it == reported_.end()) {
        cur.Name = AccessibleNameOf(*view, o);
        if (o->IsBlock()) renamed.insert(o);
        const bool selected = cur.Selected;
        const QString name = cur.Name;
        reported_.emplace(o, std::move(cur));
        Send(o, name, QAccessible::ObjectCreated);
        if (selected) Send(o, name, QAccessible::SelectionAdd);
        continue;
      }
      TReported& was = it->second;
      const bool named = o->IsBlock()
                             ? cur.Kind == was.Kind && cur.Text == was.Text
                             : cur.Source == was.Source && cur.Target == was.Target &&
                                   !renamed.count(cur.Source) && !renamed.count(cur.Target);
      cur.Name = named ? std::move(was.Name) : AccessibleNameOf(*view, o);
      // A name made anew may still read the same (spaces are folded).
      if (!named && cur.Name != was.Name) {
        if (o->IsBlock()) renamed.insert(o);
        Send(o, cur.Name, QAccessible::NameChanged);
      }
      if (cur.A != was.A || cur.B != was.B) Send(o, cur.Name, QAccessible::LocationChanged);
      if (cur.Selected != was.Selected) {
        QAccessible::State changed;
        changed.selected = true;
        QAccessibleStateChangeEvent st(Announce(o, cur.Name), changed);
        ::Send(&st);
        Send(o, cur.Name, cur.Selected ? QAccessible::SelectionAdd : QAccessible::SelectionRemove);
      }
      was = std::move(cur);
    }
  }
  // Gone: their interfaces are told, under their last names, then dropped.
  for (auto it = reported_.begin(); it != reported_.end();) {
    if (it->second.Seen == now) {
      ++it;
      continue;
    }
    Send(it->first, it->second.Name, QAccessible::ObjectDestroyed);
    const auto id = ids_.find(it->first);
    QAccessible::deleteAccessibleInterface(id->second);
    ids_.erase(id);
    it = reported_.erase(it);
  }
  // Children asked for and gone before they were ever reported.
  for (auto it = ids_.begin(); it != ids_.end();) {
    if (reported_.count(it->first)) {
      ++it;
      continue;
    }
    QAccessible::deleteAccessibleInterface(it->second);
    it = ids_.erase(it);
  }
}

void SetAccessibleEventSink(TAccessibleEventSink sink) { g_sink = sink; }

void NotifyAccessibleChange(const TChildD* view) {
  if (TDiagramAccessible* a = TDiagramAccessible::Of(view)) a->Update();
}
