#pragma once
// One running copy of the program, and the hand-over of a second start's
// command line to it.
//
// "An instance exists" is a QLockFile held for the instance's lifetime. Each
// running instance also listens on its own local socket, vorlix-<pid>.socket
// in the same private folder, so a copy started while "OnlyOne" was off can
// still be found; the newest socket that answers is the one a second start
// talks to. A lock or socket left behind by a killed process is recognised
// (dead owner, no listener) and replaced.
//
// Each connection carries one message, a kind byte, a 32-bit big-endian
// length and at most 64 KiB of payload; nothing after it is read. A second
// start's command line goes as fields, each a 32-bit big-endian length and
// that many bytes of UTF-8, so that a path or URL holding a line break
// arrives whole; a plain hand-over text is still taken. An
// activation gets a one-byte reply. A hand-over gets two: an acknowledgement
// as soon as it has arrived, and the reply once it has been handled, which
// may take as long as the Add Url dialog stays open. A running instance that
// does not acknowledge within kAckTimeoutMs (stopped, hung) counts as not
// reached.
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QLockFile;
class QLocalServer;
class QLocalSocket;

namespace vorlix {

class SingleInstance : public QObject {
  Q_OBJECT

 public:
  static constexpr qsizetype kMaxMessage = 64 * 1024;
  static constexpr int kAckTimeoutMs = 5000;
  // Connections held at once; further ones are dropped at once, so that a
  // flood of idle clients cannot use up the process's file descriptors.
  static constexpr int kMaxConnections = 16;

  // `folder` empty: $XDG_RUNTIME_DIR when it is ours and closed to others,
  // else a private folder in the temp folder.
  explicit SingleInstance(const QString& folder = QString(), QObject* parent = nullptr);
  ~SingleInstance() override;

  static QString defaultFolder();
  QString folder() const { return folder_; }

  // Takes the instance lock. False when another live instance holds it, or
  // when some running copy answers on its socket. Call once.
  bool tryBecomeFirst();
  // Starts receiving activations and hand-overs. False when the socket
  // cannot be set up; the program then simply runs without them. A listener
  // that Qt closes (it does on a failed accept, as with too many open files)
  // is set up again.
  bool listen();
  bool isListening() const;

  // Second instance: asks the running one to come to the front. False when
  // none answered within the time.
  bool activateRunning(int timeoutMs);
  // Second instance: sends the text and, once the running instance has
  // acknowledged it, waits without a time-out until it has been handled.
  // False when no instance was reached or acknowledged in time, the text is
  // too long, or the instance went away before replying.
  bool handOver(const QString& text);
  // The same for fields, each passed whole whatever it holds.
  bool handOverFields(const QStringList& fields);

  // How long the running instance waits for a connected client's message.
  void setReadTimeout(int ms) { readTimeoutMs_ = ms; }
  // How long a sender waits for the acknowledgement (tests shorten it).
  void setAckTimeout(int ms) { ackTimeoutMs_ = ms; }

 signals:
  void activateRequested();
  // `done` sends the reply that lets the sender end; call it once the text
  // has been handled. Should every copy of `done` be dropped uncalled, the
  // reply is sent then, so a sender is never left waiting for good.
  void handOverReceived(const QString& text, std::function<void()> done);
  // A hand-over of fields; `done` as above.
  void handOverFieldsReceived(const QStringList& fields, std::function<void()> done);

 private:
  bool sendMessage(char kind, const QByteArray& payload);
  bool startServer();
  // `retry`: keep trying until the time is up, for an instance that has
  // taken the lock but is not listening yet.
  bool connectToNewest(QLocalSocket& socket, int timeoutMs, bool retry);
  QStringList socketCandidates() const;
  void acceptConnection();

  QString folder_;
  bool folderUsable_ = false;
  std::unique_ptr<QLockFile> lock_;
  QLocalServer* server_ = nullptr;
  QString serverPath_;
  int readTimeoutMs_ = 5000;
  int ackTimeoutMs_ = kAckTimeoutMs;
  int connections_ = 0;
};

// A second start while "OnlyOne" is on: activates the running instance, or
// hands the command line over to it. False when that failed; the caller
// then runs as an instance of its own, so that no URL is lost.
bool handToRunningInstance(SingleInstance& instance, const QStringList& params);

// The fields a second start hands over: parameter 1, then parameter 2, or
// the word "blank" when there is only one parameter.
QStringList buildHandOverFields(const QStringList& params);
// Fields to and from their framing; nullopt when `payload` is not whole.
QByteArray packHandOverFields(const QStringList& fields);
std::optional<QStringList> unpackHandOverFields(const QByteArray& payload);

// The text a second start handed over before fields: parameter 1, CR LF, then parameter 2,
// or the word "blank" when there is only one parameter.
QString buildHandOverText(const QStringList& params);
// The receiver's lines: CR LF, CR or LF end a line; the text ends at a NUL.
QStringList splitHandOverLines(const QString& text);

}  // namespace vorlix
