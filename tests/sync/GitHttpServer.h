#pragma once
// Git's own smart HTTP server (git http-backend as a CGI program) behind
// lighttpd on 127.0.0.1, with Basic authentication (alice / secret), for
// one test. Repositories live in repos/ of its folder.
#include "WebDavServer.h"

namespace vorlix::test {

inline QString gitHttpBackend() {
  for (const char* p :
       {"/usr/lib/git-core/git-http-backend", "/usr/libexec/git-core/git-http-backend"})
    if (QFile::exists(QString::fromLatin1(p))) return QString::fromLatin1(p);
  return {};
}

class GitHttpServer {
 public:
  // False when lighttpd or git is missing or the server does not come up.
  bool start() {
    if (lighttpdProgram().isEmpty() || gitHttpBackend().isEmpty()) return false;
    QDir(dir_.path()).mkpath(QStringLiteral("repos"));
    write(QStringLiteral("users"), "alice:secret\n");
    for (int attempt = 0; attempt < 5; ++attempt) {
      port_ = freePort();
      const QString conf =
          QStringLiteral(
              "server.document-root = \"%1/repos\"\n"
              "server.bind = \"127.0.0.1\"\n"
              "server.port = %2\n"
              "server.modules = (\"mod_alias\", \"mod_setenv\", \"mod_cgi\", \"mod_auth\", "
              "\"mod_authn_file\")\n"
              "server.errorlog = \"%1/error.log\"\n"
              "alias.url = ( \"/git\" => \"%3\" )\n"
              "cgi.assign = ( \"\" => \"\" )\n"
              "setenv.add-environment = ( \"GIT_PROJECT_ROOT\" => \"%1/repos\", "
              "\"GIT_HTTP_EXPORT_ALL\" => \"\" )\n"
              "auth.backend = \"plain\"\n"
              "auth.backend.plain.userfile = \"%1/users\"\n"
              "auth.require = ( \"/\" => ( \"method\" => \"basic\", \"realm\" => \"vorlix\", "
              "\"require\" => \"valid-user\" ) )\n")
              .arg(dir_.path())
              .arg(port_)
              .arg(gitHttpBackend());
      write(QStringLiteral("lighttpd.conf"), conf.toUtf8());
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
  ~GitHttpServer() {
    if (server_.state() != QProcess::NotRunning) {
      server_.terminate();
      if (!server_.waitForFinished(3000)) server_.kill();
    }
  }
  // The folder of repository `name` on disk, and its URL.
  QString repoPath(const QString& name) const {
    return dir_.path() + QStringLiteral("/repos/") + name;
  }
  QString url(const QString& name) const {
    return QStringLiteral("http://127.0.0.1:%1/git/%2").arg(port_).arg(name);
  }

 private:
  void write(const QString& rel, const QByteArray& data) const {
    QFile f(dir_.path() + QLatin1Char('/') + rel);
    if (f.open(QIODevice::WriteOnly)) f.write(data);
  }
  QTemporaryDir dir_;
  QProcess server_;
  quint16 port_ = 0;
};

}  // namespace vorlix::test
