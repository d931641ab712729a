#pragma once
// TChildD: the document window. It lives in the main window's multiple-document
// area, owns one diagram for its whole life, maps diagram units to pixels
// (scroll position and scale) and paints the diagram through TDiagramPainter.
//
// The rendered view is kept in an image; drag feedback of the editing tools is
// drawn over that image, so a drag never re-renders the diagram.
//
// The selection commands and the undo snapshot are in selectioncommands.cpp,
// the in-place editor's opening and closing in textedit.cpp.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QWidget>
#include <array>
#include <memory>

#include "editor/cursors.h"
#include "editor/diagrampainter.h"
#include "editor/dragfeedback.h"
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
  // Where the drag began, in pixels; outside drags the last mouse position
  // (the context menu's Insert places new blocks there).
  TPoint DragStart;
  TPoint DragCurrent;  // the other corner of the drag feedback

  // --- operations
  TPoint ScreenToDiagram(TPoint p) const;
  TPoint DiagramToScreen(TPoint p) const;
  void UpdateScrollRanges();
  // Repaints the whole view (the diagram, grid and selection).
  void Redraw();
  void DrawBlock(const TShemObj* block, bool selected);
  void DrawLink(const TShemObj* link, bool selected);
  // Paints the block's area again from scratch: what lay there before (old
  // text, handles) goes, the objects touching it are drawn as they are now.
  void RedrawBlockArea(const TShemObj* block);
  void UpdateHint(TPoint p);
  // Sets the scale (1, 2, 4 or 8) so that the diagram point under pixel `at`
  // stays under it, as far as the scroll ranges allow; ends text editing.
  void ZoomAt(uint8_t scale, TPoint at);

  // --- in-place text editing
  // Opens Memo1 over block's text rectangle with its text; EditedBlock := block.
  void BeginTextEdit(TShemObj* block);
  // Commits the editor's text to EditedBlock and hides the editor. (A right
  // click inside the open editor shows the editor's own menu: the context
  // menu event goes to the editor, which takes it, and never reaches the
  // window's menu.)
  void Memo1Exit();
  // Hides the editor and keeps its text pending for EditedBlock: the next
  // Memo1Exit commits it, unless the block is gone by then.
  void HideEditor();
  // The editor is shown (also while the window itself is not on screen).
  bool EditorShown() const;

  // --- selection commands and undo
  int SelectedBlockCount() const;
  // The union of the selected blocks' rectangles; (65535, 65535, 0, 0) when
  // no block is selected.
  TRect SelectionBounds() const;
  void SaveUndo();
  // Undo and Redo: exchanges the diagram with the snapshot.
  void SwapUndo();
  void DeleteSelection();
  void SelectAll();
  // Shrinks the selection to blocks and the links (and link points) that run
  // between selected blocks.
  void PruneSelection();
  void DuplicateSelection();
  // Puts copies of the selection into the application's ClipboardDiagram.
  void CopySelection();
  void PasteClipboard();
  void JoinSquares();
  void SetTextAlignment(uint8_t value);
  void ScrollToBlock(TShemObj* block);
  // Chooses the select tool, as a press of the "Select objects" button.
  void SwitchToSelect();
  // Rebuilds the listing panel's rows of this diagram.
  void FillListView() { Diagram.FillListView(); }

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

  // The rendered view (what the window shows, without the drag feedback).
  const QImage& View() const { return view_; }
  // The outlines shown over the rendered view during a drag; replacing them
  // repaints only the pixels of the old and the new outlines.
  void SetFeedback(TDragFeedback feedback);
  void ClearFeedback() { SetFeedback({}); }
  const TDragFeedback& Feedback() const { return feedback_; }
  // The cursor of the table (or the text beam), and which one is shown.
  void ShowCursor(TCursor c);
  void ShowTextCursor();
  // Status bar panel 0 or 1 shows p as "(x, y)".
  void ShowStatus(int panel, TPoint p);
  // The objects that touch the diagram rectangle between two pixels.
  TRect ScreenRectToDiagram(TPoint a, TPoint b) const;

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
  // True when the key was used: Page Up/Down, arrows on selected blocks
  // (Shift resizes, Ctrl moves), F2 on the one selected block, then the tool's.
  bool FormKeyDown(int key, Qt::KeyboardModifiers shift);
  // Keys typed into the in-place editor: Escape commits, Ctrl+C copies; true
  // when used, else the key is the editor's own.
  bool Memo1KeyDown(int key, Qt::KeyboardModifiers shift);
  // The double click at DragStart: cycles a link's arrowheads, turns a link
  // point's corner, or chooses the edit-text tool on any other block.
  void FormDblClick();

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void showEvent(QShowEvent*) override;
  void closeEvent(QCloseEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;
  void keyPressEvent(QKeyEvent*) override;
  void mouseDoubleClickEvent(QMouseEvent*) override;
  // The main window's document menu; its Insert commands place new blocks
  // at DragStart, the point of the right press.
  void contextMenuEvent(QContextMenuEvent*) override;
  void changeEvent(QEvent*) override;
  // Leaving the in-place editor commits its text.
  bool eventFilter(QObject* watched, QEvent* e) override;
  // The wheel scrolls up and down, with Shift (or tilted) sideways, and with
  // Ctrl steps the scale about the mouse. Over the scroll bars the bars
  // handle it themselves.
  void wheelEvent(QWheelEvent*) override;

 private:
  TViewTransform Transform() const;
  void Render();
  // The diagram's part of the window, in pixels.
  QRect ViewRect() const;
  // Paints background, grid and every object touching area (pixels), or
  // lying within margin diagram units of it, into the view image, clipped to
  // area and the diagram's part of the window.
  void PaintArea(QPainter& p, const QRect& area, int margin = 0);
  TMouseInput Input(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) const;
  // Ends a drag in progress without its release work (the objects it holds
  // are about to go).
  void EndDrag();
  bool PageKey(int key);
  void NudgeSelection(TPoint step, Qt::KeyboardModifiers shift);

  TDocumentHost* host_;
  QColor color_;
  QFont font_;
  QImage view_;
  TDragFeedback feedback_;
  std::unique_ptr<TEditedBlockWatch> editedWatch_;
  std::array<std::unique_ptr<TEditorTool>, ToolCount> tools_;
  TEditorTool* dragTool_ = nullptr;  // the tool whose drag is in progress
  bool hidingEditor_ = false;        // HideEditor at work: losing focus commits nothing
  // Wheel turns not yet used up (in the wheel's eighths of a degree, times
  // the scroll distance for the two scroll sums).
  int wheelX_ = 0, wheelY_ = 0, wheelZoom_ = 0;
};
