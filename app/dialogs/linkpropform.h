#pragma once
// TLinkPropForm, "Properties of link": one drop-down list of the eight link
// types, each entry drawn as a short line with its arrowheads and dash. The
// caller selects the link's LinkType, shows the dialog modally and, on OK,
// reads the selected entry back.

#include <QDialog>

class QComboBox;
class QPainter;
class QPushButton;
class QRect;

// Draws list entry n (a LinkType, 0..7) into r: the background, then the
// arrowheads as n says (bit 1 at the right end, bit 2 at the left end) and
// the line between them, dotted for n > 3. White on the selection colour for
// the selected entry, black on the list's background otherwise.
void DrawLinkTypeEntry(QPainter& p, const QRect& r, int n, bool selected, const QColor& background,
                       const QColor& selection);

class TLinkPropForm : public QDialog {
  Q_OBJECT

 public:
  explicit TLinkPropForm(QWidget* parent = nullptr);

  static constexpr int EntryHeight = 16;

  QComboBox* ComboBox1;
  QPushButton* OKButton;
  QPushButton* CancelButton;

  int LinkType() const;
  // Selects the entry of type t (the first when t is not 0..7).
  void SetLinkType(int t);
};
