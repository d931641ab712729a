#include "app/mainstatusbar.h"

#include <QLabel>
#include <algorithm>

TMainStatusBar::TMainStatusBar(QWidget* parent) : QStatusBar(parent) {
  setObjectName(QStringLiteral("StatusBar"));
  setAccessibleName(QStringLiteral("Status bar"));
  setMinimumHeight(19);
  for (size_t i = 0; i < StatusPanels.size(); ++i) {
    StatusPanels[i] = new QLabel;
    // At least 80 pixels, wider when the text needs it (SetStatusPanel).
    StatusPanels[i]->setMinimumWidth(80);
    StatusPanels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    addWidget(StatusPanels[i]);
    StatusPanels[i]->hide();
  }
}

void TMainStatusBar::SetStatusSimple(bool simple) {
  StatusSimple = simple;
  for (QLabel* l : StatusPanels) l->setVisible(!simple);
  if (!simple) clearMessage();
}

void TMainStatusBar::SetStatusPanel(int index, const QString& text) {
  if (index < 0 || index > 1) return;
  if (StatusSimple) SetStatusSimple(false);
  QLabel* panel = StatusPanels[size_t(index)];
  panel->setText(text);
  // Wide enough for the widest text so far at the current font; never
  // narrower again, so that the panels do not jump as the numbers change.
  panel->setMinimumWidth(std::max(panel->minimumWidth(), panel->sizeHint().width()));
}
