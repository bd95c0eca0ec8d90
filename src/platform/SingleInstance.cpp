#include "platform/SingleInstance.h"

#include <sys/stat.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QMetaMethod>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QtEndian>
#include <algorithm>
#include <cerrno>
#include <csignal>

#include "platform/FileLock.h"

namespace vorlix {
namespace {

constexpr char kActivate = 'A';
constexpr char kHandOver = 'H';
constexpr char kHandOverFields = 'F';
constexpr char kDone = 'K';
constexpr char kReceived = 'R';
constexpr char kRefused = 'E';
constexpr int kHeaderSize = 5;
// A first instance that has just taken the lock needs a moment to listen.
constexpr int kConnectTimeoutMs = 3000;
constexpr int kProbeTimeoutMs = 500;
// How often a listener that Qt closed is looked after.
constexpr int kRelistenMs = 500;

const QString kSocketPrefix = QStringLiteral("vorlix-");
const QString kSocketSuffix = QStringLiteral(".socket");

// The temp folder is shared by every user: only a folder that is ours and
// closed to everybody else will do.
bool isPrivateFolder(const QString& path) {
  struct stat st {};
  if (::lstat(QFile::encodeName(path).constData(), &st) != 0) return false;
  return S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 077) == 0;
}

// $XDG_RUNTIME_DIR is set by the environment, which may be wrong: use it only
// when it is ours and nobody else may create files in it.
bool isOwnRuntimeFolder(const QString& path) {
  struct stat st {};
  if (::stat(QFile::encodeName(path).constData(), &st) != 0) return false;
  return S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 022) == 0;
}

bool makePrivateFolder(const QString& path) {
  if (!QFileInfo::exists(path)) ::mkdir(QFile::encodeName(path).constData(), 0700);
  return isPrivateFolder(path);
}

qint64 pidOfSocket(const QString& fileName) {
  const QString mid = fileName.mid(kSocketPrefix.size(),
                                   fileName.size() - kSocketPrefix.size() - kSocketSuffix.size());
  bool ok = false;
  const qint64 pid = mid.toLongLong(&ok);
  return ok ? pid : -1;
}

bool processAlive(qint64 pid) { return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM); }

// Sends the reply once, when called or when the last copy of the hand-over's
// done callback goes away, whichever comes first.
class Reply {
 public:
  explicit Reply(QLocalSocket* socket) : socket_(socket) {}
  ~Reply() { send(); }
  Reply(const Reply&) = delete;
  Reply& operator=(const Reply&) = delete;
  void send() {
    if (sent_) return;
    sent_ = true;
    if (!socket_) return;
    socket_->write(&kDone, 1);
    socket_->flush();
    socket_->disconnectFromServer();
  }

 private:
  QPointer<QLocalSocket> socket_;
  bool sent_ = false;
};

}  // namespace

SingleInstance::SingleInstance(const QString& folder, QObject* parent)
    : QObject(parent), folder_(folder.isEmpty() ? defaultFolder() : folder) {
  if (!folder.isEmpty())
    folderUsable_ = QFileInfo(folder_).isDir() || QDir().mkpath(folder_);
  else
    folderUsable_ = isOwnRuntimeFolder(folder_) || makePrivateFolder(folder_);
}

SingleInstance::~SingleInstance() {
  if (server_) server_->close();  // removes our socket file
}

QString SingleInstance::defaultFolder() {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && isOwnRuntimeFolder(runtime)) return runtime;
  return QDir::tempPath() + QStringLiteral("/vorlix-%1").arg(::getuid());
}

bool SingleInstance::tryBecomeFirst() {
  if (!folderUsable_) return true;  // nothing to coordinate through: run alone
  lock_ = std::make_unique<QLockFile>(folder_ + QStringLiteral("/vorlix.lock"));
  // The lock lives as long as the instance: only a dead owner makes it stale.
  if (!takeFileLock(*lock_, 0)) return lock_->error() != QLockFile::LockFailedError;
  // A copy started while "OnlyOne" was off runs without the lock.
  // One look suffices: such a copy is listening already.
  QLocalSocket probe;
  return !connectToNewest(probe, kProbeTimeoutMs, false);
}

bool SingleInstance::listen() {
  if (!folderUsable_ || server_) return server_ != nullptr;
  serverPath_ = folder_ + QLatin1Char('/') + kSocketPrefix +
                QString::number(QCoreApplication::applicationPid()) + kSocketSuffix;
  auto* server = new QLocalServer(this);
  server->setSocketOptions(QLocalServer::UserAccessOption);
  server_ = server;
  if (!startServer()) {
    server_ = nullptr;
    delete server;
    return false;
  }
  connect(server_, &QLocalServer::newConnection, this, &SingleInstance::acceptConnection);
  // QLocalServer closes itself, socket file and all, when an accept fails
  // (EMFILE), and says nothing: look after it, or the instance that holds
  // the lock could never be reached again.
  auto* watch = new QTimer(this);
  connect(watch, &QTimer::timeout, this, [this] {
    if (!server_->isListening()) startServer();
  });
  watch->start(kRelistenMs);
  return true;
}

bool SingleInstance::startServer() {
  QLocalServer::removeServer(serverPath_);  // left by an earlier process with our pid
  return server_->listen(serverPath_);
}

bool SingleInstance::isListening() const { return server_ && server_->isListening(); }

void SingleInstance::acceptConnection() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    if (connections_ >= kMaxConnections) {
      socket->abort();
      delete socket;
      continue;
    }
    ++connections_;
    connect(socket, &QObject::destroyed, this, [this] { --connections_; });
    // One message at most is read; beyond that the socket holds no more
    // than this, however much a client sends.
    socket->setReadBufferSize(kHeaderSize + kMaxMessage);
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    // A client that connects and says nothing must not hold on to us.
    auto* timer = new QTimer(socket);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, socket, [socket] { socket->abort(); });
    timer->start(readTimeoutMs_);

    auto buffer = std::make_shared<QByteArray>();
    auto conn = std::make_shared<QMetaObject::Connection>();
    *conn = connect(socket, &QLocalSocket::readyRead, this, [this, socket, timer, buffer, conn] {
      if (buffer->size() < kHeaderSize) buffer->append(socket->read(kHeaderSize - buffer->size()));
      if (buffer->size() < kHeaderSize) return;
      const char kind = buffer->at(0);
      const quint32 length = qFromBigEndian<quint32>(buffer->constData() + 1);
      auto refuse = [socket, timer, conn] {
        disconnect(*conn);
        timer->stop();
        socket->write(&kRefused, 1);
        socket->flush();
        socket->disconnectFromServer();
      };
      if ((kind != kActivate && kind != kHandOver && kind != kHandOverFields) ||
          length > quint32(kMaxMessage)) {
        refuse();
        return;
      }
      const qsizetype total = kHeaderSize + qsizetype(length);
      if (buffer->size() < total) buffer->append(socket->read(total - buffer->size()));
      if (buffer->size() < total) return;
      const QByteArray payload(buffer->constData() + kHeaderSize, length);
      std::optional<QStringList> fields;
      if (kind == kHandOverFields && !(fields = unpackHandOverFields(payload))) {
        refuse();
        return;
      }
      // One message per connection: anything after it is not read.
      disconnect(*conn);
      timer->stop();
      if (kind == kActivate) {
        emit activateRequested();
        Reply(socket).send();
        return;
      }
      // Received: the sender may now wait for as long as the dialog takes.
      socket->write(&kReceived, 1);
      socket->flush();
      auto reply = std::make_shared<Reply>(socket);
      if (fields) {
        if (isSignalConnected(QMetaMethod::fromSignal(&SingleInstance::handOverFieldsReceived)))
          emit handOverFieldsReceived(*fields, [reply] { reply->send(); });
        return;
      }
      if (!isSignalConnected(QMetaMethod::fromSignal(&SingleInstance::handOverReceived))) return;
      emit handOverReceived(QString::fromUtf8(payload), [reply] { reply->send(); });
    });
  }
}

QStringList SingleInstance::socketCandidates() const {
  const QFileInfoList entries =
      QDir(folder_).entryInfoList({kSocketPrefix + QLatin1Char('*') + kSocketSuffix},
                                  QDir::System | QDir::Files | QDir::Hidden, QDir::Unsorted);
  std::vector<std::pair<QDateTime, QString>> found;
  for (const QFileInfo& fi : entries) {
    if (!processAlive(pidOfSocket(fi.fileName()))) {
      QFile::remove(fi.filePath());  // its owner was killed before it could clean up
      continue;
    }
    found.emplace_back(fi.lastModified(), fi.filePath());
  }
  // The newest first: the copy started last is the one a second start reaches.
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a > b; });
  QStringList paths;
  for (const auto& f : found) paths << f.second;
  return paths;
}

bool SingleInstance::connectToNewest(QLocalSocket& socket, int timeoutMs, bool retry) {
  if (!folderUsable_) return false;
  QElapsedTimer clock;
  clock.start();
  do {
    for (const QString& path : socketCandidates()) {
      if (server_ && path == server_->fullServerName()) continue;
      socket.connectToServer(path);
      if (socket.waitForConnected(std::max<qint64>(1, timeoutMs - clock.elapsed()))) return true;
      socket.abort();
    }
    if (!retry || clock.elapsed() >= timeoutMs) break;
    QThread::msleep(50);
  } while (clock.elapsed() < timeoutMs);
  return false;
}

namespace {

// The next reply byte, waiting at most `timeoutMs` (-1: for good); 0 when
// none came.
char readReply(QLocalSocket& socket, int timeoutMs) {
  while (socket.bytesAvailable() < 1)
    if (!socket.waitForReadyRead(timeoutMs)) return 0;
  char answer = 0;
  return socket.getChar(&answer) ? answer : 0;
}

}  // namespace

bool SingleInstance::sendMessage(char kind, const QByteArray& payload) {
  if (payload.size() > kMaxMessage) return false;
  QLocalSocket socket;
  if (!connectToNewest(socket, std::min(kConnectTimeoutMs, ackTimeoutMs_), true)) return false;
  QByteArray message(kHeaderSize, '\0');
  message[0] = kind;
  qToBigEndian<quint32>(quint32(payload.size()), message.data() + 1);
  message += payload;
  // Until the acknowledgement every step is bounded: a stopped instance
  // still accepts connections, but never answers.
  QElapsedTimer clock;
  clock.start();
  auto left = [&] { return int(std::max<qint64>(1, ackTimeoutMs_ - clock.elapsed())); };
  socket.write(message);
  while (socket.bytesToWrite() > 0)
    if (!socket.waitForBytesWritten(left())) return false;
  char answer = readReply(socket, left());
  if (answer == kReceived) answer = readReply(socket, -1);
  return answer == kDone;
}

bool SingleInstance::activateRunning(int timeoutMs) {
  const int ack = ackTimeoutMs_;
  ackTimeoutMs_ = timeoutMs;
  const bool ok = sendMessage(kActivate, {});
  ackTimeoutMs_ = ack;
  return ok;
}

bool SingleInstance::handOver(const QString& text) { return sendMessage(kHandOver, text.toUtf8()); }

bool SingleInstance::handOverFields(const QStringList& fields) {
  return sendMessage(kHandOverFields, packHandOverFields(fields));
}

bool handToRunningInstance(SingleInstance& instance, const QStringList& params) {
  if (params.isEmpty()) return instance.activateRunning(SingleInstance::kAckTimeoutMs);
  return instance.handOverFields(buildHandOverFields(params));
}

QStringList buildHandOverFields(const QStringList& params) {
  if (params.isEmpty()) return {};
  return {params.at(0), params.size() > 1 ? params.at(1) : QStringLiteral("blank")};
}

QByteArray packHandOverFields(const QStringList& fields) {
  QByteArray out;
  for (const QString& f : fields) {
    const QByteArray utf8 = f.toUtf8();
    char length[4];
    qToBigEndian<quint32>(quint32(utf8.size()), length);
    out.append(length, 4);
    out += utf8;
  }
  return out;
}

std::optional<QStringList> unpackHandOverFields(const QByteArray& payload) {
  QStringList fields;
  qsizetype at = 0;
  while (at < payload.size()) {
    if (payload.size() - at < 4) return std::nullopt;
    const quint32 length = qFromBigEndian<quint32>(payload.constData() + at);
    at += 4;
    if (length > quint64(payload.size() - at)) return std::nullopt;
    fields << QString::fromUtf8(payload.constData() + at, qsizetype(length));
    at += qsizetype(length);
  }
  return fields;
}

QString buildHandOverText(const QStringList& params) {
  if (params.isEmpty()) return {};
  return params.at(0) + QStringLiteral("\r\n") +
         (params.size() > 1 ? params.at(1) : QStringLiteral("blank"));
}

QStringList splitHandOverLines(const QString& text) {
  QStringList lines;
  const qsizetype nul = text.indexOf(QChar(0));
  const QStringView s = QStringView(text).left(nul < 0 ? text.size() : nul);
  qsizetype i = 0;
  while (i < s.size()) {
    const qsizetype start = i;
    while (i < s.size() && s[i] != QLatin1Char('\r') && s[i] != QLatin1Char('\n')) ++i;
    lines << s.mid(start, i - start).toString();
    if (i < s.size() && s[i] == QLatin1Char('\r')) ++i;
    if (i < s.size() && s[i] == QLatin1Char('\n')) ++i;
  }
  return lines;
}

}  // namespace vorlix
