#include "app/mainform.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QSettings>
#include <QSplitter>
#include <QStyle>
#include <QToolButton>
#include <algorithm>

#include "app/actions.h"
#include "app/commands/arrangecommands.h"
#include "app/commands/dialogcommands.h"
#include "app/commands/editcommands.h"
#include "app/commands/exportcommands.h"
#include "app/commands/filecommands.h"
#include "app/commands/helpcommands.h"
#include "app/commands/pascalexport.h"
#include "app/commands/printcommands.h"
#include "app/commands/propertycommands.h"
#include "app/commands/searchcommands.h"
#include "app/commands/toolcommands.h"
#include "app/commands/userblockcommands.h"
#include "app/commands/viewcommands.h"
#include "app/commands/windowcommands.h"
#include "app/documentmenu.h"
#include "app/fileassociation.h"
#include "app/filenames.h"
#include "app/fontbox.h"
#include "app/icons.h"
#include "app/importmenu.h"
#include "app/listingpanel.h"
#include "app/mainstatusbar.h"
#include "app/pluginlist.h"
#include "app/settings.h"
#include "app/templatecommands.h"
#include "app/toolimages.h"
#include "app/userblockfiles.h"
#include "app/userblocktoolbar.h"
#include "app/userfolders.h"
#include "app/windowplacement.h"
#include "app/windowsettings.h"
#include "editor/childd.h"
#include "editor/cursors.h"
#include "editor/modalquestions.h"
#include "model/fileaccess.h"

namespace {
TMainForm* g_instance = nullptr;
}  // namespace

TMainForm* TMainForm::Instance() { return g_instance; }

void MainFormLoadFile(const char* fileName) {
  if (g_instance && fileName) g_instance->OpenDocument(QFile::decodeName(fileName));
}

TMainForm::TMainForm(const TOptions& options) : options_(options) {
  g_instance = this;
  if (options_.ProgramDir.isEmpty()) options_.ProgramDir = QCoreApplication::applicationDirPath();
  if (options_.UserDataDir.isEmpty()) options_.UserDataDir = DefaultUserDataDir();
  AppState.LastDirectory = QDir(options_.ProgramDir).absolutePath() + '/';
  setWindowTitle(QStringLiteral("Block-diagram editor"));
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

  Actions = new TActionRegistry(this);
  CreateToolbars();
  StatusBar = new TMainStatusBar;
  setStatusBar(StatusBar);
  CreateMenus();
  FileCommands = std::make_unique<TFileCommands>(*this, *Actions);
  ViewCommands = std::make_unique<TViewCommands>(*this, *Actions);
  HelpCommands = std::make_unique<THelpCommands>(*this, *Actions);
  EditCommands = std::make_unique<TEditCommands>(*this, *Actions);
  WindowCommands = std::make_unique<TWindowCommands>(*this, *Actions);
  ToolCommands = std::make_unique<TToolCommands>(*this, *Actions);
  SearchCommands = std::make_unique<TSearchCommands>(*this, *Actions);
  // The dialogs are created hidden now and reused: About and Options first,
  // then the link and block properties.
  DialogCommands = std::make_unique<TDialogCommands>(*this, *Actions);
  PropertyCommands = std::make_unique<TPropertyCommands>(*this, *Actions);
  PascalExport = std::make_unique<TPascalExport>(*this, *Actions);
  UserBlockCommands = std::make_unique<TUserBlockCommands>(*this, *Actions);
  ExportCommands = std::make_unique<TExportCommands>(*this, *Actions);
  PrintCommands = std::make_unique<TPrintCommands>(*this, *Actions);
  DocumentMenu = new TDocumentMenu(*this, *Actions);
  ArrangeCommands = std::make_unique<TArrangeCommands>(*this, *Actions);
  CreateScaleButton();

  // Hints go to the status bar (QAction status tips do so by themselves);
  // the menus follow the active window.
  connect(MdiArea, &QMdiArea::subWindowActivated, this, [this] { UpdateMenuItems(); });
  connect(ListingPanel, &TListingPanel::MouseEntered, this, [this] {
    StatusBar->SetStatusSimple(true);
    ListingPanel->unsetCursor();
  });
  ListingPanel->hide();
  FontBox->FillFontList();
  LoadAppCursors();
  ReadSettings();
  PlugIns = LoadImportPlugIns(options_.ProgramDir, Actions->Menu(TMenuId::Import));
  Templates = std::make_unique<TTemplateCommands>(*this, Actions->Menu(TMenuId::ReplaceTemplates),
                                                  Actions->Menu(TMenuId::InsertTemplates));
  Templates->Load(options_.ProgramDir);
  ExportCommands->BindLibrary();
  ListingImages = KindIcons();
  UserBlocksToolbar->LoadUserBlocks(
      TUserBlockLocations{options_.ProgramDir, options_.UserDataDir}.FileToUse());
  UpdateMenuItems();
}

TMainForm::~TMainForm() {
  WriteSettings();
  // The documents go before the state and the listing panel they use, also
  // a window closed a moment ago whose deletion is still pending.
  qDeleteAll(MdiArea->findChildren<QMdiSubWindow*>());
  Templates.reset();
  // The plug-ins' entries go with their libraries.
  Actions->Menu(TMenuId::Import)->clear();
  PlugIns.reset();
  if (g_instance == this) g_instance = nullptr;
}

void TMainForm::CreateToolbars() {
  TActionRegistry& r = *Actions;
  StandardToolbar = r.CreateToolbar(TToolbarId::Standard, this);
  SpecialToolbar = r.CreateToolbar(TToolbarId::Special, this);
  AlignToolbar = r.CreateToolbar(TToolbarId::Align, this);
  ToolGroup = new QActionGroup(this);
  ToolGroup->setExclusive(true);
  UserBlocksToolbar = new TUserBlockToolbar(AppState, ListingImages, ToolGroup, this);
  addToolBar(Qt::BottomToolBarArea, UserBlocksToolbar);
  UserBlocksToolbar->hide();
  // Count stands for a separator.
  auto place = [&r](QToolBar* bar, std::initializer_list<TCommand> ids) {
    for (TCommand id : ids) {
      if (id == TCommand::Count)
        bar->addSeparator();
      else
        r.PlaceOnToolbar(bar, id);
    }
  };
  constexpr TCommand sep = TCommand::Count;
  place(StandardToolbar, {TCommand::New, TCommand::Open, TCommand::SaveButton, TCommand::Print, sep,
                          TCommand::Delete, TCommand::Cut, TCommand::Copy, TCommand::Paste, sep,
                          TCommand::PreviewButton, TCommand::Grid, TCommand::Scaling, sep,
                          TCommand::TextLeft, TCommand::TextCenter, TCommand::TextRight});
  FontBox = new TFontBox;
  StandardToolbar->addWidget(FontBox);
  place(StandardToolbar, {sep, TCommand::ListingButton});
  place(SpecialToolbar,
        {TCommand::ToolSelect, TCommand::ToolEditText, TCommand::ToolText, TCommand::ToolRectangle,
         TCommand::ToolEllipse, TCommand::ToolRhomb, TCommand::ToolParallelogram,
         TCommand::ToolDocument, TCommand::ToolComment, TCommand::ToolProcess, TCommand::ToolPage,
         TCommand::ToolLink, TCommand::ToolLinkPoints, TCommand::ToolMoveDocument});
  place(AlignToolbar, {TCommand::AlignLefts, TCommand::AlignHCenters, TCommand::AlignRights,
                       TCommand::SpaceHorizontally, sep, TCommand::AlignTops,
                       TCommand::AlignVCenters, TCommand::AlignBottoms, TCommand::SpaceVertically});
  r.SetImages(TImageStrip::Standart, StandartStrip());
  r.SetImages(TImageStrip::Special, SpecialStrip());
  r.SetImages(TImageStrip::Align, AlignStrip());
  // The listing button shows only its picture (the menu item has the same one).
  r.Action(TCommand::Listing)->setIcon(QIcon());

  // The face is the active document's; new documents take the list's face.
  connect(FontBox, &QComboBox::currentTextChanged, this, [this](const QString& face) {
    if (TChildD* d = ActiveDocument()) d->SetFontFace(face);
  });
  FontBox->FollowToolbar(StandardToolbar, [this] {
    const TChildD* d = ActiveDocument();
    return d ? d->CanvasFont().family() : QString();
  });
}

void TMainForm::CreateScaleButton() {
  // The Scale button drops the "Scale" menu down.
  auto* scaling = qobject_cast<QToolButton*>(
      StandardToolbar->widgetForAction(Actions->Action(TCommand::Scaling)));
  if (!scaling) return;
  scaling->setMenu(Actions->Menu(TMenuId::Scale));
  scaling->setPopupMode(QToolButton::InstantPopup);
  scaling->setFixedWidth(36);
}

void TMainForm::ToolChanged() {
  if (ToolCommands) ToolCommands->ToolChanged();
}

void TMainForm::ContextMenu(TChildD* doc, QPoint global) { DocumentMenu->Popup(doc, global); }

void TMainForm::CreateMenus() {
  TActionRegistry& r = *Actions;
  auto add = [&r](QMenu* menu, std::initializer_list<TCommand> ids) {
    for (TCommand id : ids) menu->addAction(r.Action(id));
  };
  QMenu* file = r.CreateMenu(TMenuId::File, menuBar());
  add(file, {TCommand::New, TCommand::Open, TCommand::Close, TCommand::Save, TCommand::SaveAs});
  file->addSeparator();
  add(file, {TCommand::Options});
  file->addSeparator();
  add(file, {TCommand::Print, TCommand::PrintPreview, TCommand::PageSetup});
  file->addSeparator();
  r.CreateSubmenu(TMenuId::Import, file)->menuAction()->setEnabled(false);
  add(r.CreateSubmenu(TMenuId::Export, file), {TCommand::ExportGraphic, TCommand::ExportPascal});
  RecentSeparator = file->addSeparator();
  add(file, {TCommand::Exit});

  QMenu* edit = r.CreateMenu(TMenuId::Edit, menuBar());
  add(edit, {TCommand::Undo, TCommand::Redo});
  edit->addSeparator();
  add(edit,
      {TCommand::Delete, TCommand::Cut, TCommand::Copy, TCommand::Paste, TCommand::SelectAll});
  edit->addSeparator();
  add(edit, {TCommand::Find, TCommand::Replace});
  edit->addSeparator();
  add(edit, {TCommand::JoinSquare});
  edit->addSeparator();
  add(edit, {TCommand::Duplicate});

  QMenu* view = r.CreateMenu(TMenuId::View, menuBar());
  add(r.CreateSubmenu(TMenuId::Scale, view),
      {TCommand::Zoom1, TCommand::Zoom2, TCommand::Zoom4, TCommand::Zoom8});
  add(view, {TCommand::FullScreen});
  view->addSeparator();
  add(view, {TCommand::Grid, TCommand::Listing, TCommand::StatusBar});
  add(r.CreateSubmenu(TMenuId::Toolbars, view), {TCommand::ShowStandard, TCommand::ShowSpecial,
                                                 TCommand::ShowAlign, TCommand::ShowUserBlocks});
  view->addSeparator();
  add(view, {TCommand::UserBlocksList});

  QMenu* window = r.CreateMenu(TMenuId::Window, menuBar());
  add(window, {TCommand::Cascade, TCommand::Tile, TCommand::ArrangeIcons, TCommand::MinimizeAll});

  QMenu* help = r.CreateMenu(TMenuId::Help, menuBar());
  add(help, {TCommand::Contents, TCommand::About});
}

std::array<QToolBar*, 4> TMainForm::Toolbars() const {
  return {StandardToolbar, SpecialToolbar, AlignToolbar, UserBlocksToolbar};
}

QString TMainForm::FontFace() const { return FontBox->Face(); }

ListView* TMainForm::ListingView() { return ListingPanel; }

bool TMainForm::ListingShows(const TShem* diagram) const {
  return diagram && ListingPanel->Source() == diagram;
}

bool TMainForm::SaveDocument(TChildD* doc) { return FileCommands->SaveDocument(doc); }

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
  doc->ShowGrid = Actions->Action(TCommand::Grid)->isChecked();
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
  const int userBlocksBefore = AppState.UserBlocks.Count();
  if (!doc->Diagram.LoadFromFile(QFile::encodeName(fileName).toStdString())) {
    CloseRefused(doc, activeBefore);
    // A file that is there and readable but holds no diagram is dropped
    // silently; one that cannot be read at all (missing, a device, a pipe, a
    // folder, beyond the size of any diagram) is reported.
    std::string reason;
    if (!CheckInputFile(QFile::encodeName(fileName).toStdString(), reason))
      Questions().Ask(this, QString::fromLocal8Bit(reason), QString::fromUtf8(EditorCaption),
                      QMessageBox::Warning, QMessageBox::Ok);
    return nullptr;
  }
  doc->Redraw();
  doc->Modified = false;
  if (AppState.UserBlocks.Count() > userBlocksBefore) UserBlocksToolbar->RebuildUserBlockToolbar();
  doc->FileName = fileName;
  FileCommands->AddRecentFile(fileName);
  UpdateMenuItems();
  return doc;
}

void TMainForm::CloseRefused(TChildD* doc, QMdiSubWindow* activeBefore) {
  SubWindowOf(doc)->close();  // unmodified: closes without a question
  // The area would activate some other window; the one the user had stays.
  if (activeBefore && MdiArea->subWindowList().contains(activeBefore))
    MdiArea->setActiveSubWindow(activeBefore);
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

void TMainForm::UpdateToolbarVisibility() {
  const bool any = !MdiArea->subWindowList().isEmpty();
  SpecialToolbar->setVisible(any);
  UserBlocksToolbar->setVisible(any && AppState.UserBlocks.Count() > 0);
}

void TMainForm::UpdateMenuItems() {
  TCommandContext c;
  c.Documents = int(MdiArea->subWindowList().size());
  c.ClipboardObjects = AppState.ClipboardDiagram->Count();
  TChildD* d = ActiveDocument();
  if (d) {
    c.Active = true;
    c.CanUndo = d->CanUndo();
    c.CanRedo = d->CanRedo();
    c.SelectedBlocks = d->Selection.BlockCount();
    c.SelectedObjects = d->Selection.Count();
  }
  Actions->EnableByRule(c);
  Actions->Menu(TMenuId::Export)->menuAction()->setEnabled(c.Documents > 0);
  Actions->Menu(TMenuId::Scale)->menuAction()->setEnabled(c.Active);
  if (EditCommands) EditCommands->ReleaseItems();
  UpdateToolbarVisibility();
  if (d) {
    ListingPanel->SetSource(&d->Diagram);
    d->Diagram.FillListView();
    const bool grid = Actions->Action(TCommand::Grid)->isChecked();
    if (d->ShowGrid != grid) {
      d->ShowGrid = grid;
      d->Redraw();
    }
  } else {
    ListingPanel->SetSource(nullptr);
    ListingPanel->Clear();
    if (SearchCommands) SearchCommands->CloseDialogs();
  }
}

void TMainForm::BringToFront() {
  if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
}

void TMainForm::SetStatusPanel(int index, const QString& text) {
  StatusBar->SetStatusPanel(index, text);
}

// ---------------------------------------------------------------- settings

void TMainForm::ReadSettings() {
  if (options_.WriteAssociation) WriteFileAssociation(QCoreApplication::applicationFilePath());
  QSettings store(QSettings::NativeFormat, QSettings::UserScope, SettingsOrganisation());
  ApplyWindowSettings(*this, ReadSettingsStore(store));
  settingsRead_ = true;
}

void TMainForm::WriteSettings() {
  if (!settingsRead_) return;
  QSettings store(QSettings::NativeFormat, QSettings::UserScope, SettingsOrganisation());
  WriteSettingsStore(store, CaptureWindowSettings(*this));
}
