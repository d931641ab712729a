#include "app/recoverykeeper.h"

#include <signal.h>

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <cerrno>
#include <vector>

#include "app/mainform.h"
#include "app/recoveryfile.h"
#include "app/userblocktoolbar.h"
#include "editor/childd.h"
#include "editor/modalquestions.h"
#include "model/stream.h"

namespace {
// True while a process with this id runs (or may run: one of another user).
bool ProcessRuns(qint64 pid) {
  if (pid <= 0) return false;
  return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

QByteArray DiagramBytes(const TChildD& doc) {
  TMemoryStream s;
  if (!doc.Diagram.SaveToStream(s)) return {};
  const std::vector<uint8_t>& b = s.Bytes();
  return QByteArray(reinterpret_cast<const char*>(b.data()), qsizetype(b.size()));
}

bool WriteAtomically(const QString& path, const QByteArray& bytes) {
  const std::vector<uint8_t> data(bytes.begin(), bytes.end());
  return WriteFileAtomically(QFile::encodeName(path).toStdString(), data, nullptr);
}
}  // namespace

TRecoveryKeeper::TRecoveryKeeper(TMainForm& form, const QString& folder, int intervalMs)
    : form_(form), folder_(folder) {
  connect(&timer_, &QTimer::timeout, this, [this] { WriteAll(); });
  timer_.start(intervalMs);
  // Close events of the main window and of the document windows come here
  // first: their question about saving may be the last moment before a kill.
  qApp->installEventFilter(this);
  connect(&form_, &TMainForm::DocumentSaved, this, [this](TChildD* doc) { Remove(doc); });
  connect(qApp, &QGuiApplication::commitDataRequest, this, [this] { WriteAll(); });
}

TRecoveryKeeper::~TRecoveryKeeper() {
  if (qApp) qApp->removeEventFilter(this);
  // An editor that ends normally has had every document saved or closed
  // without saving by the user's answer; only a session end keeps the files.
  if (keepFiles_) return;
  for (auto& [doc, e] : files_)
    if (!e.Path.isEmpty()) QFile::remove(e.Path);
}

QString TRecoveryKeeper::FileOf(const TChildD* doc) const {
  const auto it = files_.find(doc);
  return it == files_.end() ? QString() : it->second.Path;
}

TRecoveryKeeper::TEntry& TRecoveryKeeper::EntryOf(TChildD* doc) {
  auto it = files_.find(doc);
  if (it != files_.end()) return it->second;
  connect(doc, &QObject::destroyed, this, [this, doc] {
    if (keepFiles_)
      files_.erase(doc);
    else
      Remove(doc);
  });
  return files_[doc];
}

bool TRecoveryKeeper::Write(TChildD* doc) {
  if (!doc->Modified) {
    Remove(doc);
    return true;
  }
  const QByteArray bytes = EncodeRecovery({doc->Caption(), doc->FileName, DiagramBytes(*doc)});
  TEntry& e = EntryOf(doc);
  if (!e.Path.isEmpty() && e.Written == bytes) return true;
  if (!QDir().mkpath(folder_)) return false;
  QFile::setPermissions(folder_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  if (e.Path.isEmpty())
    e.Path = folder_ + '/' + RecoveryFileName(QCoreApplication::applicationPid(), ++serial_);
  if (!WriteAtomically(e.Path, bytes)) return false;
  e.Written = bytes;
  return true;
}

void TRecoveryKeeper::Remove(const TChildD* doc) {
  const auto it = files_.find(doc);
  if (it == files_.end()) return;
  if (!it->second.Path.isEmpty()) QFile::remove(it->second.Path);
  it->second = TEntry{};
}

bool TRecoveryKeeper::WriteAll() {
  bool ok = true;
  for (TChildD* d : form_.Documents()) ok = Write(d) && ok;
  return ok;
}

void TRecoveryKeeper::SessionEnding() {
  WriteAll();
  keepFiles_ = true;
}

bool TRecoveryKeeper::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::Close && !keepFiles_) {
    if (watched == &form_) {
      WriteAll();
    } else if (auto* doc = qobject_cast<TChildD*>(watched)) {
      if (form_.Documents().contains(doc)) Write(doc);
    }
  }
  return QObject::eventFilter(watched, e);
}

int TRecoveryKeeper::OfferRecovery() {
  const QDir dir(folder_);
  const qint64 self = QCoreApplication::applicationPid();
  int recovered = 0;
  const QStringList names = dir.entryList({QStringLiteral("*.fgr")}, QDir::Files, QDir::Time);
  for (const QString& name : names) {
    const qint64 owner = RecoveryFileOwner(name);
    if (owner < 0 || owner == self || ProcessRuns(owner)) continue;
    const QString path = dir.absoluteFilePath(name);
    QFile f(path);
    TRecoveryRecord r;
    if (!f.open(QIODevice::ReadOnly) || !DecodeRecovery(f.readAll(), r)) continue;
    f.close();
    const int answer = Questions().Choose(
        &form_,
        QStringLiteral("The changes to ") + r.Title +
            QStringLiteral(" were not saved when the editor ended. Recover them?"),
        QString::fromUtf8(EditorCaption), QMessageBox::Question,
        {QStringLiteral("Recover"), QStringLiteral("Discard")});
    if (answer == 0 && Recover(path)) ++recovered;
    if (answer == 1) QFile::remove(path);
  }
  return recovered;
}

bool TRecoveryKeeper::Recover(const QString& path) {
  QFile f(path);
  TRecoveryRecord r;
  if (!f.open(QIODevice::ReadOnly) || !DecodeRecovery(f.readAll(), r)) return false;
  f.close();
  QMdiSubWindow* activeBefore = form_.MdiArea->currentSubWindow();
  TChildD* doc = form_.CreateDocument(r.Title);
  const int userBlocksBefore = form_.AppState.UserBlocks.Count();
  TByteViewStream s(reinterpret_cast<const uint8_t*>(r.Diagram.constData()),
                    size_t(r.Diagram.size()));
  if (!doc->Diagram.LoadFromStream(s)) {
    form_.CloseRefused(doc, activeBefore);  // the file stays for a later look
    return false;
  }
  doc->FileName = r.FileName;
  doc->Modified = true;
  doc->Redraw();
  if (form_.AppState.UserBlocks.Count() > userBlocksBefore)
    form_.UserBlocksToolbar->RebuildUserBlockToolbar();
  form_.UpdateMenuItems();
  // The document keeps the file, under this editor's name.
  TEntry& e = EntryOf(doc);
  e.Path = folder_ + '/' + RecoveryFileName(QCoreApplication::applicationPid(), ++serial_);
  if (!QFile::rename(path, e.Path)) e.Path = path;
  return true;
}
