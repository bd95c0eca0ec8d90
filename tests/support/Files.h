#pragma once
// Whole-file reads and writes for tests that set up or inspect files.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace vorlix::test {

// The file's bytes; empty when it cannot be read.
inline QByteArray readFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Writes `data` as the whole file, making its folder first; a failure fails
// the calling test.
inline void writeFile(const QString& path, const QByteArray& data) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(path));
  QCOMPARE(f.write(data), qint64(data.size()));
}

}  // namespace vorlix::test
