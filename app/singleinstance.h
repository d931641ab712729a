#pragma once
// One running editor per user. The first instance listens on a local socket
// with a per-user name; a later one connects, asks it to come forward, hands
// over each file name in turn and waits until the first instance has handled
// it before sending the next, then exits without a window.
//
// Messages: a 32-bit big-endian length and that many bytes of UTF-8; an empty
// message means "come forward". The listener answers each message with one
// byte once it has been handled.

#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

class TSingleInstance : public QObject {
  Q_OBJECT

 public:
  explicit TSingleInstance(QObject* parent = nullptr);
  ~TSingleInstance() override;

  // The per-user listener name: a socket in XDG_RUNTIME_DIR (or the temporary
  // folder), named with the user id.
  static QString ServerName();

  // Client side: when another instance listens, hands it the files (absolute
  // paths, in order) and returns true; false when none runs.
  static bool HandOff(const QStringList& files);

  // Server side: starts listening. A socket file left by a crashed instance is
  // removed, but only after connecting to it failed. False when listening
  // failed (the editor then runs without the hand-off).
  bool Listen();
  bool IsListening() const;

 signals:
  void ActivateRequested();
  // Emitted for each file handed over; the answer goes back after the
  // connected slots return.
  void FileReceived(const QString& fileName);

 private:
  void OnNewConnection();
  void OnReadyRead(QLocalSocket* socket);

  QLocalServer* server_ = nullptr;
};
