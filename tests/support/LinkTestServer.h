#pragma once
// A small HTTP/1.1 server on 127.0.0.1 for the link checks: each of its
// ports is one "host", serving the same routes, and counting how many
// connections it has open at once. Runs on the thread that makes it.
#include <QDateTime>
#include <QHash>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <vector>

namespace vorlix::test {

class LinkTestServer {
 public:
  // How long /slow keeps its answer back.
  int slowMs = 3000;

  // Opens `hosts` ports; false when one could not be opened.
  bool listen(int hosts) {
    for (int i = 0; i < hosts; ++i) {
      auto port = std::make_unique<Port>();
      if (!port->server.listen(QHostAddress(QHostAddress::LocalHost), 0)) return false;
      Port* p = port.get();
      QObject::connect(&p->server, &QTcpServer::newConnection, &p->server,
                       [this, p] { accept(*p); });
      ports_.push_back(std::move(port));
    }
    return true;
  }
  QString base(int host = 0) const {
    return QStringLiteral("http://127.0.0.1:%1").arg(ports_[size_t(host)]->server.serverPort());
  }
  // The most connections any one port had open at once.
  int peakConnections() const {
    int peak = 0;
    for (const auto& p : ports_) peak = std::max(peak, p->peak);
    return peak;
  }
  // Requests for `path` on every port, HEAD and GET alike.
  int requestsFor(const QString& path) const {
    int n = 0;
    for (const auto& p : ports_) n += p->hits.value(path);
    return n;
  }
  int totalRequests() const {
    int n = 0;
    for (const auto& p : ports_)
      for (int v : p->hits) n += v;
    return n;
  }
  // A URL on 127.0.0.1 where nothing listens.
  static QString refusedBase() {
    QTcpServer probe;
    probe.listen(QHostAddress(QHostAddress::LocalHost), 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return QStringLiteral("http://127.0.0.1:%1").arg(port);
  }

 private:
  struct Port {
    QTcpServer server;
    int open = 0;
    int peak = 0;
    QHash<QString, int> hits;
  };
  struct Answer {
    int status = 200;
    QByteArray headers;
    QByteArray body;
    int delayMs = 0;
  };

  void accept(Port& p) {
    while (QTcpSocket* s = p.server.nextPendingConnection()) {
      p.peak = std::max(p.peak, ++p.open);
      auto buffer = std::make_shared<QByteArray>();
      QObject::connect(s, &QTcpSocket::disconnected, s, [&p, s] {
        --p.open;
        s->deleteLater();
      });
      QObject::connect(s, &QTcpSocket::readyRead, s, [this, &p, s, buffer] {
        *buffer += s->readAll();
        for (qsizetype end; (end = buffer->indexOf("\r\n\r\n")) >= 0;) {
          const QByteArray head = buffer->left(end);
          buffer->remove(0, end + 4);
          const QList<QByteArray> line = head.left(head.indexOf("\r\n")).split(' ');
          const QByteArray method = line.value(0);
          // Routes by path; a query only makes links distinct.
          const QString path = QString::fromLatin1(line.value(1)).section(QLatin1Char('?'), 0, 0);
          ++p.hits[path];
          const Answer a = route(method, path, p.hits[path]);
          QByteArray out = "HTTP/1.1 " + QByteArray::number(a.status) + " X\r\n" +
                           "Content-Length: " + QByteArray::number(a.body.size()) + "\r\n" +
                           a.headers + "\r\n";
          if (method != "HEAD") out += a.body;
          if (a.delayMs > 0) {
            QTimer::singleShot(a.delayMs, s, [s, out] {
              if (s->state() == QAbstractSocket::ConnectedState) s->write(out);
            });
          } else {
            s->write(out);
          }
        }
      });
    }
  }

  static QByteArray html(const char* title, const char* text = "") {
    return QByteArray("<html><head><title>") + title + "</title></head><body>" + text +
           "</body></html>";
  }

  Answer route(const QByteArray& method, const QString& path, int hit) const {
    const QByteArray type = "Content-Type: text/html\r\n";
    auto go = [](int status, const char* to) {
      return Answer{status, QByteArray("Location: ") + to + "\r\n", {}, 0};
    };
    if (path == QLatin1String("/") || path == QLatin1String("/ok"))
      return {200, type, html("Fine")};
    if (path == QLatin1String("/file.bin"))
      return {200, "Content-Type: application/octet-stream\r\n", "0123456789"};
    if (path == QLatin1String("/moved")) return go(301, "/moved2");
    if (path == QLatin1String("/moved2")) return go(308, "/ok");
    if (path == QLatin1String("/temp")) return go(302, "/ok");
    if (path == QLatin1String("/perm-then-temp")) return go(301, "/temp");
    if (path == QLatin1String("/loop")) return go(301, "/loop2");
    if (path == QLatin1String("/loop2")) return go(308, "/loop");
    if (path.startsWith(QLatin1String("/chain/"))) {
      const int n = path.mid(7).toInt();
      return n > 0 ? go(301, qPrintable(QStringLiteral("/chain/%1").arg(n - 1))) : go(301, "/ok");
    }
    if (path == QLatin1String("/404")) return {404, type, html("Not Found")};
    if (path == QLatin1String("/410")) return {410, type, html("Gone")};
    if (path == QLatin1String("/403")) return {403, type, html("Forbidden")};
    if (path == QLatin1String("/429")) return {429, "Retry-After: 1\r\n", {}};
    if (path == QLatin1String("/429-once") && hit == 1) return {429, "Retry-After: 1\r\n", {}};
    if (path == QLatin1String("/429-once")) return {200, type, html("Fine")};
    if (path == QLatin1String("/429-date-once") && hit == 1) {
      const QDateTime at = QDateTime::currentDateTimeUtc().addSecs(1);
      return {429,
              "Retry-After: " +
                  at.toString(QStringLiteral("ddd, dd MMM yyyy hh:mm:ss 'GMT'")).toLatin1() +
                  "\r\n",
              {}};
    }
    if (path == QLatin1String("/429-date-once")) return {200, type, html("Fine")};
    if (path == QLatin1String("/503")) return {503, type, html("Unavailable")};
    if (path == QLatin1String("/challenge"))
      return {503, type, html("Just a moment...", "Checking your browser")};
    if (path == QLatin1String("/slow")) return {200, type, html("Late"), slowMs};
    if (path == QLatin1String("/parked"))
      return {200, type, html("example.com is for sale", "Buy this domain today")};
    if (path == QLatin1String("/deep/missing")) return go(302, "/");
    if (path == QLatin1String("/index.html")) return go(301, "/");
    if (path == QLatin1String("/nohead"))
      return method == "HEAD" ? Answer{405, {}, {}} : Answer{200, type, html("Fine")};
    return {404, type, html("Not Found")};
  }

  std::vector<std::unique_ptr<Port>> ports_;
};

}  // namespace vorlix::test
