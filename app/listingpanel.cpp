#include "app/listingpanel.h"

#include <QHeaderView>
#include <QKeyEvent>

#include "editor/diagramtext.h"
#include "model/shemobj.h"

TListingPanel::TListingPanel(QWidget* parent) : QTreeWidget(parent) {
  setObjectName("ListingPanel");
  setAccessibleName(QStringLiteral("Listing"));
  setColumnCount(3);
  setHeaderLabels({"Text", "Position", "Size"});
  header()->resizeSection(0, 150);
  setRootIsDecorated(false);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setIconSize(QSize(16, 16));
  setUniformRowHeights(true);
  setMouseTracking(true);
}

void TListingPanel::BeginUpdate() { setUpdatesEnabled(false); }
void TListingPanel::EndUpdate() { setUpdatesEnabled(true); }
void TListingPanel::Clear() { clear(); }

void TListingPanel::Append(const std::string& caption, int imageIndex, const std::string& position,
                           const std::string& size, TShemObj* obj) {
  if (isHidden() || (source_ && obj && obj->Owner() != source_)) return;
  auto* item = new QTreeWidgetItem(
      {DiagramToQString(caption), QString::fromStdString(position), QString::fromStdString(size)});
  if (images_ && imageIndex >= 0 && imageIndex < images_->size())
    item->setIcon(0, images_->at(imageIndex));
  item->setData(0, Qt::UserRole, QVariant::fromValue(static_cast<void*>(obj)));
  addTopLevelItem(item);
}

TShemObj* TListingPanel::ObjectOfRow(int row) const {
  const QTreeWidgetItem* item = topLevelItem(row);
  return item ? static_cast<TShemObj*>(item->data(0, Qt::UserRole).value<void*>()) : nullptr;
}

void TListingPanel::keyPressEvent(QKeyEvent* e) {
  emit KeyPressed(e->key(), e->modifiers());
  e->accept();
}

void TListingPanel::enterEvent(QEnterEvent* e) {
  QTreeWidget::enterEvent(e);
  emit MouseEntered();
}
