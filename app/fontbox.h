#pragma once
// TFontBox: the font list of the Standard toolbar, every installed family
// once as a user picks it; choosing one makes it the drawing font of the
// active document, and new documents start with the face it shows.

#include <QComboBox>
#include <functional>

class QToolBar;

class TFontBox : public QComboBox {
  Q_OBJECT

 public:
  explicit TFontBox(QWidget* parent = nullptr);

  // Lists the installed families and selects "Courier" when it is there.
  void FillFontList();
  // The chosen face; empty when none is selected.
  QString Face() const;
  // Selects the face without passing it on to the documents (no entry is
  // selected when the face is not listed).
  void SelectFace(const QString& face);

  // Whenever the toolbar holding the list is docked, undocked or moved to
  // another dock, the list selects activeFace(), or "Courier" when that is
  // empty (no document is active).
  void FollowToolbar(QToolBar* bar, std::function<QString()> activeFace);

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  // The toolbar's dock: its area, or 0 while it floats.
  int PlaceOf() const;
  void Synchronise();

  QToolBar* bar_ = nullptr;
  std::function<QString()> activeFace_;
  int place_ = -1;
};
