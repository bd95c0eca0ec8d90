#include "health/LinkChecker.h"

#include <QDateTime>
#include <QLocale>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimeZone>
#include <utility>

#include "health/CanonicalUrl.h"
#include "health/PageSigns.h"

namespace vorlix {

const char kCheckUserAgent[] =
    "Mozilla/5.0 (X11; Linux x86_64; rv:128.0) Gecko/20100101 Firefox/128.0";

namespace {

// Enough of a page for its title and the words of a parking page.
constexpr qsizetype kHeadBytes = 16384;

QUrl parsed(const QString& text) {
  const QString t = text.trimmed();
  QUrl u(t, QUrl::TolerantMode);
  if (u.scheme().isEmpty()) u = QUrl::fromUserInput(t);
  return u;
}

bool isWeb(const QUrl& u) {
  const QString s = u.scheme().toLower();
  return s == QLatin1String("http") || s == QLatin1String("https");
}

QString hostKey(const QUrl& u) {
  const bool secure = u.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0;
  return u.host().toLower() + QLatin1Char(':') + QString::number(u.port(secure ? 443 : 80));
}

bool isRootPath(const QUrl& u) {
  return (u.path().isEmpty() || u.path() == QLatin1String("/")) && !u.hasQuery();
}

// Whether a link names a page below the front page: a path other than the
// front page's own names ("/", "/index.html"), or a query that is more
// than tracking parameters.
bool isDeepLink(const QUrl& u) {
  const QString path = u.path();
  const QString last = path.section(QLatin1Char('/'), -1).toLower();
  const bool front = path.count(QLatin1Char('/')) <= 1 &&
                     (last.isEmpty() || last.startsWith(QLatin1String("index.")) ||
                      last.startsWith(QLatin1String("default.")));
  if (!front) return true;
  const QStringList params =
      u.query(QUrl::FullyEncoded).split(QLatin1Char('&'), Qt::SkipEmptyParts);
  for (const QString& p : params) {
    const QByteArray name = p.section(QLatin1Char('='), 0, 0).toLatin1();
    if (!isTrackingParameter(std::string_view(name.constData(), size_t(name.size())))) return true;
  }
  return false;
}

QString siteOf(const QUrl& u) {
  QString h = u.host().toLower();
  if (h.startsWith(QLatin1String("www."))) h.remove(0, 4);
  return h;
}

bool isPermanent(int status) { return status == 301 || status == 308; }

// Milliseconds to wait, or -1 when the header says nothing usable.
qint64 retryAfterMs(const QByteArray& value) {
  const QByteArray v = value.trimmed();
  if (v.isEmpty()) return -1;
  bool ok = false;
  const qint64 seconds = v.toLongLong(&ok);
  if (ok) return seconds < 0 ? -1 : seconds * 1000;
  // An HTTP date: "Sun, 06 Nov 1994 08:49:37 GMT", in English whatever the
  // user's language.
  QDateTime at = QLocale::c().toDateTime(QString::fromLatin1(v),
                                         QStringLiteral("ddd, dd MMM yyyy hh:mm:ss 'GMT'"));
  at.setTimeZone(QTimeZone::utc());
  if (!at.isValid()) at = QDateTime::fromString(QString::fromLatin1(v), Qt::RFC2822Date);
  if (!at.isValid()) return -1;
  return std::max<qint64>(0, QDateTime::currentDateTimeUtc().msecsTo(at));
}

ProbeResult result(Verdict v, int status, const QUrl& finalUrl, const QString& reason) {
  ProbeResult r;
  r.verdict = v;
  r.status = status;
  r.finalUrl = finalUrl.toString(QUrl::FullyEncoded);
  r.reason = reason;
  return r;
}

}  // namespace

bool isCheckableUrl(const QString& url, QString* why) {
  const QUrl u = parsed(url);
  const QString scheme = u.scheme().toLower();
  QString reason;
  if (url.trimmed().isEmpty())
    reason = QStringLiteral("No address");
  else if (!isWeb(u))
    reason = QStringLiteral("Not a web link (%1:)").arg(scheme);
  else if (!u.isValid() || u.host().isEmpty())
    reason = QStringLiteral("Not a valid web address");
  if (why) *why = reason;
  return reason.isEmpty();
}

LinkChecker::LinkChecker(const PacingRules& rules, QObject* parent)
    : QObject(parent), rules_(rules), scheduler_(rules, this) {}

LinkChecker::~LinkChecker() {
  cancelled_ = true;
  for (QNetworkReply* r : std::as_const(replies_)) r->abort();
}

void LinkChecker::start(const QVector<CheckJob>& jobs) {
  cancelled_ = false;
  sawAnswer_ = false;
  unresolved_.clear();
  if (!net_) {
    // Made here, in the checker's own thread.
    net_ = new QNetworkAccessManager(this);
    net_->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
  }
  for (const CheckJob& job : jobs) {
    QString why;
    if (!isCheckableUrl(job.url, &why)) {
      ProbeResult r;
      r.reason = why;
      emit linkChecked(job.id, r);
      continue;
    }
    auto p = std::make_shared<Probe>();
    p->id = job.id;
    p->original = p->current = parsed(job.url);
    p->seen.insert(p->original);
    ++pending_;
    send(p, false);
  }
  finishIfDone();
}

void LinkChecker::cancel() {
  if (cancelled_) return;
  cancelled_ = true;
  scheduler_.clear();
  unresolved_.clear();
  const QSet<QNetworkReply*> running = replies_;
  for (QNetworkReply* r : running) r->abort();
  pending_ = 0;
  emit finished();
}

void LinkChecker::finishIfDone() {
  if (cancelled_) return;
  if (pending_ > 0 && size_t(pending_) == unresolved_.size()) {
    // Only unresolved names are left and no site answered at all.
    for (const ProbePtr& u : std::exchange(unresolved_, {}))
      conclude(u, result(Verdict::Unreachable, 0, u->current,
                         QStringLiteral("Name lookup failed while no site answered")));
    return;
  }
  if (pending_ == 0) emit finished();
}

void LinkChecker::send(const ProbePtr& p, bool first) {
  scheduler_.enqueue(
      hostKey(p->current), [this, p] { issue(p); }, first);
}

void LinkChecker::issue(const ProbePtr& p) {
  if (cancelled_) {
    scheduler_.finished(hostKey(p->current));
    return;
  }
  QNetworkRequest req(p->current);
  req.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
  req.setTransferTimeout(rules_.timeoutMs);
  req.setHeader(QNetworkRequest::UserAgentHeader, QByteArray(kCheckUserAgent));
  req.setRawHeader("Accept", "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8");
  req.setRawHeader("Accept-Language", "en-US,en;q=0.5");
  p->head.clear();
  p->gotEnough = false;
  QNetworkReply* reply = nullptr;
  if (p->useGet) {
    req.setRawHeader("Range", "bytes=0-" + QByteArray::number(kHeadBytes - 1));
    reply = net_->get(req);
    connect(reply, &QNetworkReply::readyRead, this, [p, reply] {
      if (p->gotEnough) return;
      p->head += reply->read(kHeadBytes - p->head.size());
      // A server that ignores the range would send the whole page.
      if (p->head.size() >= kHeadBytes && !reply->isFinished()) {
        p->gotEnough = true;
        reply->abort();
      }
    });
  } else {
    reply = net_->head(req);
  }
  replies_.insert(reply);
  connect(reply, &QNetworkReply::finished, this, [this, p, reply] { answered(p, reply); });
}

void LinkChecker::answered(const ProbePtr& p, QNetworkReply* reply) {
  replies_.remove(reply);
  reply->deleteLater();
  const QString host = hostKey(p->current);
  const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  const QNetworkReply::NetworkError error = reply->error();
  if (p->useGet && !p->gotEnough && p->head.size() < kHeadBytes)
    p->head += reply->read(kHeadBytes - p->head.size());
  scheduler_.finished(host, p->gotEnough || (status == 0 && error != QNetworkReply::NoError));
  if (cancelled_) return;

  if (status == 0) {
    switch (error) {
      case QNetworkReply::HostNotFoundError:
        if (!sawAnswer_) {
          unresolved_.push_back(p);
          return finishIfDone();
        }
        return conclude(p, result(Verdict::Gone, 0, p->current, QStringLiteral("No such host")));
      case QNetworkReply::RemoteHostClosedError:
        if (!p->useGet) {  // some servers hang up on HEAD
          p->useGet = true;
          return send(p, true);
        }
        break;
      case QNetworkReply::OperationCanceledError:
      case QNetworkReply::TimeoutError:
        return conclude(
            p, result(Verdict::Unreachable, 0, p->current, QStringLiteral("No answer in time")));
      default:
        break;
    }
    // Connection and TLS failures are below 100; proxy and protocol ones
    // say nothing about the link.
    const Verdict v = int(error) < 100 ? Verdict::Unreachable : Verdict::Unknown;
    return conclude(p, result(v, 0, p->current, reply->errorString()));
  }

  if (!sawAnswer_) {
    // A site answered, so names resolve: the ones that did not are gone.
    sawAnswer_ = true;
    for (const ProbePtr& u : std::exchange(unresolved_, {}))
      conclude(u, result(Verdict::Gone, 0, u->current, QStringLiteral("No such host")));
  }

  if ((status == 429 || status == 503) && p->retries < rules_.maxRetries) {
    const qint64 wait = retryAfterMs(reply->rawHeader("Retry-After"));
    if (wait >= 0 && wait <= rules_.maxRetryAfterMs) {
      ++p->retries;
      scheduler_.hold(host, wait);
      return send(p, true);
    }
  }

  const QByteArray location = reply->rawHeader("Location");
  if (status >= 300 && status < 400 && !location.isEmpty()) {
    const QUrl target = p->current.resolved(QUrl::fromEncoded(location.trimmed()));
    if (int(p->hops.size()) >= rules_.maxRedirects)
      return conclude(p, result(Verdict::Unknown, status, p->current,
                                QStringLiteral("More than %1 redirects").arg(rules_.maxRedirects)));
    if (p->seen.contains(target))
      return conclude(p, result(Verdict::Unknown, status, target, QStringLiteral("Redirect loop")));
    p->seen.insert(target);
    p->hops.push_back({status, target});
    p->current = target;
    if (!isWeb(target))
      return conclude(p, result(Verdict::Unknown, status, target,
                                QStringLiteral("Redirected to a non-web link")));
    return send(p, true);
  }

  if (!p->useGet) {
    const QString type = reply->header(QNetworkRequest::ContentTypeHeader).toString();
    const bool page = type.isEmpty() || type.contains(QLatin1String("html"));
    // A page's words tell a parked domain or a challenge from the real one;
    // anything refused or failed on HEAD is asked again with GET, since
    // many servers answer HEAD wrongly.
    if (((status >= 200 && status < 300) && page) ||
        (status >= 400 && status != 429 && status != 451)) {
      p->useGet = true;
      return send(p, true);
    }
  }
  conclude(p, finalVerdict(*p, status, p->head));
}

ProbeResult LinkChecker::finalVerdict(const Probe& p, int status, const QByteArray& head) const {
  ProbeResult r = result(Verdict::Unknown, status, p.current, {});
  if ((status >= 200 && status < 300) || status == 416) {
    if (looksParked(head)) {
      r.verdict = Verdict::Gone;
      r.reason = QStringLiteral("The domain is parked or for sale");
    } else if (looksLikeChallenge(head)) {
      r.verdict = Verdict::Blocked;
      r.reason = QStringLiteral("A challenge page instead of the page");
    } else {
      r.verdict = Verdict::Ok;
    }
  } else if (status == 404 || status == 410) {
    r.verdict = Verdict::Gone;
    r.reason = status == 404 ? QStringLiteral("Not found") : QStringLiteral("Gone");
  } else if (status == 401 || status == 403 || status == 407 || status == 429 || status == 451) {
    r.verdict = Verdict::Blocked;
    r.reason = QStringLiteral("The site refused the check");
  } else if (status >= 500 && looksLikeChallenge(head)) {
    r.verdict = Verdict::Blocked;
    r.reason = QStringLiteral("A challenge page instead of the page");
  } else {
    r.reason = status >= 500 ? QStringLiteral("Server error") : QStringLiteral("Unusual answer");
  }
  if (r.verdict != Verdict::Ok || p.hops.empty()) return r;

  // A page that went away often sends its visitors to the front page.
  const bool deep = isDeepLink(p.original);
  for (const Hop& hop : p.hops)
    if (deep && isRootPath(hop.to) && siteOf(hop.to) == siteOf(p.original)) {
      r.verdict = Verdict::Gone;
      r.reason = QStringLiteral("Sent to the site's front page");
      return r;
    }
  // Only permanent redirects move a link, and only as far as they go.
  QUrl moved;
  for (const Hop& hop : p.hops) {
    if (!isPermanent(hop.status)) break;
    moved = hop.to;
  }
  if (!moved.isEmpty() && moved != p.original) {
    r.verdict = Verdict::Moved;
    r.movedTo = moved.toString(QUrl::FullyEncoded);
    r.reason = QStringLiteral("Moved permanently");
  }
  return r;
}

void LinkChecker::conclude(const ProbePtr& p, const ProbeResult& r) {
  emit linkChecked(p->id, r);
  --pending_;
  finishIfDone();
}

}  // namespace vorlix
