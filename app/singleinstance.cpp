#include "app/singleinstance.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QtEndian>

namespace {
constexpr int kConnectTimeoutMs = 2000;
constexpr char kHandled = 6;

QByteArray Frame(const QByteArray& payload) {
  QByteArray out(4, '\0');
  qToBigEndian<quint32>(quint32(payload.size()), out.data());
  return out + payload;
}

// Sends one message and waits for the answer; false when the peer went away.
bool SendAndWait(QLocalSocket& s, const QByteArray& payload) {
  s.write(Frame(payload));
  while (s.bytesToWrite() > 0)
    if (!s.waitForBytesWritten(-1)) return false;
  // The first instance may be showing a message about the file; wait for as
  // long as it takes, as long as it is there.
  while (s.bytesAvailable() < 1) {
    if (s.state() != QLocalSocket::ConnectedState) return false;
    s.waitForReadyRead(1000);
  }
  char c = 0;
  s.getChar(&c);
  return true;
}

// True when the peer of a connected Unix socket runs as this user.
bool PeerIsThisUser(qintptr fd) {
  struct ucred cred {};
  socklen_t len = sizeof cred;
  if (getsockopt(int(fd), SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0) return false;
  return cred.uid == getuid();
}
}  // namespace

TSingleInstance::TSingleInstance(QObject* parent) : QObject(parent) {}
TSingleInstance::~TSingleInstance() = default;

QString TSingleInstance::ServerName() {
  QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (dir.isEmpty() || !QFileInfo(dir).isDir()) dir = QDir::tempPath();
  return dir + QStringLiteral("/quorvalin-%1.socket").arg(getuid());
}

bool TSingleInstance::HandOff(const QStringList& files) {
  QLocalSocket s;
  s.connectToServer(ServerName());
  if (!s.waitForConnected(kConnectTimeoutMs)) return false;
  if (!PeerIsThisUser(s.socketDescriptor())) return false;
  if (!SendAndWait(s, QByteArray())) return false;
  for (const QString& f : files)
    if (!SendAndWait(s, QFileInfo(f).absoluteFilePath().toUtf8())) break;
  s.disconnectFromServer();
  return true;
}

bool TSingleInstance::Listen() {
  const QString name = ServerName();
  // Ask first: with access options Qt binds elsewhere and renames the socket
  // into place, which would silently take the name from a running instance.
  // A socket file nobody answers on was left by a crash and may go.
  {
    QLocalSocket probe;
    probe.connectToServer(name);
    if (probe.waitForConnected(kConnectTimeoutMs)) return false;
  }
  QLocalServer::removeServer(name);
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_->listen(name)) return false;
  connect(server_, &QLocalServer::newConnection, this, &TSingleInstance::OnNewConnection);
  return true;
}

bool TSingleInstance::IsListening() const { return server_ && server_->isListening(); }

void TSingleInstance::OnNewConnection() {
  while (QLocalSocket* s = server_->nextPendingConnection()) {
    if (!PeerIsThisUser(s->socketDescriptor())) {
      s->abort();
      s->deleteLater();
      continue;
    }
    connect(s, &QLocalSocket::readyRead, this, [this, s] { OnReadyRead(s); });
    connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
    if (s->bytesAvailable() > 0) OnReadyRead(s);
  }
}

void TSingleInstance::OnReadyRead(QLocalSocket* socket) {
  QPointer<QLocalSocket> s(socket);
  // A message is handled completely (which may run a nested event loop for a
  // message box) before the next one is read.
  if (s->property("busy").toBool()) return;
  s->setProperty("busy", true);
  while (s && s->bytesAvailable() >= 4) {
    char head[4];
    s->peek(head, 4);
    const quint32 len = qFromBigEndian<quint32>(head);
    if (len > 1u << 20) {  // no file name is this long: not our peer
      s->abort();
      return;
    }
    if (s->bytesAvailable() < qint64(4 + len)) break;
    s->read(head, 4);
    const QString text = QString::fromUtf8(s->read(len));
    if (text.isEmpty())
      emit ActivateRequested();
    else
      emit FileReceived(text);
    if (s) {
      s->putChar(kHandled);
      s->flush();
    }
  }
  if (s) s->setProperty("busy", false);
}
