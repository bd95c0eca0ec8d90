#include "sync/SyncTarget.h"

#include <QEventLoop>
#include <QLocale>
#include <QTimer>
#include <QUrl>

#include "sync/FolderTarget.h"
#include "sync/GitTarget.h"
#include "sync/TargetAddress.h"
#include "sync/WebDavTarget.h"

namespace vorlix::sync {

bool SyncTarget::pauseForLock(qint64 waitedMs, const QDateTime& since, QString& error) const {
  const QString at = QLocale::system().toString(since.toLocalTime(), QLocale::ShortFormat);
  if (cancelled && cancelled()) {
    error =
        QStringLiteral("The sync was stopped while another sync held the lock (since %1).").arg(at);
    return false;
  }
  if (waitedMs >= wait.giveUpMs) {
    error =
        QStringLiteral("The bookmarks file is locked by another sync since %1. Try again later.")
            .arg(at);
    return false;
  }
  tell(QStringLiteral("Waiting: another sync holds the lock since %1…").arg(at));
  QEventLoop pause;
  QTimer::singleShot(wait.retryMs, &pause, &QEventLoop::quit);
  pause.exec();
  return true;
}

std::unique_ptr<SyncTarget> makeTarget(const QString& spec, const TargetOptions& options,
                                       QString& error) {
  const std::optional<TargetAddress> parsed = parseTargetAddress(spec, error);
  if (!parsed) return nullptr;
  switch (parsed->kind) {
    case TargetAddress::Kind::WebDav:
      return std::make_unique<WebDavTarget>(QUrl(composeTargetAddress(*parsed)), options);
    case TargetAddress::Kind::Git:
      return std::make_unique<GitTarget>(*parsed, options);
    case TargetAddress::Kind::Folder:
      break;
  }
  return std::make_unique<FolderTarget>(composeTargetAddress(*parsed));
}

}  // namespace vorlix::sync
