#pragma once
// ListingPanel: the read-only list of the active diagram's blocks (text,
// position, size) at the main window's left edge. Diagrams fill it through the
// model's ListView interface; only the diagram it is currently showing may.

#include <QIcon>
#include <QList>
#include <QTreeWidget>

#include "model/listview.h"

class TShem;

class TListingPanel : public QTreeWidget, public ListView {
  Q_OBJECT

 public:
  explicit TListingPanel(QWidget* parent = nullptr);

  // The diagram whose rows the panel shows; rows from other diagrams are ignored.
  void SetSource(const TShem* diagram) { source_ = diagram; }
  const TShem* Source() const { return source_; }
  // Icons by image index (ListingImages).
  void SetImages(const QList<QIcon>* images) { images_ = images; }
  TShemObj* ObjectOfRow(int row) const;

  // ListView
  void BeginUpdate() override;
  void EndUpdate() override;
  void Clear() override;
  void Append(const std::string& caption, int imageIndex, const std::string& position,
              const std::string& size, TShemObj* obj) override;
  // Shown, or to be shown with the main window (not hidden by the user).
  bool Visible() const override { return !isHidden(); }

 signals:
  void MouseEntered();
  // A key pressed while the panel has the focus; the panel itself does not
  // act on keys, the active document does.
  void KeyPressed(int key, Qt::KeyboardModifiers modifiers);

 protected:
  void enterEvent(QEnterEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  const TShem* source_ = nullptr;
  const QList<QIcon>* images_ = nullptr;
};
