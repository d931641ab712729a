#include "app/singleinstance.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>
#include <QStringDecoder>
#include <QtEndian>

namespace {
constexpr int kConnectTimeoutMs = 2000;
// The running editor answers as soon as its event loop reads the message;
// one that stays silent this long is hung, and the sender stops waiting.
constexpr int kAnswerTimeoutMs = 10000;
constexpr int kHeaderBytes = 4;
constexpr int kLockTimeoutMs = 30000;

// Sends one message and waits for the answer; false when the peer went away
// or did not answer in time.
bool SendAndWait(QLocalSocket& s, const QByteArray& message) {
  s.write(message);
  QElapsedTimer t;
  t.start();
  while (s.bytesToWrite() > 0) {
    const qint64 left = kAnswerTimeoutMs - t.elapsed();
    if (left <= 0 || !s.waitForBytesWritten(int(left))) return false;
  }
  while (s.bytesAvailable() < 1) {
    const qint64 left = kAnswerTimeoutMs - t.elapsed();
    if (left <= 0 || s.state() != QLocalSocket::ConnectedState) return false;
    s.waitForReadyRead(int(left));
  }
  char c = 0;
  return s.getChar(&c);
}

// True when the peer of a connected Unix socket runs as this user.
bool PeerIsThisUser(qintptr fd) {
  struct ucred cred {};
  socklen_t len = sizeof cred;
  if (getsockopt(int(fd), SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0) return false;
  return cred.uid == getuid();
}

// The file name a message carries, or a null string when it cannot be one:
// not UTF-8, a zero byte, or not absolute (the sender always makes names
// absolute). An empty message gives an empty, non-null string.
QString FileNameOf(const QByteArray& payload) {
  if (payload.isEmpty()) return QStringLiteral("");
  if (payload.contains('\0') || !payload.startsWith('/')) return QString();
  QStringDecoder utf8(QStringDecoder::Utf8);
  QString name = utf8.decode(payload);
  if (utf8.hasError()) return QString();
  return name;
}
}  // namespace

TSingleInstance::TSingleInstance(QObject* parent) : QObject(parent) {}
TSingleInstance::~TSingleInstance() = default;

QString TSingleInstance::ServerName() {
  QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (dir.isEmpty() || !QFileInfo(dir).isDir()) dir = QDir::tempPath();
  return dir + QStringLiteral("/quorvalin-%1.socket").arg(getuid());
}

QByteArray TSingleInstance::Message(const QString& fileName) {
  const QByteArray payload = fileName.toUtf8();
  QByteArray out(kHeaderBytes, '\0');
  qToBigEndian<quint32>(quint32(payload.size()), out.data());
  return out + payload;
}

bool TSingleInstance::HandOff(const QStringList& files) {
  QLocalSocket s;
  s.connectToServer(ServerName());
  if (!s.waitForConnected(kConnectTimeoutMs)) return false;
  if (!PeerIsThisUser(s.socketDescriptor())) return false;
  if (!SendAndWait(s, Message(QString()))) return false;
  for (const QString& f : files)
    if (!SendAndWait(s, Message(QFileInfo(f).absoluteFilePath()))) return false;
  s.disconnectFromServer();
  return true;
}

bool TSingleInstance::StartOrHandOff(const QStringList& files) {
  // The lock is held from the look for a running editor until this one
  // listens, so a second start that comes at the same moment waits and then
  // finds it. A lock whose owner died is taken over at once; one held for
  // longer than a hand-off can take is ignored, the start goes on without it.
  auto lock = std::make_unique<QLockFile>(ServerName() + QStringLiteral(".lock"));
  lock->setStaleLockTime(0);
  const bool locked = lock->tryLock(kLockTimeoutMs);
  if (HandOff(files)) return true;
  if (locked) startLock_ = std::move(lock);
  return false;
}

bool TSingleInstance::Listen() {
  // The lock goes when this function returns, listening or not.
  const std::unique_ptr<QLockFile> lock = std::move(startLock_);
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
    // Owned by the server until it goes; deleteLater is safe here because
    // nothing that runs an event loop is ever called from the socket's signals.
    connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
    if (!PeerIsThisUser(s->socketDescriptor())) {
      s->abort();
      s->deleteLater();
      continue;
    }
    connect(s, &QLocalSocket::readyRead, this, [this, s] { ReadMessages(s); });
    if (s->bytesAvailable() > 0) ReadMessages(s);
  }
}

void TSingleInstance::ReadMessages(QLocalSocket* s) {
  // Everything is read before anything is written: a write to a peer that has
  // left fails and discards what is still unread, which may be its last
  // messages.
  QByteArray answers;
  bool drop = false;
  while (s->bytesAvailable() >= kHeaderBytes) {
    char head[kHeaderBytes];
    s->peek(head, kHeaderBytes);
    const quint32 len = qFromBigEndian<quint32>(head);
    if (len > kMaxMessageBytes) {  // not our peer
      drop = true;
      break;
    }
    if (s->bytesAvailable() < qint64(kHeaderBytes + len)) break;  // the rest is on its way
    s->skip(kHeaderBytes);
    const QString name = FileNameOf(s->read(len));
    if (!name.isNull()) queue_.push_back(name);
    answers += name.isNull() ? kRefused : kAccepted;
  }
  if (answers.contains(kAccepted)) ScheduleDelivery();
  if (drop) {
    s->abort();
    s->deleteLater();
  } else if (!answers.isEmpty() && s->state() == QLocalSocket::ConnectedState) {
    // Answered at once; a peer that has left no longer needs it.
    s->write(answers);
    s->flush();
  }
}

void TSingleInstance::ScheduleDelivery() {
  if (deliveryScheduled_) return;
  deliveryScheduled_ = true;
  QMetaObject::invokeMethod(this, &TSingleInstance::Deliver, Qt::QueuedConnection);
}

void TSingleInstance::Deliver() {
  deliveryScheduled_ = false;
  if (delivering_) return;
  delivering_ = true;
  // A receiver may show a message box; this object may be gone after it.
  const QPointer<TSingleInstance> self(this);
  while (!queue_.empty()) {
    const QString name = queue_.front();
    queue_.pop_front();
    if (name.isEmpty())
      emit ActivateRequested();
    else
      emit FileReceived(name);
    if (!self) return;
  }
  delivering_ = false;
}
