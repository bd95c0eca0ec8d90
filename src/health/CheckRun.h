#pragma once
// One run of Check Links: the LinkChecker in a thread of its own, its
// answers joined with the check history, progress, and a cancel that
// stops everything at once. Deleting the run cancels it.
#include <QDateTime>
#include <QObject>
#include <QThread>
#include <QVector>
#include <functional>

#include "health/LinkChecker.h"
#include "health/PacingRules.h"
#include "health/Verdict.h"

namespace vorlix {

class CheckHistory;

class CheckRun : public QObject {
  Q_OBJECT
 public:
  using Clock = std::function<QDateTime()>;
  // `history` (kept by the caller) is consulted and updated for every
  // answer and saved at the end; `clock` tells the time of each check.
  CheckRun(const PacingRules& rules, CheckHistory& history, Clock clock = {},
           QObject* parent = nullptr);
  ~CheckRun() override;

  void start(const QVector<CheckJob>& jobs);
  void cancel();
  bool running() const { return running_; }
  int done() const { return done_; }
  int total() const { return total_; }

 signals:
  void linkChecked(quint32 id, const vorlix::LinkCheck& check);
  void progress(int done, int total);
  // After the last answer, or at once on cancel.
  void finished(bool cancelled);

 private:
  void take(quint32 id, const ProbeResult& r);
  void end(bool cancelled);

  CheckHistory& history_;
  Clock clock_;
  QThread thread_;
  LinkChecker* checker_;
  QHash<quint32, QString> urls_;
  int done_ = 0;
  int total_ = 0;
  bool running_ = false;
};

}  // namespace vorlix
