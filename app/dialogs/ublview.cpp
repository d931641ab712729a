#include "app/dialogs/ublview.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/icons.h"
#include "app/userblockfiles.h"
#include "editor/diagramtext.h"
#include "editor/modalquestions.h"
#include "model/stream.h"
#include "model/userblockimport.h"
#include "model/userblocklist.h"

namespace {

// The application's title captions the window's message boxes.
const QString kTitle = QStringLiteral("Block-diagram editor");

// The two filters turn "name|pattern|name|pattern" into the dialog's form.
QString DialogFilter(const char* pairs) {
  const QStringList parts = QString::fromLatin1(pairs).split('|');
  QStringList out;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    // The name of an entry already shows its pattern, as in "Text files (*.txt)".
    const QString& name = parts[i];
    const QString pattern = QString(parts[i + 1]).replace(';', ' ');
    out << (name.contains('(') ? name : name + " (" + pattern + ")");
  }
  return out.join(QStringLiteral(";;"));
}

std::string Native(const QString& fileName) { return QFile::encodeName(fileName).toStdString(); }

const char* const TextFilter = "Text files (*.txt)|*.txt|All files|*.*";
const char* const BinaryFilter = "Binary files (*.blu)|*.blu|All files|*.*";

}  // namespace

TUBLView::TUBLView(TUserBlockHost& host, QWidget* parent) : QDialog(parent), host_(host) {
  setObjectName(QStringLiteral("UBLView"));
  setWindowTitle(QStringLiteral("List of user blocks"));
  // Only the system menu (and with it the close box) in the title bar.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  resize(264, 375);

  ListView1 = new QTreeWidget(this);
  ListView1->setObjectName(QStringLiteral("ListView1"));
  ListView1->setAccessibleName(QStringLiteral("List of user blocks"));
  ListView1->setColumnCount(2);
  ListView1->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("ID")});
  ListView1->setColumnWidth(0, 100);
  ListView1->setColumnWidth(1, 150);
  ListView1->setRootIsDecorated(false);
  ListView1->setItemsExpandable(false);
  ListView1->setUniformRowHeights(true);
  ListView1->setIconSize(QSize(16, 16));
  ListView1->setSelectionMode(QAbstractItemView::ExtendedSelection);
  ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
  ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ListView1->setAllColumnsShowFocus(true);
  ListView1->header()->setSectionsMovable(false);
  ListView1->header()->setStretchLastSection(false);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(ListView1);

  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
  Importblock1 = PopupMenu1->addMenu(QStringLiteral("Import block"));
  Importblock1->setObjectName(QStringLiteral("Importblock1"));
  fromtextfile1 = Importblock1->addAction(QStringLiteral("from text file"));
  fromtextfile1->setObjectName(QStringLiteral("fromtextfile1"));
  frombinaryfile1 = Importblock1->addAction(QStringLiteral("from binary file"));
  frombinaryfile1->setObjectName(QStringLiteral("frombinaryfile1"));
  Deleteblock1 = PopupMenu1->addAction(QStringLiteral("Delete block"));
  Deleteblock1->setObjectName(QStringLiteral("Deleteblock1"));
  Deleteblock1->setShortcut(QKeySequence(Qt::Key_Delete));
  Deleteblock1->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  addAction(Deleteblock1);  // Del works while the window has the focus
  Savelistofblock1 = PopupMenu1->addAction(QStringLiteral("Save list of block "));
  Savelistofblock1->setObjectName(QStringLiteral("Savelistofblock1"));
  Exportblockstobinaryfile1 = PopupMenu1->addAction(QStringLiteral("Export blocks to binary file"));
  Exportblockstobinaryfile1->setObjectName(QStringLiteral("Exportblockstobinaryfile1"));

  ListView1->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(ListView1, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& p) { PopupMenu1->popup(ListView1->viewport()->mapToGlobal(p)); });
  connect(fromtextfile1, &QAction::triggered, this, [this] { fromtextfile1Click(); });
  connect(frombinaryfile1, &QAction::triggered, this, [this] { frombinaryfile1Click(); });
  connect(Deleteblock1, &QAction::triggered, this, [this] { Deleteblock1Click(); });
  connect(Savelistofblock1, &QAction::triggered, this, [this] { Savelistofblock1Click(); });
  connect(Exportblockstobinaryfile1, &QAction::triggered, this,
          [this] { Exportblockstobinaryfile1Click(); });
}

void TUBLView::showEvent(QShowEvent* e) {
  FillList();
  QDialog::showEvent(e);
}

void TUBLView::FillList() {
  ListView1->clear();
  const TUserBlockList& blocks = host_.Blocks();
  QList<QTreeWidgetItem*> rows;
  for (int n = 0; n < blocks.Count(); ++n) {
    const TUserBlock& b = *blocks.GetBlock(n);
    auto* row =
        new QTreeWidgetItem({DiagramToQString(b.Name), QString::fromStdString(b.KeyText())});
    row->setIcon(0, UserBlockIcon(b));
    row->setData(0, Qt::UserRole, n);
    rows << row;
  }
  ListView1->addTopLevelItems(rows);
}

QList<int> TUBLView::SelectedIndexes() const {
  QList<int> out;
  for (int n = 0; n < ListView1->topLevelItemCount(); ++n)
    if (ListView1->topLevelItem(n)->isSelected()) out << n;
  return out;
}

void TUBLView::ShowError(const QString& text) {
  Questions().Ask(this, text, kTitle, QMessageBox::Critical, QMessageBox::Ok);
}

void TUBLView::fromtextfile1Click() {
  const QStringList chosen =
      Questions().OpenFileNames(this, QString(), host_.LastDirectory(), DialogFilter(TextFilter));
  if (chosen.isEmpty()) return;
  TUserBlockList& blocks = host_.Blocks();
  int index = -1;
  std::string error;
  if (!ImportUserBlockFromText(Native(chosen.first()), blocks, &index, &error, ImportEnv)) {
    // The list stays as it was: nothing was added.
    ShowError(QString::fromLocal8Bit(error.c_str()));
    return;
  }
  // A block whose key is there already was not added and gets no second tool.
  if (index < 0) return;
  FillList();
  host_.AddUserBlockButton(*blocks.GetBlock(blocks.Count() - 1), blocks.Count() - 1);
  Modified = true;
}

void TUBLView::frombinaryfile1Click() {
  const QStringList chosen =
      Questions().OpenFileNames(this, QString(), host_.LastDirectory(), DialogFilter(BinaryFilter));
  if (chosen.isEmpty()) return;
  std::vector<uint8_t> bytes;
  std::string error;
  if (!ReadWholeFile(Native(chosen.first()), bytes, &error)) {
    ShowError(QString::fromLocal8Bit(error.c_str()));
    return;
  }
  TByteViewStream s(bytes.data(), bytes.size());
  host_.Blocks().LoadFromStream(s);  // records with keys already present are dropped
  FillList();
  host_.RebuildUserBlockToolbar();
  Modified = true;
}

void TUBLView::Deleteblock1Click() {
  const QList<int> selected = SelectedIndexes();
  if (selected.isEmpty()) return;
  // Open diagrams refer to user blocks by their position in the list, which a
  // deletion would shift.
  if (host_.DocumentCount() > 0) {
    Questions().Ask(this,
                    QStringLiteral("Can not delete user blocks while blockdiagram open to edit"),
                    kTitle, QMessageBox::Information, QMessageBox::Ok);
    return;
  }
  // One entry per command: the first selected row.
  host_.Blocks().Delete(selected.first());
  FillList();
  host_.RebuildUserBlockToolbar();
  Modified = true;
}

bool TUBLView::SaveListTo(const QString& fileName, QString* error) const {
  std::string why;
  if (host_.Blocks().SaveToFile(Native(fileName), &why)) return true;
  if (error) *error = QString::fromLocal8Bit(why.c_str());
  return false;
}

bool TUBLView::Savelistofblock1Click() {
  const TUserBlockLocations where{host_.ProgramDir(), host_.UserDataDir()};
  const QString target = where.FileToUse();
  QString error;
  if (SaveListTo(target, &error)) {
    Modified = false;
    return true;
  }
  const QString perUser = where.PerUserFile();
  if (target == perUser || where.UserDataDir.isEmpty()) {
    ShowError(error);
    return false;
  }
  // The program's folder is often not the user's to write: offer the per-user
  // folder, which the start-up reads before the program's.
  const QString question =
      QStringLiteral(
          "The list of user blocks could not be saved in the program's folder:\n%1\n\n"
          "Save it as %2 instead? The program reads the list from there at start.")
          .arg(error, QDir::toNativeSeparators(perUser));
  if (Questions().Ask(this, question, kTitle, QMessageBox::Warning,
                      QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
    return false;
  QDir().mkpath(where.UserDataDir);
  if (!SaveListTo(perUser, &error)) {
    ShowError(error);
    return false;
  }
  Modified = false;
  return true;
}

void TUBLView::Exportblockstobinaryfile1Click() {
  const QList<int> selected = SelectedIndexes();
  if (selected.isEmpty()) return;
  QString fileName =
      Questions().SaveFileName(this, QString(), host_.LastDirectory(), DialogFilter(BinaryFilter));
  if (fileName.isEmpty()) return;
  // The default extension, for a name typed without one.
  if (QFileInfo(fileName).suffix().isEmpty()) fileName += QStringLiteral(".blu");
  TMemoryStream s;
  for (int n : selected) host_.Blocks().GetBlock(n)->WriteToStream(s);
  std::string error;
  if (!WriteFileAtomically(Native(fileName), s.Bytes(), &error))
    ShowError(QString::fromLocal8Bit(error.c_str()));
}

bool TUBLView::FormCloseQuery() {
  if (!Modified) return true;
  switch (Questions().Ask(
      this, QStringLiteral("List of users blocks was modified. Do you want to save change?"),
      kTitle, QMessageBox::Information, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes:
      // A save that failed keeps the window open, so the changes can still go
      // somewhere.
      return Savelistofblock1Click();
    case QMessageBox::No:
      return true;
    default:
      return false;
  }
}

void TUBLView::done(int result) {
  if (FormCloseQuery()) QDialog::done(result);
}
