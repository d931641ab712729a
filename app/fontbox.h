#pragma once
// TFontBox: the font list of the Standard toolbar, every installed family
// once as a user picks it; the face it shows is the drawing font of all documents.

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
