#include "app/mainform.h"

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QUrl>
#include <algorithm>
#include <map>

#include "app/fileassociation.h"
#include "app/filenames.h"
#include "app/fontlist.h"
#include "app/listingpanel.h"
#include "app/settings.h"
#include "app/windowplacement.h"
#include "editor/childd.h"
#include "editor/modalquestions.h"
#include "model/shapes.h"
#include "model/shem.h"

namespace {
TMainForm* g_instance = nullptr;

const QString kTitle = QStringLiteral("Block-diagram editor");

// Hot spots of the cursor images (32 by 32), by cursor number.
const QPoint kHotSpots[12] = {{0, 0},   {0, 0},   {0, 0},   {16, 16}, {16, 16}, {15, 15},
                              {15, 15}, {15, 15}, {15, 15}, {2, 2},   {2, 2},   {14, 2}};

Qt::ToolBarArea AreaOfDock(int dock) {
  switch (dock) {
    case 1:
      return Qt::TopToolBarArea;
    case 2:
      return Qt::BottomToolBarArea;
    case 3:
      return Qt::LeftToolBarArea;
    case 4:
      return Qt::RightToolBarArea;
    default:
      return Qt::NoToolBarArea;
  }
}

int DockOfArea(Qt::ToolBarArea a) {
  switch (a) {
    case Qt::TopToolBarArea:
      return 1;
    case Qt::BottomToolBarArea:
      return 2;
    case Qt::LeftToolBarArea:
      return 3;
    case Qt::RightToolBarArea:
      return 4;
    default:
      return 0;
  }
}

bool Horizontal(Qt::ToolBarArea a) { return a == Qt::TopToolBarArea || a == Qt::BottomToolBarArea; }

QColor ColorFromStore(unsigned v) {
  return QColor(int(v & 255u), int((v >> 8) & 255u), int((v >> 16) & 255u));
}

// A 16 by 16 icon of a standard block kind, drawn from its outline.
QIcon KindIcon(int kind) {
  QPixmap pm(16, 16);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setPen(QPen(Qt::black, 0));
  const TRect r = kind == bkPoint ? TRect{5, 5, 10, 10} : TRect{1, 3, 14, 12};
  const TOutline o = BlockOutline(kind, r, nullptr);
  if (kind == bkPoint) p.setBrush(Qt::black);
  for (const TFigure& f : o.Figures) {
    QPolygon poly;
    for (const TPoint& pt : f.Points) poly.append(QPoint(pt.X, pt.Y));
    switch (f.Kind) {
      case TFigure::Rectangle:
        p.drawRect(QRect(poly[0], poly[1]));
        break;
      case TFigure::Ellipse:
        p.drawEllipse(QRect(poly[0], poly[1]));
        break;
      case TFigure::Polygon:
        p.drawPolygon(poly);
        break;
      case TFigure::Polyline:
        p.drawPolyline(poly);
        break;
    }
  }
  if (kind == bkText || kind == bkComment)
    for (int y = 5; y <= 11; y += 3) p.drawLine(4, y, 12, y);
  return QIcon(pm);
}

// The program's icon: a small flowchart, a block above a decision.
QIcon ProgramIcon() {
  QPixmap pm(32, 32);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setPen(QPen(Qt::black, 0));
  p.setBrush(Qt::white);
  p.drawRect(7, 1, 18, 9);
  p.drawLine(16, 11, 16, 15);
  p.drawPolygon(QPolygon({QPoint(16, 15), QPoint(30, 23), QPoint(16, 31), QPoint(2, 23)}));
  return QIcon(pm);
}

// The tool image of a user block; its white background is transparent, as the
// background colour of the other buttons' images is.
QIcon UserBlockIcon(const TUserBlock& b) {
  const TToolBitmap bm = b.GetToolImage();
  QImage img(TToolBitmap::Width, TToolBitmap::Height, QImage::Format_ARGB32);
  for (int y = 0; y < TToolBitmap::Height; ++y)
    for (int x = 0; x < TToolBitmap::Width; ++x) {
      const uint32_t rgb = bm.Pixel(x, y);
      img.setPixel(x, y, rgb == TToolBitmap::White ? 0u : 0xFF000000u | rgb);
    }
  return QIcon(QPixmap::fromImage(img));
}
}  // namespace

const char* const TMainForm::CursorNames[12] = {
    "",         "Link",   "BlockLink", "HandClosed", "Move",        "SizeNS",
    "SizeNESW", "SizeWE", "SizeNWSE",  "CornerPlus", "CornerMinus", "Hand"};

TMainForm* TMainForm::Instance() { return g_instance; }

void MainFormLoadFile(const char* fileName) {
  if (g_instance && fileName) g_instance->OpenDocument(QFile::decodeName(fileName));
}

TMainForm::TMainForm(const TOptions& options) : options_(options) {
  g_instance = this;
  OpenUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
  if (options_.ProgramDir.isEmpty()) options_.ProgramDir = QCoreApplication::applicationDirPath();
  StandardBlockSizes.fill({DefaultBlockWidth, DefaultBlockHeight});
  LastDirectory = QDir(options_.ProgramDir).absolutePath() + '/';
  setWindowTitle(kTitle);
  setWindowIcon(ProgramIcon());
  QApplication::setWindowIcon(windowIcon());
  resize(630, 377);

  MdiArea = new QMdiArea;
  MdiArea->setBackground(palette().brush(QPalette::Dark));
  ListingPanel = new TListingPanel;
  ListingPanel->setMinimumWidth(16);
  ListingPanel->SetImages(&ListingImages);
  Splitter = new QSplitter(Qt::Horizontal);
  Splitter->setHandleWidth(3);
  Splitter->setChildrenCollapsible(false);
  Splitter->addWidget(ListingPanel);
  Splitter->addWidget(MdiArea);
  Splitter->setStretchFactor(1, 1);
  Splitter->setSizes({256, 374});
  setCentralWidget(Splitter);

  CreateToolbars();
  CreateStatusBar();
  CreateMenus();

  // 1. Hints go to the status bar (QAction status tips do so by themselves);
  // the menus follow the active window.
  connect(MdiArea, &QMdiArea::subWindowActivated, this, [this] { UpdateMenuItems(); });
  connect(ListingPanel, &TListingPanel::MouseEntered, this, [this] {
    SetStatusSimple(true);
    ListingPanel->unsetCursor();
  });
  // 2.
  ListingPanel->hide();
  NewDocumentTitle = QStringLiteral("Block-diagram \u2116");
  // 3.-6.
  FillFontList();
  LoadCursors();
  CurrentTool = 0;
  ClipboardDiagram = std::make_unique<TShem>();
  RecentFiles.clear();
  // 7.
  ReadSettings();
  // 11.
  MakeListingImages();
  LoadUserBlocks();
  UpdateMenuItems();
}

TMainForm::~TMainForm() {
  WriteSettings();
  // The documents go before the user block list and the listing panel they use.
  for (QMdiSubWindow* w : MdiArea->subWindowList()) delete w;
  ClipboardDiagram.reset();
  if (g_instance == this) g_instance = nullptr;
}

void TMainForm::CreateToolbars() {
  auto make = [this](const char* name, const char* caption) {
    auto* tb = new QToolBar(QString::fromUtf8(caption), this);
    tb->setObjectName(QString::fromLatin1(name));
    tb->setIconSize(QSize(16, 16));
    return tb;
  };
  StandardToolbar = make("StandardToolbar", "Standard toolbar");
  StandardToolbar->setToolTip("Standart toolbar.");
  SpecialToolbar = make("SpecialToolbar", "Special tollbar");
  SpecialToolbar->setToolTip("Special toolbar");
  AlignToolbar = make("AlignToolbar", "AlignBar");
  UserBlocksToolbar = make("UserBlocksToolbar", "UserBlocks");
  addToolBar(Qt::TopToolBarArea, StandardToolbar);
  addToolBar(Qt::BottomToolBarArea, SpecialToolbar);
  addToolBar(Qt::LeftToolBarArea, AlignToolbar);
  addToolBar(Qt::BottomToolBarArea, UserBlocksToolbar);
  AlignToolbar->hide();
  UserBlocksToolbar->hide();
  ToolGroup = new QActionGroup(this);
  ToolGroup->setExclusive(true);

  FontBox = new QComboBox;
  FontBox->setObjectName("FontBox");
  FontBox->setFixedWidth(145);
  FontBox->setEditable(false);
  FontBox->setToolTip("Select font to all object");
  FontBox->setStatusTip("Select font to all object");
  StandardToolbar->addWidget(FontBox);
  connect(FontBox, &QComboBox::currentTextChanged, this, [this](const QString& face) {
    for (TChildD* d : Documents()) d->SetFontFace(face);
  });
}

void TMainForm::CreateStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setMinimumHeight(19);
  for (size_t i = 0; i < StatusPanels.size(); ++i) {
    StatusPanels[i] = new QLabel;
    // At least 80 pixels, wider when the text needs it (SetStatusPanel).
    StatusPanels[i]->setMinimumWidth(80);
    StatusPanels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bar->addWidget(StatusPanels[i]);
    StatusPanels[i]->hide();
  }
}

void TMainForm::CreateMenus() {
  FileMenu = menuBar()->addMenu("&File");
  FileMenu->setStatusTip("File related commands");
  Open1 = FileMenu->addAction("&Open", this, &TMainForm::Open1Click);
  Open1->setShortcut(QKeySequence::Open);
  Open1->setStatusTip("Open an existing file");
  RecentSeparator = FileMenu->addSeparator();
  Exit1 = FileMenu->addAction("E&xit", this, &QWidget::close);
  Exit1->setStatusTip("Exit the application");
  connect(FileMenu, &QMenu::aboutToShow, this, &TMainForm::FileItemClick);
  connect(FileMenu, &QMenu::triggered, this, [this](QAction* a) {
    if (a->property("recent").toBool()) QuickOpenClick(a);
  });

  QMenu* view = menuBar()->addMenu("View");
  Grid1 = view->addAction("Grid");
  Grid1->setCheckable(true);
  Grid1->setStatusTip("Show/Unshow grid");
  connect(Grid1, &QAction::triggered, this, [this](bool on) {
    if (TChildD* d = ActiveDocument()) {
      d->ShowGrid = on;
      d->Redraw();
    }
  });
  Listing1 = view->addAction("Listing");
  Listing1->setCheckable(true);
  Listing1->setStatusTip("Show/Unshow list of object");
  connect(Listing1, &QAction::triggered, this, [this](bool on) {
    ListingPanel->setVisible(on);
    UpdateMenuItems();
  });

  QMenu* help = menuBar()->addMenu("&?");
  Contents1 = help->addAction("&Contents", this, &TMainForm::Contents1Click);
  Contents1->setStatusTip("View help contents");
}

void TMainForm::FillFontList() {
  const QStringList seen = FontFamiliesOnce(QFontDatabase::families());
  const QSignalBlocker block(FontBox);
  FontBox->clear();
  FontBox->addItems(seen);
  FontBox->setCurrentIndex(int(seen.indexOf(QStringLiteral("Courier"))));
}

// The cursor images are compiled into this static library; make sure they
// are registered even when nothing else of their object file is used.
static void InitCursorResources() { Q_INIT_RESOURCE(cursors); }

void TMainForm::LoadCursors() {
  InitCursorResources();
  cursors_[0] = QCursor(Qt::ArrowCursor);
  for (int n = 1; n < 12; ++n) {
    const QPixmap pm(QStringLiteral(":/cursors/") + QString::fromLatin1(CursorNames[n]));
    cursors_[size_t(n)] =
        pm.isNull() ? QCursor(Qt::ArrowCursor) : QCursor(pm, kHotSpots[n].x(), kHotSpots[n].y());
  }
}

const QCursor& TMainForm::CursorOf(int number) const {
  return cursors_[size_t(number >= 0 && number < 12 ? number : 0)];
}

void TMainForm::MakeListingImages() {
  ListingImages.clear();
  for (int k = 0; k < BuiltInKindCount; ++k) ListingImages.append(KindIcon(k));
}

std::array<QToolBar*, 4> TMainForm::Toolbars() const {
  return {StandardToolbar, SpecialToolbar, AlignToolbar, UserBlocksToolbar};
}

QString TMainForm::FontFace() const {
  return FontBox->currentIndex() >= 0 ? FontBox->currentText() : QString();
}

ListView* TMainForm::ListingView() { return ListingPanel; }

bool TMainForm::ListingShows(const TShem* diagram) const {
  return diagram && ListingPanel->Source() == diagram;
}

// ---------------------------------------------------------------- documents

QList<TChildD*> TMainForm::Documents() const {
  QList<TChildD*> docs;
  for (QMdiSubWindow* w : MdiArea->subWindowList(QMdiArea::CreationOrder))
    if (auto* d = qobject_cast<TChildD*>(w->widget())) docs.append(d);
  return docs;
}

QMdiSubWindow* TMainForm::SubWindowOf(const TChildD* doc) const {
  for (QMdiSubWindow* w : MdiArea->subWindowList())
    if (w->widget() == doc) return w;
  return nullptr;
}

TChildD* TMainForm::ActiveDocument() const {
  QMdiSubWindow* w = MdiArea->currentSubWindow();
  return w ? qobject_cast<TChildD*>(w->widget()) : nullptr;
}

TChildD* TMainForm::CreateDocument(const QString& title) {
  auto* doc = new TChildD(this);
  doc->setWindowTitle(title);
  doc->ShowGrid = Grid1->isChecked();
  const int open = int(MdiArea->subWindowList().size());
  QMdiSubWindow* w = MdiArea->addSubWindow(doc);
  w->setAttribute(Qt::WA_DeleteOnClose);
  // The first document brings the Special toolbar, which takes room from the
  // area: let the layout make that room before measuring it.
  UpdateToolbarVisibility();
  if (layout()) layout()->activate();
  // Cascaded one title bar further down and right than the window before,
  // always whole inside the visible area.
  const int step = w->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, w) +
                   w->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, w);
  w->setGeometry(CascadeRect(MdiArea->viewport()->size(), open, step));
  w->show();
  MdiArea->setActiveSubWindow(w);
  return doc;
}

TChildD* TMainForm::OpenDocument(const QString& givenName) {
  const QString fileName = AbsoluteFileName(givenName);
  TChildD* match = nullptr;
  const QList<TChildD*> docs = Documents();
  for (qsizetype i = docs.size() - 1; i >= 0; --i)
    if (docs[i]->Caption() == fileName) match = docs[i];
  if (match) {
    QMdiSubWindow* w = SubWindowOf(match);
    w->show();
    MdiArea->setActiveSubWindow(w);
    return match;
  }

  QMdiSubWindow* activeBefore = MdiArea->currentSubWindow();
  TChildD* doc = CreateDocument(fileName);
  const int userBlocksBefore = UserBlocks.Count();
  std::string error;
  if (!doc->Diagram.LoadFromFile(QFile::encodeName(fileName).toStdString(), &error)) {
    CloseRefused(doc, activeBefore);
    // A file that is there and readable but holds no diagram is dropped
    // silently; one that cannot be read at all is reported.
    QFile f(fileName);
    if (!(QFileInfo(fileName).isFile() && f.open(QIODevice::ReadOnly)))
      Questions().Ask(this, QString::fromLocal8Bit(error), QString::fromUtf8(EditorCaption),
                      QMessageBox::Warning, QMessageBox::Ok);
    return nullptr;
  }
  doc->Redraw();
  doc->Modified = false;
  if (UserBlocks.Count() > userBlocksBefore) RebuildUserBlockToolbar();
  doc->FileName = fileName;
  AddRecentFile(fileName);
  UpdateMenuItems();
  return doc;
}

void TMainForm::CloseRefused(TChildD* doc, QMdiSubWindow* activeBefore) {
  SubWindowOf(doc)->close();  // unmodified: closes without a question
  // The area would activate some other window; the one the user had stays.
  if (activeBefore && MdiArea->subWindowList().contains(activeBefore))
    MdiArea->setActiveSubWindow(activeBefore);
}

void TMainForm::RemoveRecentFile(const QString& fileName) {
  const QString absolute = AbsoluteFileName(fileName);
  RecentFiles.removeIf([&](const QString& entry) {
    return entry == fileName || AbsoluteFileName(entry) == absolute;
  });
}

void TMainForm::AddRecentFile(const QString& fileName) {
  // Entries stored under another name of the same file (relative, through a
  // link) go; the list keeps the one absolute name.
  RemoveRecentFile(fileName);
  RecentFiles.prepend(AbsoluteFileName(fileName));
  while (RecentFiles.size() > MaxRecentFiles) RecentFiles.removeLast();
}

bool TMainForm::SaveDocument(TChildD* doc) {
  if (!doc) return false;
  QString name = doc->FileName;
  if (name.isEmpty()) {
    name = Questions().SaveFileName(this, QString(), LastDirectory,
                                    "Block-diagram(*.fgd);;All Files(*)");
    if (name.isEmpty()) return false;
    name = AbsoluteFileName(name);
  }
  std::string error;
  if (!doc->Diagram.SaveToFile(QFile::encodeName(name).toStdString(), &error)) {
    Questions().Ask(this, QString::fromLocal8Bit(error), QString::fromUtf8(EditorCaption),
                    QMessageBox::Warning, QMessageBox::Ok);
    return false;
  }
  doc->FileName = name;
  doc->setWindowTitle(name);
  doc->Modified = false;
  return true;
}

void TMainForm::closeEvent(QCloseEvent* e) {
  for (TChildD* d : Documents()) {
    if (!d->FormCloseQuery()) {
      e->ignore();
      return;
    }
  }
  e->accept();
}

// ---------------------------------------------------------------- menus

void TMainForm::UpdateToolbarVisibility() {
  const bool any = !MdiArea->subWindowList().isEmpty();
  SpecialToolbar->setVisible(any);
  UserBlocksToolbar->setVisible(any && UserBlocks.Count() > 0);
}

void TMainForm::UpdateMenuItems() {
  UpdateToolbarVisibility();
  if (TChildD* d = ActiveDocument()) {
    ListingPanel->SetSource(&d->Diagram);
    d->Diagram.FillListView();
    if (d->ShowGrid != Grid1->isChecked()) {
      d->ShowGrid = Grid1->isChecked();
      d->Redraw();
    }
  } else {
    ListingPanel->SetSource(nullptr);
    ListingPanel->Clear();
  }
}

void TMainForm::FileItemClick() {
  const QList<QAction*> items = FileMenu->actions();
  const qsizetype from = items.indexOf(RecentSeparator), to = items.indexOf(Exit1);
  for (qsizetype i = from + 1; i >= 1 && i < to; ++i) {
    FileMenu->removeAction(items[i]);
    items[i]->deleteLater();
  }
  if (RecentFiles.isEmpty()) return;
  for (int i = 0; i < RecentFiles.size() && i < MaxRecentFiles; ++i) {
    auto* a = new QAction(QStringLiteral("&%1: %2").arg(i + 1).arg(RecentFiles[i]), FileMenu);
    a->setProperty("recent", true);
    FileMenu->insertAction(Exit1, a);
  }
  QAction* sep = new QAction(FileMenu);
  sep->setSeparator(true);
  FileMenu->insertAction(Exit1, sep);
}

void TMainForm::QuickOpenClick(QAction* item) {
  const QString caption = item->text();
  const qsizetype blank = caption.indexOf(' ');
  const QString entry = blank < 0 ? QString() : caption.mid(blank + 1);
  const QString name = AbsoluteFileName(entry);
  QMdiSubWindow* activeBefore = MdiArea->currentSubWindow();
  TChildD* doc = CreateDocument(name);
  doc->FileName = name;
  if (QFileInfo(name).isFile() &&
      doc->Diagram.LoadFromFile(QFile::encodeName(name).toStdString())) {
    doc->Redraw();
    doc->Modified = false;
    AddRecentFile(name);
    UpdateMenuItems();
    return;
  }
  CloseRefused(doc, activeBefore);
  Questions().Ask(this, "Can not load file", QString::fromUtf8(EditorCaption), QMessageBox::Warning,
                  QMessageBox::Ok);
  RemoveRecentFile(entry);
}

void TMainForm::Open1Click() {
  const QStringList files = Questions().OpenFileNames(this, QString(), LastDirectory,
                                                      "Block-diagram(*.fgd);;All Files(*)");
  if (files.isEmpty()) return;
  for (const QString& f : files) OpenDocument(f);
  LastDirectory = QFileInfo(files.first()).absolutePath() + '/';
}

QString TMainForm::HelpFile() const {
  const QString dir = options_.ProgramDir;
  const QStringList candidates = {dir + "/manual/index.html",
                                  dir + "/../share/doc/quorvalin/manual/index.html",
#ifdef QV_SOURCE_MANUAL
                                  QStringLiteral(QV_SOURCE_MANUAL "/index.html")
#endif
  };
  for (const QString& c : candidates)
    if (QFileInfo(c).isFile()) return QFileInfo(c).absoluteFilePath();
  return QString();
}

void TMainForm::Contents1Click() {
  const QString file = HelpFile();
  if (file.isEmpty()) {
    const QString expected = QDir(options_.ProgramDir).absoluteFilePath("manual/index.html");
    Questions().Ask(this, "The manual could not be found. It belongs in\n" + expected,
                    QString::fromUtf8(EditorCaption), QMessageBox::Warning, QMessageBox::Ok);
    return;
  }
  if (OpenUrl && OpenUrl(QUrl::fromLocalFile(file))) return;
  // No browser took it: say where it is, so that it can be opened by hand.
  const QMessageBox::StandardButton copy = Questions().Ask(
      this,
      "The manual could not be opened in a browser. It is the file\n" + file +
          "\n\nCopy this path to the clipboard?",
      QString::fromUtf8(EditorCaption), QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No);
  if (copy == QMessageBox::Yes) QGuiApplication::clipboard()->setText(file);
}

void TMainForm::BringToFront() {
  if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
}

void TMainForm::SetStatusSimple(bool simple) {
  StatusSimple = simple;
  for (QLabel* l : StatusPanels) l->setVisible(!simple);
  if (!simple) statusBar()->clearMessage();
}

void TMainForm::SetStatusPanel(int index, const QString& text) {
  if (index < 0 || index > 1) return;
  if (StatusSimple) SetStatusSimple(false);
  QLabel* panel = StatusPanels[size_t(index)];
  panel->setText(text);
  // Wide enough for the widest text so far at the current font; never
  // narrower again, so that the panels do not jump as the numbers change.
  panel->setMinimumWidth(std::max(panel->minimumWidth(), panel->sizeHint().width()));
}

// ---------------------------------------------------------------- user blocks

void TMainForm::LoadUserBlocks() {
  UserBlocksToolbar->hide();
  UserBlocks.Clear();
  const QString file = options_.ProgramDir + "/UserBlock.blu";
  if (QFileInfo(file).isFile()) UserBlocks.LoadFromFile(QFile::encodeName(file).toStdString());
  while (ListingImages.size() < bkUserFirst) ListingImages.append(QIcon());
  RebuildUserBlockToolbar();
}

void TMainForm::RebuildUserBlockToolbar() {
  for (QAction* a : UserBlocksToolbar->actions()) {
    UserBlocksToolbar->removeAction(a);
    ToolGroup->removeAction(a);
    delete a;
  }
  while (ListingImages.size() > bkUserFirst) ListingImages.removeLast();
  ToolbarImages.clear();
  for (int n = 0; n < UserBlocks.Count(); ++n) AddUserBlockButton(*UserBlocks.GetBlock(n), n);
}

void TMainForm::AddUserBlockButton(const TUserBlock& block, int index) {
  const QIcon icon = UserBlockIcon(block);
  ListingImages.append(icon);
  ToolbarImages.append(icon);
  auto* a = new QAction(icon, QString::fromStdString(block.Name), UserBlocksToolbar);
  a->setToolTip(QString::fromStdString(block.Name));
  a->setStatusTip(QString::fromStdString(block.Name));
  a->setCheckable(true);
  a->setData(index + 20);
  ToolGroup->addAction(a);
  UserBlocksToolbar->addAction(a);
  connect(a, &QAction::triggered, this, [this, index] {
    CurrentTool = 5;
    NewBlockKind = uint8_t(bkUserFirst + index);
  });
}

// ---------------------------------------------------------------- settings

void TMainForm::ReadSettings() {
  if (options_.WriteAssociation) WriteFileAssociation(QCoreApplication::applicationFilePath());
  QSettings store(QSettings::NativeFormat, QSettings::UserScope, SettingsOrganisation());
  const TSettingsValues v = ReadSettingsStore(store);
  settingsRead_ = true;

  if (v.Path) LastDirectory = *v.Path;
  if (v.FullWind) {
    if (*v.FullWind) {
      setWindowState(windowState() | Qt::WindowMaximized);
    } else {
      QRect g = geometry();
      if (v.TWind) g.moveTop(*v.TWind);
      if (v.LWind) g.moveLeft(*v.LWind);
      if (v.HWind) g.setHeight(*v.HWind);
      if (v.WWind) g.setWidth(*v.WWind);
      // A screen that was there when the settings were written may be gone.
      QList<QRect> screens;
      for (const QScreen* s : QGuiApplication::screens()) screens.append(s->availableGeometry());
      g = FitOnScreens(g, screens);
      move(g.topLeft());
      resize(g.size());
    }
  }
  for (size_t i = 0; i < 4; ++i)
    if (v.Toolbars[i].Visible) Toolbars()[i]->setVisible(*v.Toolbars[i].Visible);
  // Placement: toolbars with a usable dock are put there, sorted by row and
  // position; the others stay where the window layout puts them.
  struct Place {
    QToolBar* tb;
    int row, pos;
  };
  std::map<int, std::vector<Place>> docked;
  for (size_t i = 0; i < 4; ++i) {
    const TToolbarSettings& t = v.Toolbars[i];
    QToolBar* tb = Toolbars()[i];
    if (!t.Dock) continue;
    const QRect screen =
        (this->screen() ? this->screen() : QGuiApplication::primaryScreen())->virtualGeometry();
    if (*t.Dock == 0) {
      const QPoint at(t.Pos.value_or(0), t.Row.value_or(0));
      if (!t.Row || !t.Pos || !QGuiApplication::screenAt(at)) continue;  // off-screen: ignored
      // Floating as the main window's own state restore does it: the toolbar
      // keeps its place in the layout (empty while it is a window) so it can
      // be docked again by dragging.
      tb->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
      tb->move(at);
      tb->setVisible(t.Visible.value_or(true));
      continue;
    }
    const int row = t.Row.value_or(0), pos = t.Pos.value_or(0);
    const int extent = Horizontal(AreaOfDock(*t.Dock)) ? screen.width() : screen.height();
    if (row < 0 || row > 16 || pos < 0 || pos > extent) continue;  // off-screen: ignored
    docked[*t.Dock].push_back({tb, row, pos});
  }
  for (auto& [dock, places] : docked) {
    // Toolbars placed by the layout keep their area: add the stored ones after
    // them, row by row.
    std::stable_sort(places.begin(), places.end(), [](const Place& a, const Place& b) {
      return a.row != b.row ? a.row < b.row : a.pos < b.pos;
    });
    int lastRow = -1;
    for (const Place& p : places) {
      const bool hidden = p.tb->isHidden();
      removeToolBar(p.tb);
      if (lastRow >= 0 && p.row != lastRow) addToolBarBreak(AreaOfDock(dock));
      addToolBar(AreaOfDock(dock), p.tb);
      p.tb->setHidden(hidden);
      lastRow = p.row;
    }
  }
  if (v.BackGround) BackgroundColor = ColorFromStore(*v.BackGround);
  if (v.ListEnable) {
    Listing1->setChecked(*v.ListEnable);
    ListingPanel->setVisible(*v.ListEnable);
  }
  if (v.GridEnable) Grid1->setChecked(*v.GridEnable);
  RecentFiles.append(v.Files);
  StandardBlockSizes = v.StandSize;
}

void TMainForm::WriteSettings() {
  if (!settingsRead_) return;
  TSettingsValues v;
  v.Path = LastDirectory;
  v.FullWind = isMaximized();
  v.TWind = y();
  v.LWind = x();
  v.HWind = height();
  v.WWind = width();
  const std::array<QToolBar*, 4> bars = Toolbars();
  for (size_t i = 0; i < 4; ++i) {
    QToolBar* tb = bars[i];
    TToolbarSettings& t = v.Toolbars[i];
    t.Visible = !tb->isHidden();
    if (tb->isWindow()) {
      t.Dock = 0;
      t.Row = tb->y();
      t.Pos = tb->x();
      continue;
    }
    const Qt::ToolBarArea area = toolBarArea(tb);
    t.Dock = DockOfArea(area);
    // The row is the rank of the toolbar's line among the lines of its dock.
    auto line = [area](const QToolBar* b) { return Horizontal(area) ? b->y() : b->x(); };
    std::vector<int> lines;
    for (QToolBar* other : bars)
      if (!other->isWindow() && toolBarArea(other) == area && !other->isHidden())
        lines.push_back(line(other));
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    t.Row = int(std::lower_bound(lines.begin(), lines.end(), line(tb)) - lines.begin());
    t.Pos = Horizontal(area) ? tb->x() : tb->y();
  }
  v.BackGround = ColorToStore(unsigned(BackgroundColor.red()), unsigned(BackgroundColor.green()),
                              unsigned(BackgroundColor.blue()));
  v.ListEnable = Listing1->isChecked();
  v.GridEnable = Grid1->isChecked();
  v.Files = RecentFiles.mid(0, MaxRecentFiles);
  v.StandSize = StandardBlockSizes;
  QSettings store(QSettings::NativeFormat, QSettings::UserScope, SettingsOrganisation());
  WriteSettingsStore(store, v);
}
