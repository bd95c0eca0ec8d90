#include "sync/SyncTarget.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QLocale>
#include <QTimer>
#include <QUrl>

#include "sync/FolderTarget.h"
#include "sync/WebDavTarget.h"

namespace vorlix::sync {

bool SyncTarget::pauseForLock(qint64 waitedMs, const QDateTime& since, QString& error) const {
  const QString at = QLocale::system().toString(since.toLocalTime(), QLocale::ShortFormat);
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

namespace {
const QString kDefaultFile = QStringLiteral("bookmarks.xbel");

bool isThisComputer(const QString& host) {
  return host == QLatin1String("localhost") || host == QLatin1String("127.0.0.1") ||
         host == QLatin1String("::1") || host == QLatin1String("[::1]");
}
}  // namespace

std::unique_ptr<SyncTarget> makeTarget(const QString& spec, const TargetOptions& options,
                                       QString& error) {
  const QString trimmed = spec.trimmed();
  if (trimmed.isEmpty()) {
    error = QStringLiteral("No sync target is set.");
    return nullptr;
  }
  const QUrl url(trimmed, QUrl::StrictMode);
  const QString scheme = url.scheme().toLower();
  if (scheme == QLatin1String("http") || scheme == QLatin1String("https")) {
    if (!url.isValid() || url.host().isEmpty()) {
      error = QStringLiteral("%1 is not a WebDAV address.").arg(trimmed);
      return nullptr;
    }
    // Basic authentication sends the password readable by anyone between.
    if (scheme == QLatin1String("http") && !isThisComputer(url.host())) {
      error = QStringLiteral(
                  "%1 is not encrypted. Use an https address; plain http is only "
                  "allowed for this computer (localhost).")
                  .arg(trimmed);
      return nullptr;
    }
    QUrl file = url;
    file.setQuery(QString());
    file.setFragment(QString());
    if (!file.path().endsWith(QLatin1String(".xbel"), Qt::CaseInsensitive)) {
      QString path = file.path();
      if (!path.endsWith(QLatin1Char('/'))) path += QLatin1Char('/');
      file.setPath(path + kDefaultFile);
    }
    return std::make_unique<WebDavTarget>(file, options);
  }
  if (!scheme.isEmpty() && scheme != QLatin1String("file") && scheme.size() > 1) {
    error = QStringLiteral(
                "%1 is not a target Vorlix can sync with: give a WebDAV address "
                "(https://...) or a folder.")
                .arg(trimmed);
    return nullptr;
  }
  QString path = scheme == QLatin1String("file") ? url.toLocalFile() : trimmed;
  path = QFileInfo(path).absoluteFilePath();
  if (!path.endsWith(QLatin1String(".xbel"), Qt::CaseInsensitive))
    path = QDir(path).filePath(kDefaultFile);
  return std::make_unique<FolderTarget>(QDir::cleanPath(path));
}

}  // namespace vorlix::sync
