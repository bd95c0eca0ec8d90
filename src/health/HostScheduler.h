#pragma once
// Hands out the right to send a request, host by host: at most so many at
// once per host, one new one per interval, a host's Retry-After held, and
// only so many hosts at a time. A host keeps its place among the active
// ones while it has requests queued or running.
#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QString>
#include <QTimer>
#include <deque>
#include <functional>
#include <vector>

#include "health/PacingRules.h"

namespace vorlix {

class HostScheduler : public QObject {
  Q_OBJECT
 public:
  explicit HostScheduler(const PacingRules& rules, QObject* parent = nullptr);

  // `send` runs when the host may take the request; it must lead to one
  // call of finished(host). `first` puts it before the host's queue (the
  // next step of a link already under way).
  void enqueue(const QString& host, std::function<void()> send, bool first = false);
  // A request of `host` ended; `connectionClosed` when we closed its
  // connection, whose place then stays taken for the grace time.
  void finished(const QString& host, bool connectionClosed = false);
  // The host asked for a pause (Retry-After).
  void hold(const QString& host, qint64 ms);
  // Forgets every queued request; running ones still report finished().
  void clear();

  bool idle() const { return active_.empty() && waiting_.empty(); }

 private:
  struct Host {
    std::deque<std::function<void()>> queue;
    int running = 0;
    qint64 nextStart = 0;
    qint64 heldUntil = 0;
    bool active = false;
    bool waiting = false;
  };
  void schedulePump(qint64 delayMs);
  void pump();

  PacingRules rules_;
  QHash<QString, Host> hosts_;
  std::vector<QString> active_;
  std::deque<QString> waiting_;
  QElapsedTimer clock_;
  QTimer timer_;
  bool pumping_ = false;
};

}  // namespace vorlix
