#include "health/CheckRun.h"

#include "health/CheckHistory.h"

namespace vorlix {

CheckRun::CheckRun(const PacingRules& rules, CheckHistory& history, Clock clock, QObject* parent)
    : QObject(parent),
      history_(history),
      clock_(clock ? std::move(clock) : Clock([] { return QDateTime::currentDateTimeUtc(); })),
      checker_(new LinkChecker(rules)) {
  qRegisterMetaType<vorlix::ProbeResult>();
  qRegisterMetaType<vorlix::CheckJob>();
  qRegisterMetaType<QVector<vorlix::CheckJob>>();
  // The network work stays off the thread that draws the windows.
  checker_->moveToThread(&thread_);
  connect(&thread_, &QThread::finished, checker_, &QObject::deleteLater);
  connect(checker_, &LinkChecker::linkChecked, this, &CheckRun::take);
  connect(checker_, &LinkChecker::finished, this, [this] {
    if (running_) end(false);
  });
  thread_.setObjectName(QStringLiteral("Link check"));
  thread_.start();
}

CheckRun::~CheckRun() {
  cancel();
  thread_.quit();
  thread_.wait();
}

void CheckRun::start(const QVector<CheckJob>& jobs) {
  urls_.clear();
  for (const CheckJob& j : jobs) urls_.insert(j.id, j.url);
  done_ = 0;
  total_ = int(jobs.size());
  running_ = true;
  emit progress(0, total_);
  QMetaObject::invokeMethod(checker_, "start", Qt::QueuedConnection,
                            Q_ARG(QVector<vorlix::CheckJob>, jobs));
}

void CheckRun::cancel() {
  if (!running_) return;
  QMetaObject::invokeMethod(checker_, "cancel", Qt::QueuedConnection);
  end(true);
}

void CheckRun::take(quint32 id, const ProbeResult& r) {
  if (!running_) return;  // an answer that was on its way when we stopped
  const LinkCheck c = history_.record(urls_.value(id), r, clock_());
  ++done_;
  emit linkChecked(id, c);
  emit progress(done_, total_);
}

void CheckRun::end(bool cancelled) {
  running_ = false;
  history_.save();
  emit finished(cancelled);
}

}  // namespace vorlix
