#pragma once
// What a document window needs from the window that holds it (the main
// window): the shared editor state (tool, colours, user blocks, clipboard),
// the listing panel, the drawing font face, the status bar and the Save command.
// The main window implements it; tests give a document window a small host of
// their own.

#include <QPoint>
#include <QString>

class ListView;
class TChildD;
class TShem;
struct TEditorState;

class TDocumentHost {
 public:
  virtual ~TDocumentHost() = default;
  virtual TEditorState& State() = 0;
  // The listing panel that diagrams mirror their blocks into (may be null),
  // and whether it is showing the given diagram just now: only that one may
  // change its rows.
  virtual ListView* ListingView() = 0;
  virtual bool ListingShows(const TShem* diagram) const = 0;
  // The face chosen in the font box; empty for the default face.
  virtual QString FontFace() const = 0;
  // Runs the Save command on doc; true when the diagram was written.
  virtual bool SaveDocument(TChildD* doc) = 0;
  // Status bar: panel 0 or 1 shows text and the bar leaves simple mode.
  virtual void SetStatusPanel(int index, const QString& text) = 0;
  // The document chose another tool in State() (e.g. back to select after a
  // new block): the tool buttons follow.
  virtual void ToolChanged() {}
  // The document asks for its context menu at a global screen point.
  virtual void ContextMenu(TChildD* /*doc*/, QPoint /*global*/) {}
};
