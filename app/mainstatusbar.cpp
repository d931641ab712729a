#include "app/mainstatusbar.h"

#include <QLabel>

TMainStatusBar::TMainStatusBar(QWidget* parent) : QStatusBar(parent) {
  setObjectName(QStringLiteral("StatusBar"));
  setMinimumHeight(19);
  for (size_t i = 0; i < StatusPanels.size(); ++i) {
    StatusPanels[i] = new QLabel;
    StatusPanels[i]->setFixedWidth(80);
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
  StatusPanels[size_t(index)]->setText(text);
}
