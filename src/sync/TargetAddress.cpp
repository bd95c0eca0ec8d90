#include "sync/TargetAddress.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace vorlix::sync {

namespace {

bool isThisComputer(const QString& host) {
  return host == QLatin1String("localhost") || host == QLatin1String("127.0.0.1") ||
         host == QLatin1String("::1") || host == QLatin1String("[::1]");
}

bool endsWithXbel(const QString& path) {
  return path.endsWith(QLatin1String(".xbel"), Qt::CaseInsensitive);
}

std::optional<TargetAddress> parseGit(const QString& text, QString& error) {
  TargetAddress address;
  address.kind = TargetAddress::Kind::Git;
  QString url = text;
  if (const qsizetype hash = text.lastIndexOf(QLatin1Char('#')); hash >= 0) {
    url = text.left(hash);
    const QString tail = text.mid(hash + 1);
    const qsizetype colon = tail.indexOf(QLatin1Char(':'));
    address.branch = colon < 0 ? tail : tail.left(colon);
    if (colon >= 0) address.file = tail.mid(colon + 1);
  }
  if (address.branch.isEmpty()) address.branch = kDefaultBranch;
  if (address.file.isEmpty()) address.file = kDefaultFileName;
  if (url.isEmpty() || address.file.startsWith(QLatin1Char('/')) ||
      address.file.split(QLatin1Char('/')).contains(QStringLiteral(".."))) {
    error = QStringLiteral("%1 is not a Git target: give git+URL#BRANCH:FILE.").arg(text);
    return std::nullopt;
  }
  // The password goes as Basic authentication: only encrypted or local.
  const QUrl parsed(url);
  if (parsed.scheme().compare(QLatin1String("http"), Qt::CaseInsensitive) == 0 &&
      !isThisComputer(parsed.host())) {
    error = QStringLiteral(
                "%1 is not encrypted. Use an https address; plain http is only "
                "allowed for this computer (localhost).")
                .arg(url);
    return std::nullopt;
  }
  address.location = url;
  return address;
}

}  // namespace

std::optional<TargetAddress> parseTargetAddress(const QString& text, QString& error) {
  const QString trimmed = text.trimmed();
  if (trimmed.isEmpty()) {
    error = QStringLiteral("No sync target is set.");
    return std::nullopt;
  }
  if (trimmed.startsWith(QLatin1String("git+"), Qt::CaseInsensitive))
    return parseGit(trimmed.mid(4), error);
  const QUrl url(trimmed, QUrl::StrictMode);
  const QString scheme = url.scheme().toLower();
  if (scheme.size() > 1 && url.path().endsWith(QLatin1String(".git"), Qt::CaseInsensitive))
    return parseGit(trimmed, error);
  TargetAddress address;
  if (scheme == QLatin1String("http") || scheme == QLatin1String("https")) {
    if (!url.isValid() || url.host().isEmpty()) {
      error = QStringLiteral("%1 is not a WebDAV address.").arg(trimmed);
      return std::nullopt;
    }
    // Basic authentication sends the password readable by anyone between.
    if (scheme == QLatin1String("http") && !isThisComputer(url.host())) {
      error = QStringLiteral(
                  "%1 is not encrypted. Use an https address; plain http is only "
                  "allowed for this computer (localhost).")
                  .arg(trimmed);
      return std::nullopt;
    }
    address.kind = TargetAddress::Kind::WebDav;
    QUrl folder = url;
    folder.setQuery(QString());
    folder.setFragment(QString());
    QString path = folder.path();
    if (endsWithXbel(path)) {
      address.file = folder.fileName();
      path = path.left(path.size() - address.file.size());
    }
    if (!path.endsWith(QLatin1Char('/'))) path += QLatin1Char('/');
    folder.setPath(path);
    address.location = folder.toString();
    return address;
  }
  if (!scheme.isEmpty() && scheme != QLatin1String("file") && scheme.size() > 1) {
    error = QStringLiteral(
                "%1 is not a target Vorlix can sync with: give a WebDAV address "
                "(https://...), a Git repository (git+URL#BRANCH) or a folder.")
                .arg(trimmed);
    return std::nullopt;
  }
  QString path = scheme == QLatin1String("file") ? url.toLocalFile() : trimmed;
  path = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
  if (endsWithXbel(path)) {
    address.file = QFileInfo(path).fileName();
    path = QFileInfo(path).absolutePath();
  }
  address.location = path;
  return address;
}

QString composeTargetAddress(const TargetAddress& address) {
  switch (address.kind) {
    case TargetAddress::Kind::Git: {
      QString text = QStringLiteral("git+") + address.location;
      const QString branch = address.branch.isEmpty() ? kDefaultBranch : address.branch;
      text += QLatin1Char('#') + branch;
      if (!address.file.isEmpty() && address.file != kDefaultFileName)
        text += QLatin1Char(':') + address.file;
      return text;
    }
    case TargetAddress::Kind::WebDav: {
      QString base = address.location;
      if (!base.endsWith(QLatin1Char('/'))) base += QLatin1Char('/');
      return base + (address.file.isEmpty() ? kDefaultFileName : address.file);
    }
    case TargetAddress::Kind::Folder:
      break;
  }
  return QDir(address.location).filePath(address.file.isEmpty() ? kDefaultFileName : address.file);
}

}  // namespace vorlix::sync
