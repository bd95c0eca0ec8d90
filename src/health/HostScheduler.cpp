#include "health/HostScheduler.h"

#include <algorithm>
#include <limits>

namespace vorlix {

HostScheduler::HostScheduler(const PacingRules& rules, QObject* parent)
    : QObject(parent), rules_(rules), timer_(this) {
  // The timer is a child so that it moves along to the checker's thread.
  clock_.start();
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, &HostScheduler::pump);
}

void HostScheduler::enqueue(const QString& host, std::function<void()> send, bool first) {
  Host& h = hosts_[host];
  if (first)
    h.queue.push_front(std::move(send));
  else
    h.queue.push_back(std::move(send));
  if (!h.active && !h.waiting) {
    h.waiting = true;
    waiting_.push_back(host);
  }
  schedulePump(0);
}

void HostScheduler::finished(const QString& host, bool connectionClosed) {
  auto release = [this, host] {
    auto it = hosts_.find(host);
    if (it == hosts_.end() || it->running == 0) return;
    --it->running;
    schedulePump(0);
  };
  if (connectionClosed && rules_.closeGraceMs > 0)
    QTimer::singleShot(rules_.closeGraceMs, this, release);
  else
    release();
}

void HostScheduler::hold(const QString& host, qint64 ms) {
  Host& h = hosts_[host];
  h.heldUntil = std::max(h.heldUntil, clock_.elapsed() + ms);
}

void HostScheduler::clear() {
  for (Host& h : hosts_) h.queue.clear();
  waiting_.clear();
  for (auto it = hosts_.begin(); it != hosts_.end(); ++it) it->waiting = false;
  schedulePump(0);
}

void HostScheduler::schedulePump(qint64 delayMs) {
  if (timer_.isActive() && timer_.remainingTime() <= delayMs) return;
  timer_.start(int(std::min<qint64>(delayMs, std::numeric_limits<int>::max())));
}

void HostScheduler::pump() {
  // A send() that finishes at once must not run the pump inside itself.
  if (pumping_) return schedulePump(0);
  pumping_ = true;
  const qint64 now = clock_.elapsed();
  qint64 wake = std::numeric_limits<qint64>::max();
  bool again = true;
  while (again) {
    again = false;
    while (int(active_.size()) < rules_.maxHosts && !waiting_.empty()) {
      const QString name = waiting_.front();
      waiting_.pop_front();
      Host& h = hosts_[name];
      h.waiting = false;
      if (h.queue.empty() && h.running == 0) continue;
      h.active = true;
      active_.push_back(name);
    }
    for (size_t i = 0; i < active_.size();) {
      const QString name = active_[i];
      for (;;) {
        // Looked up afresh each time: send() may add hosts to the table.
        Host& h = hosts_[name];
        if (h.running >= rules_.connectionsPerHost || h.queue.empty()) break;
        const qint64 at = std::max(h.nextStart, h.heldUntil);
        if (now < at) {
          wake = std::min(wake, at);
          break;
        }
        std::function<void()> send = std::move(h.queue.front());
        h.queue.pop_front();
        ++h.running;
        h.nextStart = now + rules_.requestIntervalMs;
        send();
      }
      Host& h = hosts_[name];
      if (h.queue.empty() && h.running == 0) {
        h.active = false;
        active_.erase(active_.begin() + long(i));
        again = !waiting_.empty();
      } else {
        ++i;
      }
    }
  }
  pumping_ = false;
  if (wake != std::numeric_limits<qint64>::max()) schedulePump(std::max<qint64>(0, wake - now));
}

}  // namespace vorlix
