#pragma once
// Git's own smart HTTP server (git http-backend as a CGI program) behind
// lighttpd on 127.0.0.1, with Basic authentication (alice / secret), for
// one test. Its repositories are folders of www/.
#include "WebDavServer.h"

namespace vorlix::test {

inline QString gitHttpBackend() {
  for (const char* p :
       {"/usr/lib/git-core/git-http-backend", "/usr/libexec/git-core/git-http-backend"})
    if (QFile::exists(QString::fromLatin1(p))) return QString::fromLatin1(p);
  return {};
}

class GitHttpServer : public WebDavServer {
 public:
  bool start() {
    return !gitHttpBackend().isEmpty() &&
           launch(QStringLiteral("\"mod_alias\", \"mod_setenv\", \"mod_cgi\""),
                  QStringLiteral("alias.url = ( \"/git\" => \"") + gitHttpBackend() +
                      QStringLiteral("\" )\n"
                                     "cgi.assign = ( \"\" => \"\" )\n"
                                     "setenv.add-environment = ( \"GIT_PROJECT_ROOT\" => "
                                     "\"%1/www\", \"GIT_HTTP_EXPORT_ALL\" => \"\" )\n"));
  }
  QString repoPath(const QString& name) const { return file(name); }
  QString url(const QString& name) const {
    return QStringLiteral("http://127.0.0.1:%1/git/%2").arg(port()).arg(name);
  }
};

}  // namespace vorlix::test
