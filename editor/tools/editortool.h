#pragma once
// TEditorTool: what a tool of the document window does with the mouse and
// the keys. TChildD's entry points (FormMouseDown, FormMouseMove, FormMouseUp,
// FormKeyDown) do the work common to every tool and hand the rest to the
// chosen tool; a drag stays with the tool that started it until the release.

#include <Qt>

#include "editor/editorstate.h"
#include "model/geometry.h"

class TChildD;

// The drag in progress in a document window.
enum class TMouseState : uint8_t {
  Idle = 0,
  CreatingBlock = 1,
  RubberBand = 2,
  MovingSelection = 3,
  DrawingLink = 4,
  Resizing = 5,
  DraggingDocument = 6,
  MovingLinkEnd = 7,
};

// One mouse event as the tools see it.
struct TMouseInput {
  Qt::MouseButton Button = Qt::NoButton;  // the button pressed or released
  Qt::KeyboardModifiers Shift;            // Shift and Ctrl
  TPoint Pixel;                           // client pixels
  TPoint At;                              // the same point in diagram units
};

class TEditorTool {
 public:
  explicit TEditorTool(TChildD& view) : view_(view) {}
  virtual ~TEditorTool() = default;
  TEditorTool(const TEditorTool&) = delete;
  TEditorTool& operator=(const TEditorTool&) = delete;

  virtual TTool Kind() const = 0;
  // A press of the left button with this tool chosen; a tool that starts a
  // drag sets the window's MouseState.
  virtual void MouseDown(const TMouseInput&) {}
  // A move with no drag in progress: the tool chooses the cursor over what
  // lies under the mouse (the window has set the default arrow).
  virtual void IdleMove(const TMouseInput&) {}
  // A move during a drag that this tool started.
  virtual void DragMove(const TMouseInput&) {}
  // The release of the left button ending a drag that this tool started.
  virtual void MouseUp(const TMouseInput&) {}
  // Another button was pressed during the drag: it ends without the work
  // of a release.
  virtual void CancelDrag() {}
  // A key for the document; true when the tool used it.
  virtual bool KeyDown(int /*key*/, Qt::KeyboardModifiers /*shift*/) { return false; }

 protected:
  TChildD& View() const { return view_; }

 private:
  TChildD& view_;
};
