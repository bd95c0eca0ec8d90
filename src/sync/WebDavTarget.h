#pragma once
// The bookmarks file on a WebDAV server, as floccus keeps it: GET and PUT
// with Basic authentication, the lock file beside it. A new file goes up
// as "<file>.temp" and is moved over the old one, so a connection lost
// half-way never leaves a cut file behind.
#include <QNetworkAccessManager>
#include <QTimer>
#include <QUrl>

#include "sync/SyncTarget.h"

namespace vorlix::sync {

class WebDavTarget : public SyncTarget {
 public:
  // `file` is the bookmarks file's URL.
  WebDavTarget(QUrl file, TargetOptions options);
  ~WebDavTarget() override;

  QString describe() const override;
  QString fileName() const override { return file_.fileName(); }
  bool lock(QString& error) override;
  void unlock() override;
  bool fetch(QByteArray& data, bool& exists, QString& error) override;
  bool store(const QByteArray& data, QString& error) override;

  struct Reply {
    int status = 0;  // 0: no answer from the server
    QByteArray body;
    QDateTime lastModified;
    QString networkError;
  };
  // Runs between finding no lock and writing ours: where a test lets
  // another sync take it.
  std::function<void()> beforeLockWrite;

  // One request, waited for in a local event loop.
  Reply send(const QByteArray& verb, const QUrl& url, const QByteArray& body = {},
             const QList<QPair<QByteArray, QByteArray>>& headers = {});

 private:
  QUrl sibling(const QString& suffix) const;
  QDateTime modifiedTime(const QUrl& url);
  QString failure(const Reply& reply, const QByteArray& verb, const QUrl& url) const;

  QUrl file_;
  TargetOptions options_;
  QNetworkAccessManager net_;
  QTimer refresh_;
  bool locked_ = false;
};

}  // namespace vorlix::sync
