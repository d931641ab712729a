#pragma once
// TFontBox: the font list of the Standard toolbar, every installed family
// once as a user picks it; choosing one makes it the drawing font of the
// active document, and new documents start with the face it shows.

#include <QComboBox>

class TFontBox : public QComboBox {
  Q_OBJECT

 public:
  explicit TFontBox(QWidget* parent = nullptr);

  // Lists the installed families and selects "Courier" when it is there.
  void FillFontList();
  // The chosen face; empty when none is selected.
  QString Face() const;
};
