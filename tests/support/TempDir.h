#pragma once
// Points the program's per-user folders at a fresh temporary folder.
#include <QDir>
#include <QTemporaryDir>
#include <QtGlobal>

namespace vorlix::test {

class IsolatedHome {
 public:
  IsolatedHome() {
    QDir(dir.path()).mkpath(QStringLiteral("config"));
    QDir(dir.path()).mkpath(QStringLiteral("runtime"));
    QDir(dir.path()).mkpath(QStringLiteral("data"));
    QFile::setPermissions(path(QStringLiteral("runtime")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("HOME", dir.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", path(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", path(QStringLiteral("runtime")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", path(QStringLiteral("data")).toLocal8Bit());
  }
  QString path(const QString& rel = QString()) const {
    return rel.isEmpty() ? dir.path() : dir.path() + QLatin1Char('/') + rel;
  }
  QTemporaryDir dir;
};

}  // namespace vorlix::test
