#include "sync/WebDavTarget.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QLocale>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QTimeZone>

namespace vorlix::sync {

namespace {
constexpr int kTransferTimeoutMs = 60 * 1000;
}

WebDavTarget::WebDavTarget(QUrl file, TargetOptions options)
    : file_(std::move(file)), options_(std::move(options)) {
  if (options_.user.isEmpty()) options_.user = file_.userName();
  file_.setUserInfo(QString());
  refresh_.setInterval(kLockRefreshMs);
  QObject::connect(&refresh_, &QTimer::timeout, [this] {
    QNetworkRequest request(sibling(QStringLiteral(".lock")));
    if (!options_.user.isEmpty())
      request.setRawHeader(
          "Authorization",
          "Basic " + (options_.user + QLatin1Char(':') + options_.password).toUtf8().toBase64());
    QNetworkReply* reply = net_.put(request, QByteArray(kLockContent));
    QObject::connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
  });
}

WebDavTarget::~WebDavTarget() { unlock(); }

QString WebDavTarget::describe() const {
  QUrl shown = file_;
  if (!options_.user.isEmpty()) shown.setUserName(options_.user);
  return shown.toString();
}

QUrl WebDavTarget::sibling(const QString& suffix) const {
  QUrl url = file_;
  url.setPath(file_.path() + suffix);
  return url;
}

WebDavTarget::Reply WebDavTarget::send(const QByteArray& verb, const QUrl& url,
                                       const QByteArray& body,
                                       const QList<QPair<QByteArray, QByteArray>>& headers) {
  QNetworkRequest request(url);
  request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                       QNetworkRequest::ManualRedirectPolicy);
  request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
  request.setTransferTimeout(kTransferTimeoutMs);
  request.setRawHeader("Cache-Control", "no-cache");
  if (!options_.user.isEmpty())
    request.setRawHeader(
        "Authorization",
        "Basic " + (options_.user + QLatin1Char(':') + options_.password).toUtf8().toBase64());
  for (const auto& [name, value] : headers) request.setRawHeader(name, value);
  if (!body.isEmpty() || verb == "PUT")
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArray("application/xml"));
  QNetworkReply* reply = net_.sendCustomRequest(request, verb, body);
  QEventLoop loop;
  QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
  loop.exec();
  Reply out;
  out.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  out.body = reply->readAll();
  out.lastModified = reply->header(QNetworkRequest::LastModifiedHeader).toDateTime();
  if (out.status == 0) out.networkError = reply->errorString();
  reply->deleteLater();
  return out;
}

QString WebDavTarget::failure(const Reply& reply, const QByteArray& verb, const QUrl& url) const {
  if (reply.status == 0)
    return QStringLiteral("No connection to %1: %2").arg(url.host(), reply.networkError);
  if (reply.status == 401 || reply.status == 403)
    return QStringLiteral("The server %1 refused the user name or password (%2).")
        .arg(url.host())
        .arg(reply.status);
  return QStringLiteral("The server %1 answered %2 to %3 %4.")
      .arg(url.host())
      .arg(reply.status)
      .arg(QString::fromLatin1(verb), url.path());
}

QDateTime WebDavTarget::modifiedTime(const QUrl& url) {
  // Some servers (lighttpd's WebDAV) send no Last-Modified with GET; their
  // PROPFIND has it.
  const Reply reply = send("PROPFIND", url, {}, {{"Depth", "0"}});
  static const QRegularExpression property(QStringLiteral("<[^>]*getlastmodified[^>]*>([^<]+)<"));
  const QRegularExpressionMatch m = property.match(QString::fromUtf8(reply.body));
  if (reply.status != 207 || !m.hasMatch()) return {};
  // An HTTP date: "Tue, 08 Dec 2026 10:20:23 GMT".
  QDateTime when = QLocale::c().toDateTime(m.captured(1).trimmed(),
                                           QStringLiteral("ddd, dd MMM yyyy HH:mm:ss 'GMT'"));
  when.setTimeZone(QTimeZone::utc());
  return when;
}

bool WebDavTarget::lock(QString& error) {
  const QUrl lockUrl = sibling(QStringLiteral(".lock"));
  QElapsedTimer waited;
  waited.start();
  for (;;) {
    const Reply held = send("GET", lockUrl);
    QDateTime since;
    if (held.status == 200) {
      since = held.lastModified.isValid() ? held.lastModified : modifiedTime(lockUrl);
      const bool stale =
          since.isValid() && since.secsTo(QDateTime::currentDateTimeUtc()) > kLockStaleSecs;
      if (!stale && !since.isValid()) since = QDateTime::currentDateTime();
      if (stale) since = {};
    } else if (held.status != 404) {
      error = failure(held, "GET", lockUrl);
      return false;
    }
    if (!since.isValid()) {
      // Where there was none, the lock is only created while still absent,
      // so two syncs that both found none cannot both take it (a server
      // that ignores the condition behaves as before). A stale one is
      // written over.
      QList<QPair<QByteArray, QByteArray>> onlyNew;
      if (held.status == 404)
        onlyNew.append(qMakePair(QByteArray("If-None-Match"), QByteArray("*")));
      if (beforeLockWrite) beforeLockWrite();
      const Reply put = send("PUT", lockUrl, kLockContent, onlyNew);
      if (put.status >= 200 && put.status < 300) {
        locked_ = true;
        refresh_.start();
        return true;
      }
      if (put.status != 423 && put.status != 409 && put.status != 412) {
        error = failure(put, "PUT", lockUrl);
        return false;
      }
      since = QDateTime::currentDateTime();  // locked by the server's own means
    }
    if (!pauseForLock(waited.elapsed(), since, error)) return false;
  }
}

void WebDavTarget::unlock() {
  refresh_.stop();
  if (!locked_) return;
  locked_ = false;
  send("DELETE", sibling(QStringLiteral(".lock")));
}

bool WebDavTarget::fetch(QByteArray& data, bool& exists, QString& error) {
  const Reply reply = send("GET", file_);
  exists = reply.status == 200;
  if (reply.status == 200) data = reply.body;
  if (reply.status == 200 || reply.status == 404) return true;
  error = failure(reply, "GET", file_);
  return false;
}

bool WebDavTarget::store(const QByteArray& data, QString& error) {
  const QUrl temp = sibling(QStringLiteral(".temp"));
  const Reply put = send("PUT", temp, data);
  if (put.status < 200 || put.status >= 300) {
    error = failure(put, "PUT", temp);
    return false;
  }
  const QList<QPair<QByteArray, QByteArray>> move{{"Destination", file_.toEncoded()},
                                                  {"Overwrite", "T"}};
  Reply moved = send("MOVE", temp, {}, move);
  if (moved.status == 409) {
    // Some servers will not move over an existing file.
    send("DELETE", file_);
    moved = send("MOVE", temp, {}, move);
  }
  if (moved.status < 200 || moved.status >= 300) {
    error = failure(moved, "MOVE", temp);
    send("DELETE", temp);
    return false;
  }
  return true;
}

}  // namespace vorlix::sync
