#pragma once
// TFullViewForm: the full-screen preview. A window without a title bar covers
// the screen of the main window and shows the document's diagram through the
// shared painter, without grid, scroll bars or selection marks, on the window
// face colour. It has no diagram of its own: panning moves the document's
// scroll bars and origin, and the context menu sets the document's scale, so
// the document keeps what was done here.

#include <QDialog>
#include <QFont>

#include "editor/diagrampainter.h"
#include "model/geometry.h"

class QAction;
class QMenu;
class TChildD;

class TFullViewForm : public QDialog {
  Q_OBJECT

 public:
  // The part of the screen that shows the diagram: only objects that touch the
  // diagram rectangle under these pixels (from the top-left) are drawn.
  static constexpr int PreviewWidth = 800;
  static constexpr int PreviewHeight = 600;

  explicit TFullViewForm(QWidget* parent = nullptr);

  // --- state
  TChildD* PreviewDocument = nullptr;  // set before showing; not owned
  TRect PreviewArea;                   // diagram units
  bool PreviewDragging = false;
  TPoint PreviewDragStart;  // pixels: the last mouse position of the drag

  // --- controls
  QMenu* PopupMenu1;
  QAction* x11;  // "x 1" .. "x 8": the scale, in the action's data
  QAction* x21;
  QAction* x41;
  QAction* x81;
  QAction* Exit1;

  // Diagram to pixel: the document's origin at the window's top-left, the
  // document's scale.
  TViewTransform Transform() const;
  // From the document's origin to origin + (800, 600) / scale, rounded.
  void UpdatePreviewArea();
  // The drawing font: the document's face at the size for its scale.
  const QFont& PreviewFont() const { return font_; }
  // The window face colour that the preview paints on.
  QColor FaceColor() const;

  // --- event handlers
  void FormShow();
  void FormPaint(QPainter& painter);
  // True when the key was used.
  bool FormKeyDown(int key);
  void FormMouseDown(int x, int y);
  void FormMouseMove(int x, int y);
  void FormMouseUp();
  // Checks the scale item that matches the document's scale.
  void PopupMenu1Popup();
  // One of the four scale items: the document takes its scale.
  void x11Click(QAction* item);
  // Ends the modal display with the result OK.
  void Exit1Click();

  // Ends the display; the document shows what was chosen here.
  void done(int result) override;
  // Takes the screen of the main window, whole, before showing.
  void setVisible(bool visible) override;

 signals:
  // The preview has been painted for the first time since it was shown.
  void Opened();

 protected:
  void showEvent(QShowEvent*) override;
  void paintEvent(QPaintEvent*) override;
  void keyPressEvent(QKeyEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;
  void contextMenuEvent(QContextMenuEvent*) override;

 private:
  QAction* AddScaleItem(const char* name, const char* caption, int scale);
  void PlaceOnScreen();
  void TakeDocumentFont();

  QFont font_;
  bool opening_ = false;  // shown and not yet painted
};
