#pragma once
// Asks the web about links: HEAD first, a GET of the first bytes when HEAD
// is refused or the page's content must be seen, redirects followed one by
// one, every request paced by the HostScheduler. Lives in a thread of its
// own (CheckRun); results come back through linkChecked().
#include <QObject>
#include <QSet>
#include <QString>
#include <QUrl>
#include <QVector>
#include <memory>

#include "health/HostScheduler.h"
#include "health/PacingRules.h"
#include "health/Verdict.h"

class QNetworkAccessManager;
class QNetworkReply;

namespace vorlix {

struct CheckJob {
  quint32 id = 0;
  QString url;
};

// The browser-like User-Agent the checks send: sites that turn away unknown
// programs are not to look dead.
extern const char kCheckUserAgent[];

// Whether a link is asked about at all: javascript:, place:, file:, about:
// and other non-web links never are. `why` gets the reason for one that is not.
bool isCheckableUrl(const QString& url, QString* why = nullptr);

class LinkChecker : public QObject {
  Q_OBJECT
 public:
  explicit LinkChecker(const PacingRules& rules, QObject* parent = nullptr);
  ~LinkChecker() override;

 public slots:
  void start(const QVector<vorlix::CheckJob>& jobs);
  // Stops: nothing more is sent, requests under way are aborted.
  void cancel();

 signals:
  void linkChecked(quint32 id, const vorlix::ProbeResult& result);
  void finished();

 private:
  struct Hop {
    int status;
    QUrl to;
  };
  struct Probe {
    quint32 id;
    QUrl original;
    QUrl current;
    bool useGet = false;
    int retries = 0;
    std::vector<Hop> hops;
    QSet<QUrl> seen;
    QByteArray head;
    bool gotEnough = false;
  };
  using ProbePtr = std::shared_ptr<Probe>;

  void send(const ProbePtr& p, bool first);
  void issue(const ProbePtr& p);
  void answered(const ProbePtr& p, QNetworkReply* reply);
  void conclude(const ProbePtr& p, const ProbeResult& r);
  ProbeResult finalVerdict(const Probe& p, int status, const QByteArray& head) const;
  void finishIfDone();

  PacingRules rules_;
  HostScheduler scheduler_;
  QNetworkAccessManager* net_ = nullptr;
  QSet<QNetworkReply*> replies_;
  // Links whose host name did not resolve while no site at all has
  // answered yet: with the network down every name fails, and that says
  // nothing about the links.
  std::vector<ProbePtr> unresolved_;
  bool sawAnswer_ = false;
  int pending_ = 0;
  bool cancelled_ = false;
};

}  // namespace vorlix

Q_DECLARE_METATYPE(vorlix::CheckJob)
