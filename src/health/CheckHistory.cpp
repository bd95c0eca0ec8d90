#include "health/CheckHistory.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>

#include "platform/AtomicFile.h"

namespace vorlix {

CheckHistory::CheckHistory(QString path) : path_(std::move(path)) {}

QString CheckHistory::defaultPath() {
  QString state = qEnvironmentVariable("XDG_STATE_HOME");
  if (state.isEmpty()) state = QDir::homePath() + QStringLiteral("/.local/state");
  return state + QStringLiteral("/vorlix/link-checks.json");
}

void CheckHistory::load() {
  failures_.clear();
  QByteArray data;
  if (!readWholeFile(path_, data)) return;
  const QJsonObject all = QJsonDocument::fromJson(data).object();
  for (auto it = all.begin(); it != all.end(); ++it) {
    const QJsonObject o = it.value().toObject();
    const QDateTime first =
        QDateTime::fromString(o.value(QStringLiteral("first_failure")).toString(), Qt::ISODate);
    const QString v = o.value(QStringLiteral("verdict")).toString();
    if (!first.isValid()) continue;
    if (v == verdictKey(Verdict::Gone))
      failures_.insert(it.key(), {first, Verdict::Gone});
    else if (v == verdictKey(Verdict::Unreachable))
      failures_.insert(it.key(), {first, Verdict::Unreachable});
  }
}

bool CheckHistory::save() const {
  QJsonObject all;
  for (auto it = failures_.begin(); it != failures_.end(); ++it)
    all.insert(it.key(),
               QJsonObject{{QStringLiteral("first_failure"), it->first.toString(Qt::ISODate)},
                           {QStringLiteral("verdict"), verdictKey(it->verdict)}});
  return writeFileAtomically(path_, QJsonDocument(all).toJson(QJsonDocument::Compact));
}

LinkCheck CheckHistory::record(const QString& url, const ProbeResult& probe, const QDateTime& now) {
  LinkCheck c;
  c.probe = probe;
  const Verdict v = probe.verdict;
  if (v == Verdict::Ok || v == Verdict::Moved) {
    failures_.remove(url);
    return c;
  }
  if (!isFailure(v)) return c;
  auto it = failures_.find(url);
  if (it == failures_.end() || it->verdict != v || it->first > now)
    it = failures_.insert(url, {now.toUTC(), v});
  c.firstFailure = it->first;
  c.confirmed = it->first.secsTo(now) >= kConfirmAfterSecs;
  return c;
}

}  // namespace vorlix
