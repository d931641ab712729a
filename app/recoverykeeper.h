#pragma once
// TRecoveryKeeper: work with unsaved changes survives a crash, a kill or the
// end of the session. Every document with unsaved changes is written, each
// minute, when its close question comes up and when the session ends, to a
// recovery file of its own in the per-user state folder (atomically, so a
// crash while writing leaves the previous recovery file). Saving the document
// or closing it without saving removes its file. The next editor offers the
// files that are left back, one document at a time.

#include <QObject>
#include <QString>
#include <QTimer>
#include <map>

class TChildD;
class TMainForm;

class TRecoveryKeeper : public QObject {
  Q_OBJECT

 public:
  static constexpr int kIntervalMs = 60000;

  TRecoveryKeeper(TMainForm& form, const QString& folder, int intervalMs = kIntervalMs);
  // Removes the files it holds, unless the session is ending: the editor
  // ends normally only after every document was saved or given up.
  ~TRecoveryKeeper() override;

  // Writes the recovery file of every document with unsaved changes (when it
  // changed since the last time) and removes those of documents that have
  // none any more. False when a file could not be written.
  bool WriteAll();
  // Offers back, through the question interface, the recovery files that
  // editors no longer running have left: "Recover" opens the document with
  // its own title and file name and its changes still unsaved (it keeps the
  // recovery file); "Discard" removes the file; closing the question leaves
  // it for the next start. Returns the number of documents recovered.
  int OfferRecovery();
  // The session ends (or the editor is told to terminate): every document
  // with unsaved changes is written, and the files stay when the windows go.
  void SessionEnding();

  // The recovery file that a document has now; empty when none.
  QString FileOf(const TChildD* doc) const;
  const QString& Folder() const { return folder_; }

 private:
  struct TEntry {
    QString Path;
    QByteArray Written;  // the bytes last written there
  };

  bool eventFilter(QObject* watched, QEvent* e) override;
  bool Write(TChildD* doc);
  void Remove(const TChildD* doc);
  // Starts following a document: its file goes when the window goes.
  TEntry& EntryOf(TChildD* doc);
  bool Recover(const QString& path);

  TMainForm& form_;
  QString folder_;
  QTimer timer_;
  std::map<const TChildD*, TEntry> files_;
  int serial_ = 0;
  bool keepFiles_ = false;  // the session ends: closing windows removes nothing
};
