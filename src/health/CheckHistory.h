#pragma once
// What earlier checks found, per URL, so that a link counts as dead only
// after two failures at least a day apart. Kept in
// $XDG_STATE_HOME/vorlix/link-checks.json (default ~/.local/state).
#include <QDateTime>
#include <QHash>
#include <QString>

#include "health/Verdict.h"

namespace vorlix {

class CheckHistory {
 public:
  explicit CheckHistory(QString path = defaultPath());
  static QString defaultPath();

  // Reads the file; a missing or unreadable one is an empty history.
  void load();
  // Writes it whole or not at all; false when it could not be written.
  bool save() const;

  // Notes one check of `url` at `now` and tells what it means together with
  // the earlier ones. A success ends a run of failures; Blocked and Unknown
  // neither start nor end one.
  LinkCheck record(const QString& url, const ProbeResult& probe, const QDateTime& now);

  static constexpr qint64 kConfirmAfterSecs = 24 * 60 * 60;

 private:
  struct Failure {
    QDateTime first;
    Verdict verdict;
  };
  QString path_;
  QHash<QString, Failure> failures_;
};

}  // namespace vorlix
