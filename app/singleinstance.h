#pragma once
// One running editor per user. The first instance listens on a local socket
// with a per-user name; a later one connects, asks it to come forward, hands
// over each file name in turn and waits for the answer before sending the
// next, then exits without a window.
//
// Messages: a 32-bit big-endian length and that many bytes of UTF-8; an empty
// message means "come forward", any other holds an absolute file name. The
// listener answers each message as soon as it has read it: kAccepted when it
// queued the request, kRefused for a name that cannot be a file. Requests are
// carried out afterwards, in order, from the event loop, so a message box
// about one file never keeps the sender waiting and never runs while a
// connection is inside its own signal.

#include <QObject>
#include <QString>
#include <QStringList>
#include <deque>
#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

class TSingleInstance : public QObject {
  Q_OBJECT

 public:
  static constexpr char kAccepted = 6;
  static constexpr char kRefused = 21;
  // No file name the system can open is longer than this many bytes; a
  // longer length is a peer that does not speak the protocol.
  static constexpr quint32 kMaxMessageBytes = 4096;

  explicit TSingleInstance(QObject* parent = nullptr);
  ~TSingleInstance() override;

  // The per-user listener name: a socket in XDG_RUNTIME_DIR (or the temporary
  // folder), named with the user id.
  static QString ServerName();
  // One framed message: come forward (empty name) or open fileName.
  static QByteArray Message(const QString& fileName);

  // Client side: when another instance listens, hands it the files (made
  // absolute, in order) and returns true once it has answered for all of them.
  // False when none runs, or when it went away or stopped answering before
  // that; the caller then starts an editor of its own.
  static bool HandOff(const QStringList& files);

  // The start of an editor: under a per-user lock file beside the socket, so
  // that of editors started at the same moment exactly one becomes the
  // listener and the others hand their files to it. True when the files were
  // handed off (this process should end); false when this one is the editor
  // to run: it keeps the lock until Listen, so that a start that comes while
  // its main window is being made waits for it instead of becoming a second
  // editor.
  bool StartOrHandOff(const QStringList& files);

  // Server side: starts listening. A socket file left by a crashed instance is
  // removed, but only after connecting to it failed. False when listening
  // failed (the editor then runs without the hand-off). Lets go of the start
  // lock.
  bool Listen();
  bool IsListening() const;

 signals:
  void ActivateRequested();
  // Emitted for each file handed over, from the event loop, after the sender
  // has had its answer.
  void FileReceived(const QString& fileName);

 private:
  void OnNewConnection();
  // Reads every complete message the socket holds, answers and queues it.
  void ReadMessages(QLocalSocket* socket);
  // Carries out the queued requests in order. A call made while an earlier
  // one is still running (inside a message box it opened) leaves the queue to
  // that one.
  void Deliver();
  void ScheduleDelivery();

  std::unique_ptr<QLockFile> startLock_;  // held from StartOrHandOff to Listen
  QLocalServer* server_ = nullptr;
  std::deque<QString> queue_;  // an empty name asks to come forward
  bool delivering_ = false;
  bool deliveryScheduled_ = false;
};
