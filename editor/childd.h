#pragma once
// TChildD: the document window. It lives in the main window's multiple-document
// area, owns one diagram for its whole life, maps diagram units to pixels
// (scroll position and scale) and paints the diagram through TDiagramPainter.
//
// The rendered view is kept in an image; drag feedback of the editing tools is
// drawn over that image by the overlay, so a drag never re-renders the diagram.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "editor/diagrampainter.h"
#include "editor/editorstate.h"
#include "editor/selection.h"
#include "editor/tools/editortool.h"
#include "editor/undosnapshot.h"
#include "model/geometry.h"
#include "model/shem.h"

class QScrollBar;
class QTextEdit;
class TDocumentHost;

class TChildD : public QWidget {
  Q_OBJECT

  // Declared before Diagram, which reports to them up to its destruction.
  class TListingMirror;
  class TEditedBlockWatch;
  std::unique_ptr<TListingMirror> listing_;

 public:
  explicit TChildD(TDocumentHost* host, QWidget* parent = nullptr);
  ~TChildD() override;

  // --- controls
  QScrollBar* ScrollBar1;  // horizontal, along the bottom
  QScrollBar* ScrollBar2;  // vertical, along the right side
  QTextEdit* Memo1;        // in-place text editor, hidden when not in use

  // --- state
  TShem Diagram;
  TSelection Selection{Diagram};  // in the order selected; not owned
  TPoint Origin;                  // diagram point at the view's top-left
  uint8_t Scale = 2;              // 1, 2, 4 or 8 pixels per unit
  TPoint ViewTopLeft;
  TPoint ViewBottomRight;
  bool ShowGrid = false;
  bool DocumentDragging = false;
  TShemObj* EditedBlock = nullptr;  // let go when the block is deleted
  bool Modified = false;
  TUndoSnapshot Undo;
  QString FileName;
  TMouseState MouseState = TMouseState::Idle;

  // --- operations
  TPoint ScreenToDiagram(TPoint p) const;
  TPoint DiagramToScreen(TPoint p) const;
  void UpdateScrollRanges();
  // Repaints the whole view (the diagram, grid and selection).
  void Redraw();
  void DrawBlock(const TShemObj* block, bool selected);
  void DrawLink(const TShemObj* link, bool selected);
  void UpdateHint(TPoint p);
  // Sets the scale (1, 2, 4 or 8) so that the diagram point under pixel `at`
  // stays under it, as far as the scroll ranges allow; ends text editing.
  void ZoomAt(uint8_t scale, TPoint at);

  // The window colour: background, filled interiors and the editor's colour.
  QColor Color() const { return color_; }
  void SetColor(QColor c);
  // The drawing font's face (the size follows the scale).
  void SetFontFace(const QString& face);
  const QFont& CanvasFont() const { return font_; }
  QString Caption() const { return windowTitle(); }
  bool IsSelected(const TShemObj* o) const { return Selection.Contains(o); }
  bool CanUndo() const { return Undo.CanUndo(); }
  bool CanRedo() const { return Undo.CanRedo(); }
  TDocumentHost* Host() const { return host_; }
  // The state shared with the main window (tool, colours, clipboard...).
  TEditorState& State() const;

  // The tool objects, one per tool; the one of State().CurrentTool gets the
  // mouse. SetTool replaces the object of its Kind().
  TEditorTool& Tool(TTool t) const { return *tools_[size_t(t)]; }
  void SetTool(std::unique_ptr<TEditorTool> tool);

  // The rendered view (what the window shows, without the overlay).
  const QImage& View() const { return view_; }
  // Feedback drawn over the rendered view, e.g. an inverting rubber band; the
  // editing tools set it during a drag. Null draws nothing.
  void SetOverlay(std::function<void(QPainter&)> overlay);

  // --- event handlers
  void FormResize();
  void FormShow();
  // True when the window may close (asks about unsaved changes).
  bool FormCloseQuery();
  void ScrollBar1Scroll(int pos);
  void ScrollBar2Scroll(int pos);
  // Mouse and key entry points; the editing tools take over from here.
  void FormMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
  void FormMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int x, int y);
  void FormMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
  // True when the key was used.
  bool FormKeyDown(int key, Qt::KeyboardModifiers shift);

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void showEvent(QShowEvent*) override;
  void closeEvent(QCloseEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;
  void keyPressEvent(QKeyEvent*) override;
  void changeEvent(QEvent*) override;
  // The wheel scrolls up and down, with Shift (or tilted) sideways, and with
  // Ctrl steps the scale about the mouse. Over the scroll bars the bars
  // handle it themselves.
  void wheelEvent(QWheelEvent*) override;

 private:
  TViewTransform Transform() const;
  void Render();
  TMouseInput Input(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) const;

  TDocumentHost* host_;
  QColor color_;
  QFont font_;
  QImage view_;
  std::function<void(QPainter&)> overlay_;
  std::unique_ptr<TEditedBlockWatch> editedWatch_;
  std::array<std::unique_ptr<TEditorTool>, ToolCount> tools_;
  TEditorTool* dragTool_ = nullptr;  // the tool whose drag is in progress
  // Wheel turns not yet used up (in the wheel's eighths of a degree, times
  // the scroll distance for the two scroll sums).
  int wheelX_ = 0, wheelY_ = 0, wheelZoom_ = 0;
};
