#pragma once
// Two computers for the sync tests: each a home of its own (settings, sync
// state) with its database, synced through `vorlix --sync`.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "SyncTestData.h"
#include "cli/Verbs.h"
#include "store/LdbFile.h"

namespace vorlix::test {

// One computer: its own home, state and settings folders and database.
struct Machine {
  QTemporaryDir home;
  QString ldb = home.path() + QStringLiteral("/links.ldb");

  explicit Machine(const QStringList& lines = {}) { save(records(lines)); }
  void use() const {
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toLocal8Bit());
    qputenv("XDG_STATE_HOME", (home.path() + QStringLiteral("/state")).toLocal8Bit());
  }
  LinkList load() const {
    LinkList list;
    loadLdbFile(ldb, list);
    return list;
  }
  void save(const LinkList& list) const { QVERIFY(saveLdbFile(ldb, list)); }
  QStringList content() const { return paths(load()); }
  QByteArray bytes() const { return readFile(ldb); }
  static QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  // Changes the database as the user would between syncs.
  void edit(const std::function<void(LinkList&)>& change) const {
    LinkList list = load();
    change(list);
    save(list);
  }
};

struct Run {
  int status;
  QString out;
  QString err;
};

inline Run syncCli(const Machine& m, const QString& url, const QStringList& more = {}) {
  m.use();
  QString out, err;
  QTextStream o(&out), e(&err);
  const int status = runVerb(
      QStringList{QStringLiteral("--sync"), m.ldb, QStringLiteral("--to"), url} + more, o, e);
  o.flush();
  e.flush();
  return {status, out, err};
}

inline void addLink(LinkList& list, const char* name, const char* url) {
  list.append(LinkRecord::make(std::string("Favorites\\") + name, url, 0, kKindUrl));
}

inline void removeLink(LinkList& list, const char* name) {
  list.removeIf(
      [name](const LinkRecord& r) { return r.fullName() == "Favorites\\" + std::string(name); });
}

inline void renameLink(LinkList& list, const char* from, const char* to) {
  list.setFullName(size_t(list.indexOf(std::string("Favorites\\") + from)),
                   std::string("Favorites\\") + to);
}

inline void setUrl(LinkList& list, const char* name, const char* url) {
  const long i = list.indexOf(std::string("Favorites\\") + name);
  LinkRecord r = list[size_t(i)];
  r.setUrl(url);
  list.replace(size_t(i), r);
}

inline QStringList tenLinks() {
  QStringList lines{"Work/"};
  for (int i = 0; i < 10; ++i) lines << QStringLiteral("Work/l%1=https://l%1.example/").arg(i);
  return lines;
}

}  // namespace vorlix::test
