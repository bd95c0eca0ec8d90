#include "sync/TargetSpec.h"

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

std::optional<TargetSpec> parseGit(const QString& text, QString& error) {
  TargetSpec spec;
  spec.kind = TargetSpec::Kind::Git;
  QString url = text;
  if (const qsizetype hash = text.lastIndexOf(QLatin1Char('#')); hash >= 0) {
    url = text.left(hash);
    const QString tail = text.mid(hash + 1);
    const qsizetype colon = tail.indexOf(QLatin1Char(':'));
    spec.branch = colon < 0 ? tail : tail.left(colon);
    if (colon >= 0) spec.file = tail.mid(colon + 1);
  }
  if (spec.branch.isEmpty()) spec.branch = kDefaultBranch;
  if (spec.file.isEmpty()) spec.file = kDefaultFileName;
  if (url.isEmpty() || spec.file.startsWith(QLatin1Char('/')) ||
      spec.file.split(QLatin1Char('/')).contains(QStringLiteral(".."))) {
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
  spec.location = url;
  return spec;
}

}  // namespace

std::optional<TargetSpec> parseTargetSpec(const QString& text, QString& error) {
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
  TargetSpec spec;
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
    spec.kind = TargetSpec::Kind::WebDav;
    QUrl folder = url;
    folder.setQuery(QString());
    folder.setFragment(QString());
    QString path = folder.path();
    if (endsWithXbel(path)) {
      spec.file = folder.fileName();
      path = path.left(path.size() - spec.file.size());
    }
    if (!path.endsWith(QLatin1Char('/'))) path += QLatin1Char('/');
    folder.setPath(path);
    spec.location = folder.toString();
    return spec;
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
    spec.file = QFileInfo(path).fileName();
    path = QFileInfo(path).absolutePath();
  }
  spec.location = path;
  return spec;
}

QString composeTargetSpec(const TargetSpec& spec) {
  switch (spec.kind) {
    case TargetSpec::Kind::Git: {
      QString text = QStringLiteral("git+") + spec.location;
      const QString branch = spec.branch.isEmpty() ? kDefaultBranch : spec.branch;
      text += QLatin1Char('#') + branch;
      if (!spec.file.isEmpty() && spec.file != kDefaultFileName)
        text += QLatin1Char(':') + spec.file;
      return text;
    }
    case TargetSpec::Kind::WebDav: {
      QString base = spec.location;
      if (!base.endsWith(QLatin1Char('/'))) base += QLatin1Char('/');
      return base + (spec.file.isEmpty() ? kDefaultFileName : spec.file);
    }
    case TargetSpec::Kind::Folder:
      break;
  }
  return QDir(spec.location).filePath(spec.file.isEmpty() ? kDefaultFileName : spec.file);
}

}  // namespace vorlix::sync
