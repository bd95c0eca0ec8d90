#pragma once
// lighttpd with mod_webdav on 127.0.0.1, started for one test or benchmark, with Basic
// authentication (alice / secret), and a proxy in front of it that can cut
// the connection of an upload half-way. Git's smart HTTP server runs in the
// same way (GitHttpServer.h).
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>

namespace vorlix::test {

inline QString lighttpdProgram() {
  for (const char* p : {"/usr/sbin/lighttpd", "/usr/local/sbin/lighttpd"})
    if (QFile::exists(QString::fromLatin1(p))) return QString::fromLatin1(p);
  return {};
}

inline quint16 freePort() {
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost, 0);
  return probe.serverPort();
}

class WebDavServer {
 public:
  // False when lighttpd is not installed or does not come up.
  bool start() {
    return launch(QStringLiteral("\"mod_webdav\""),
                  QStringLiteral("webdav.activate = \"enable\"\n"
                                 "webdav.is-readonly = \"disable\"\n"));
  }
  ~WebDavServer() {
    if (server_.state() != QProcess::NotRunning) {
      server_.terminate();
      if (!server_.waitForFinished(3000)) server_.kill();
    }
  }
  quint16 port() const { return port_; }
  // A file on the server, straight from its folder.
  QString file(const QString& name) const { return dir_.path() + QStringLiteral("/www/") + name; }
  QByteArray read(const QString& name) const {
    QFile f(file(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  bool writeFile(const QString& rel, const QByteArray& data) const {
    QFile f(dir_.path() + QLatin1Char('/') + rel);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
  }

 protected:
  // lighttpd serving www/ with `modules` and their `rules`, behind Basic
  // authentication; "%1" in the rules is the server's folder.
  bool launch(const QString& modules, const QString& rules) {
    if (lighttpdProgram().isEmpty()) return false;
    QDir(dir_.path()).mkpath(QStringLiteral("www"));
    writeFile(QStringLiteral("users"), "alice:secret\n");
    for (int attempt = 0; attempt < 5; ++attempt) {
      port_ = freePort();
      const QString conf =
          QStringLiteral(
              "server.document-root = \"%1/www\"\n"
              "server.bind = \"127.0.0.1\"\n"
              "server.port = %2\n"
              "server.modules = (%3, \"mod_auth\", \"mod_authn_file\")\n"
              "server.errorlog = \"%1/error.log\"\n"
              "auth.backend = \"plain\"\n"
              "auth.backend.plain.userfile = \"%1/users\"\n"
              "auth.require = ( \"/\" => ( \"method\" => \"basic\", \"realm\" => \"vorlix\", "
              "\"require\" => \"valid-user\" ) )\n")
              .arg(dir_.path())
              .arg(port_)
              .arg(modules) +
          QString(rules).replace(QStringLiteral("%1"), dir_.path());
      writeFile(QStringLiteral("lighttpd.conf"), conf.toUtf8());
      server_.start(lighttpdProgram(), {QStringLiteral("-D"), QStringLiteral("-f"),
                                        dir_.path() + QStringLiteral("/lighttpd.conf")});
      if (!server_.waitForStarted()) return false;
      for (int i = 0; i < 100 && server_.state() == QProcess::Running; ++i) {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, port_);
        if (probe.waitForConnected(100)) return true;
        QThread::msleep(50);
      }
      server_.kill();
      server_.waitForFinished();
    }
    return false;
  }

 private:
  QTemporaryDir dir_;
  QProcess server_;
  quint16 port_ = 0;
};

// Passes every connection through to the server; while `dropUploads` is set
// it cuts a connection that starts to send a bookmarks file.
class DroppingProxy : public QObject {
 public:
  explicit DroppingProxy(quint16 serverPort) : serverPort_(serverPort) {
    listener_.listen(QHostAddress::LocalHost, 0);
    connect(&listener_, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* client = listener_.nextPendingConnection()) pipe(client);
    });
  }
  quint16 port() const { return listener_.serverPort(); }
  bool dropUploads = false;
  int dropped = 0;

 private:
  void pipe(QTcpSocket* client) {
    auto* server = new QTcpSocket(client);
    server->connectToHost(QHostAddress::LocalHost, serverPort_);
    server->waitForConnected(2000);
    connect(client, &QTcpSocket::readyRead, server, [this, client, server] {
      const QByteArray data = client->readAll();
      if (dropUploads && data.contains("PUT ") && data.contains(".xbel.temp")) {
        ++dropped;
        server->abort();
        client->abort();
        return;
      }
      server->write(data);
    });
    connect(server, &QTcpSocket::readyRead, client,
            [client, server] { client->write(server->readAll()); });
    connect(server, &QTcpSocket::disconnected, client, &QTcpSocket::disconnectFromHost);
    connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
  }
  QTcpServer listener_;
  quint16 serverPort_;
};

}  // namespace vorlix::test
