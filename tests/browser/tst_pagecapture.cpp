// The capture: Firefox profiles and session files, the session store's
// page, the reply text and its split.
#include <lz4.h>
#include <sys/stat.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QSemaphore>
#include <QTest>

#include "browser/ActiveWindow.h"
#include "browser/CaptureReply.h"
#include "browser/FirefoxProfiles.h"
#include "browser/MozLz4.h"
#include "browser/PageCapture.h"
#include "browser/SessionStore.h"

using namespace vorlix;

namespace {

QByteArray mozLz4(const QByteArray& content) {
  QByteArray out("mozLz40\0", 8);
  const auto size = quint32(content.size());
  for (int i = 0; i < 4; ++i) out += char((size >> (8 * i)) & 0xff);
  QByteArray block(LZ4_compressBound(int(content.size())), Qt::Uninitialized);
  const int n = LZ4_compress_default(content.constData(), block.data(), int(content.size()),
                                     int(block.size()));
  return out + block.left(n);
}

void write(const QString& path, const QByteArray& content) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(content);
}

void touch(const QString& path, qint64 secondsAgo) {
  QFile f(path);
  QVERIFY(f.open(QIODevice::ReadWrite));
  QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-secondsAgo),
                        QFileDevice::FileModificationTime));
}

QJsonObject page(const QString& url, const QString& title) {
  return QJsonObject{{"url", url}, {"title", title}};
}

QJsonObject tab(const QJsonArray& entries, const QJsonValue& index = {}) {
  QJsonObject t{{"entries", entries}};
  if (!index.isUndefined()) t["index"] = index;
  return t;
}

// Two windows: the first with tabs A (entries A1, A2, index 1) and B (one
// entry), tab 2 selected; the second with C and D (D selected).
QJsonObject twoWindows() {
  QJsonObject w1{{"tabs", QJsonArray{tab({page("http://a1/", "A1"), page("http://a2/", "A2")}, 1),
                                     tab({page("http://b/", "B")}, 1)}},
                 {"selected", 2}};
  QJsonObject w2{
      {"tabs", QJsonArray{tab({page("http://c/", "C")}, 1), tab({page("http://d/", "D")}, 1)}},
      {"selected", 2}};
  return QJsonObject{{"windows", QJsonArray{w1, w2}}, {"selectedWindow", 2}};
}

QString pick(const QJsonObject& store, const QString& activeTitle = {}) {
  const auto p = SessionStorePage(QJsonDocument(store).toJson(), activeTitle);
  return p ? p->url + QLatin1Char('|') + p->title : QStringLiteral("none");
}

// `at` with the value at `path` (keys, and numbers for array places) set to
// `v`, or removed when `v` is undefined.
QJsonValue setAt(const QJsonValue& at, const QStringList& path, int i, const QJsonValue& v) {
  if (i == path.size()) return v;
  bool isIndex = false;
  const int n = path[i].toInt(&isIndex);
  if (isIndex) {
    QJsonArray a = at.toArray();
    a[n] = setAt(a[n], path, i + 1, v);
    return a;
  }
  QJsonObject o = at.toObject();
  if (i + 1 == path.size() && v.isUndefined())
    o.remove(path[i]);
  else
    o[path[i]] = setAt(o[path[i]], path, i + 1, v);
  return o;
}

QJsonObject with(const QJsonObject& o, const QStringList& path, const QJsonValue& v) {
  return setAt(o, path, 0, v).toObject();
}

}  // namespace

class TestPageCapture : public QObject {
  Q_OBJECT

 private slots:
  void selectedWindowTabAndEntry() {
    const QJsonObject s = twoWindows();
    QCOMPARE(pick(s), QStringLiteral("http://d/|D"));
    QCOMPARE(pick(with(s, {"selectedWindow"}, 1)), QStringLiteral("http://b/|B"));
    QCOMPARE(pick(with(with(s, {"selectedWindow"}, 1), {"windows", "0", "selected"}, 1)),
             QStringLiteral("http://a1/|A1"));
    // The entry index is 1-based; without one the last entry is current.
    QJsonObject onA = with(with(s, {"selectedWindow"}, 1), {"windows", "0", "selected"}, 1);
    QCOMPARE(pick(with(onA, {"windows", "0", "tabs", "0", "index"}, 2)),
             QStringLiteral("http://a2/|A2"));
    QCOMPARE(pick(with(onA, {"windows", "0", "tabs", "0", "index"}, QJsonValue::Undefined)),
             QStringLiteral("http://a2/|A2"));
    // Out of range or not a whole number: held to what exists.
    QCOMPARE(pick(with(onA, {"windows", "0", "tabs", "0", "index"}, 99)),
             QStringLiteral("http://a2/|A2"));
    QCOMPARE(pick(with(onA, {"windows", "0", "tabs", "0", "index"}, "1")),
             QStringLiteral("http://a2/|A2"));
    QCOMPARE(pick(with(onA, {"windows", "0", "tabs", "0", "index"}, 1.5)),
             QStringLiteral("http://a2/|A2"));
    QCOMPARE(pick(with(s, {"windows", "1", "selected"}, 7)), QStringLiteral("http://d/|D"));
    QCOMPARE(pick(with(s, {"windows", "1", "selected"}, -3)), QStringLiteral("http://c/|C"));
    QCOMPARE(pick(with(s, {"windows", "1", "selected"}, QJsonValue::Undefined)),
             QStringLiteral("http://c/|C"));
  }

  void minimisedWindows() {
    // Firefox records no selected window while its active one is minimised.
    QJsonObject s = with(twoWindows(), {"selectedWindow"}, 0);
    s = with(s, {"windows", "0", "sizemode"}, "minimized");
    QCOMPARE(pick(s), QStringLiteral("http://d/|D"));
    QCOMPARE(pick(with(s, {"selectedWindow"}, 3)), QStringLiteral("http://d/|D"));
    s = with(s, {"windows", "1", "sizemode"}, "minimized");
    QCOMPARE(pick(s), QStringLiteral("http://b/|B"));
  }

  void activeTitlePicksTheTab() {
    const QJsonObject s = twoWindows();
    QCOMPARE(pick(s, "C"), QStringLiteral("http://c/|C"));   // same window first
    QCOMPARE(pick(s, "B"), QStringLiteral("http://b/|B"));   // then any window
    QCOMPARE(pick(s, "A2"), QStringLiteral("http://d/|D"));  // not a current entry
    QCOMPARE(pick(s, "elsewhere"), QStringLiteral("http://d/|D"));
  }

  void missingKeys() {
    const QJsonObject s = twoWindows();
    QCOMPARE(pick(QJsonObject{}), QStringLiteral("none"));
    QCOMPARE(pick(with(s, {"windows"}, QJsonArray{})), QStringLiteral("none"));
    QCOMPARE(pick(with(s, {"windows"}, "text")), QStringLiteral("none"));
    QCOMPARE(pick(with(s, {"windows", "1", "tabs"}, QJsonValue::Undefined)),
             QStringLiteral("none"));
    QCOMPARE(pick(with(s, {"windows", "1", "tabs", "1", "entries"}, QJsonArray{})),
             QStringLiteral("none"));
    QCOMPARE(pick(with(s, {"windows", "1", "tabs", "1", "entries", "0"}, 5)),
             QStringLiteral("none"));
    QCOMPARE(pick(with(s, {"windows", "1", "tabs", "1", "entries", "0", "title"},
                       QJsonValue::Undefined)),
             QStringLiteral("http://d/|"));
    QVERIFY(!SessionStorePage("[1,2]", {}));
    QVERIFY(!SessionStorePage("{\"windows\":", {}));
  }

  void sessionFiles() {
    QTemporaryDir dir;
    const QString f = dir.filePath("recovery.jsonlz4");
    const QByteArray json = QJsonDocument(twoWindows()).toJson();
    const QByteArray good = mozLz4(json);
    write(f, good);
    QCOMPARE(ReadSessionStore(f, {})->url, QStringLiteral("http://d/"));
    QCOMPARE(DecodeMozLz4(good, json.size()), json);
    QVERIFY(!DecodeMozLz4(good, json.size() - 1));  // declared size above the limit

    QByteArray wrongMagic = good;
    wrongMagic[6] = '1';
    write(f, wrongMagic);
    QVERIFY(!ReadSessionStore(f, {}));
    write(f, good.left(good.size() - 5));  // truncated block
    QVERIFY(!ReadSessionStore(f, {}));
    QByteArray wrongSize = good;
    wrongSize[8] = char(wrongSize[8] + 1);
    write(f, wrongSize);
    QVERIFY(!ReadSessionStore(f, {}));
    write(f, good.left(10));
    QVERIFY(!ReadSessionStore(f, {}));
    QVERIFY(!ReadSessionStore(dir.filePath("missing"), {}));
    // A file past the bound is not read at all.
    write(f, good + QByteArray(kMaxSessionFileBytes, '\0'));
    QVERIFY(!ReadSessionStore(f, {}));
  }

  void corruptedInputsNeverCrash() {
    QJsonObject s = twoWindows();
    s["_closedWindows"] = QJsonArray{twoWindows()};
    const QByteArray json = QJsonDocument(s).toJson(QJsonDocument::Compact);
    const QByteArray good = mozLz4(json);
    QRandomGenerator rng(20261208);
    int decoded = 0;
    for (int round = 0; round < 3000; ++round) {
      QByteArray bad = (round % 3 == 0) ? mozLz4(json) : good;
      switch (round % 4) {
        case 0:  // flip bytes anywhere, the header included
          for (int k = rng.bounded(1, 8); k > 0; --k)
            bad[rng.bounded(int(bad.size()))] = char(rng.bounded(256));
          break;
        case 1:  // cut anywhere
          bad.truncate(rng.bounded(int(bad.size())));
          break;
        case 2:  // a plausible but wrong declared size
          bad[8 + rng.bounded(4)] = char(rng.bounded(256));
          break;
        default: {  // valid LZ4 of mangled JSON
          QByteArray j = json;
          for (int k = rng.bounded(1, 6); k > 0; --k)
            j[rng.bounded(int(j.size()))] = "{}[],:\"0-9"[rng.bounded(10)];
          bad = mozLz4(j);
        }
      }
      if (const auto out = DecodeMozLz4(bad, kMaxSessionJsonBytes)) {
        ++decoded;
        SessionStorePage(*out, QStringLiteral("B"));
      }
    }
    QVERIFY(decoded > 0);  // the loop reached the JSON picker too
  }

  void profilesAndTheLatestSession() {
    QTemporaryDir home;
    const QString ff = home.filePath(".mozilla/firefox");
    write(
        ff + "/profiles.ini",
        "[General]\nStartWithLastProfile=1\n\n[Profile1]\nName=old\nIsRelative=1\nPath=abc.old\n\n"
        "[Profile0]\nPath=" +
            home.filePath("elsewhere/p").toUtf8() +
            "\nIsRelative=0\nName=abs\n\n[Install4F96D1932A9F858E]\nDefault=def.main\n");
    write(ff + "/installs.ini", "[4F96D1932A9F858E]\nDefault=inst.only\nLocked=1\n");
    for (const char* p : {"/abc.old", "/def.main", "/inst.only"}) QDir().mkpath(ff + p);
    QDir().mkpath(home.filePath("elsewhere/p"));
    QCOMPARE(FirefoxProfileFolders(ff), (QStringList{ff + "/abc.old", home.filePath("elsewhere/p"),
                                                     ff + "/def.main", ff + "/inst.only"}));
    QCOMPARE(LatestSessionFile(home.path()), QString());

    const QString snap = home.filePath("snap/firefox/common/.mozilla/firefox");
    write(snap + "/profiles.ini", "[Profile0]\nPath=s.default\n");
    const QString a = ff + "/abc.old/sessionstore.jsonlz4";
    const QString b = ff + "/def.main/sessionstore-backups/recovery.jsonlz4";
    const QString c = snap + "/s.default/sessionstore.jsonlz4";
    for (const QString& f : {a, b, c}) write(f, "x");
    touch(a, 10);
    touch(b, 300);
    touch(c, 100);
    QCOMPARE(LatestSessionFile(home.path()), a);
    touch(c, 5);
    QCOMPARE(LatestSessionFile(home.path()), c);
    // Within a profile the recovery file comes before sessionstore.jsonlz4.
    write(ff + "/def.main/sessionstore.jsonlz4", "x");
    QCOMPARE(SessionFileOf(ff + "/def.main"), b);
  }

  void newInstallsProfilesComeFirstAndFifosAreNotWaitedFor() {
    QTemporaryDir home;
    const QByteArray config = qgetenv("XDG_CONFIG_HOME");
    qunsetenv("XDG_CONFIG_HOME");
    QCOMPARE(FirefoxRoots(home.path()).first(), home.filePath(".config/mozilla/firefox"));
    qputenv("XDG_CONFIG_HOME", home.filePath("cfg").toLocal8Bit());
    const QString xdg = home.filePath("cfg/mozilla/firefox");
    const QString old = home.filePath(".mozilla/firefox");
    QCOMPARE(FirefoxRoots(home.path()).mid(0, 2), (QStringList{xdg, old}));
    write(xdg + "/profiles.ini", "[Profile0]\nPath=new.default-release\n");
    write(old + "/profiles.ini", "[Profile0]\nPath=old.default\n");
    const QString fresh = xdg + "/new.default-release/sessionstore.jsonlz4";
    const QString stale = old + "/old.default/sessionstore.jsonlz4";
    write(fresh, "x");
    write(stale, "x");
    const QDateTime when = QDateTime::currentDateTime().addSecs(-10);
    for (const QString& f : {fresh, stale}) {
      QFile file(f);
      QVERIFY(file.open(QIODevice::ReadWrite));
      QVERIFY(file.setFileTime(when, QFileDevice::FileModificationTime));
    }
    QCOMPARE(LatestSessionFile(home.path()), fresh);  // first when both exist

    // FIFOs where the ini files and the session store should be are passed
    // over; opening one for reading would wait for a writer for good.
    auto fifo = [](const QString& path) {
      QFile::remove(path);
      QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    };
    fifo(old + "/profiles.ini");
    fifo(xdg + "/installs.ini");
    QCOMPARE(FirefoxProfileFolders(old), QStringList());
    QCOMPARE(FirefoxProfileFolders(xdg), QStringList{xdg + "/new.default-release"});
    fifo(fresh);
    QVERIFY(!ReadSessionStore(fresh, QString()));
    qputenv("XDG_CONFIG_HOME", config);
  }

  void browserWindowTitles() {
    auto title = [](const QString& t, const QString& cls) {
      return BrowserPageTitle(ActiveWindowInfo{t, cls});
    };
    QCOMPARE(title(QString::fromUtf8("News \u2014 Mozilla Firefox"), "firefox"), "News");
    QCOMPARE(title(QString::fromUtf8("A - B \u2014 Mozilla Firefox Private Browsing"), ""),
             "A - B");
    QCOMPARE(title("Docs - Chromium", "Chromium"), "Docs");
    QCOMPARE(title("Docs - Google Chrome", ""), "Docs");
    QCOMPARE(title("Mozilla Firefox", "firefox-esr"), "");
    QVERIFY(!title("Mozilla Firefox", "firefox-esr").isNull());
    QCOMPARE(title("Some page", "Brave-browser"), "Some page");
    QVERIFY(title("notes.txt - gedit", "Gedit").isNull());
    QVERIFY(title("Opera", "Gedit").isNull());
    QVERIFY(IsMozillaWindow({QString::fromUtf8("x \u2014 Mozilla Firefox"), ""}));
    QVERIFY(!IsMozillaWindow({"x - Chromium", "Chromium"}));
  }

  void replySplit_data() {
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("quoted with trailing comma")
        << "\"http://a/\",\"Title, with comma\","
        << QStringList{"http://a/", "Title, with comma", ""};
    QTest::newRow("unquoted words")
        << "word1 word2,word3" << QStringList{"word1", "word2", "word3"};
    QTest::newRow("doubled quotes") << "  \"say \"\"hi\"\"\" , x" << QStringList{"say \"hi\"", "x"};
    QTest::newRow("comma then blank at end") << "a, " << QStringList{"a"};
    QTest::newRow("empty fields") << "\"\",\"t\"" << QStringList{"", "t"};
    QTest::newRow("open quote") << "\"http://a/,b" << QStringList{"http://a/,b"};
    QTest::newRow("control characters") << "\t\x01"
                                           "a\x02,b"
                                        << QStringList{"a", "b"};
    QTest::newRow("nul ends the text") << QString("a,b") + QChar(0) + ",c" << QStringList{"a", "b"};
    QTest::newRow("empty") << "" << QStringList{};
  }
  void replySplit() {
    QFETCH(QString, reply);
    QFETCH(QStringList, fields);
    QCOMPARE(SplitCaptureReply(reply), fields);
  }

  void replyRoundTrip() {
    const QString url = QStringLiteral("http://x/?q=\"a,b\" c");
    const QString title = QStringLiteral(" \"Quoted\", title ") + QChar(0) + "end";
    QCOMPARE(SplitCaptureReply(FormatCaptureReply(url, title)),
             (QStringList{url, QStringLiteral(" \"Quoted\", title end")}));
  }

  void captureFromHome() {
    QTemporaryDir home;
    const QString ff = home.filePath(".mozilla/firefox");
    const auto firefox = std::optional<ActiveWindowInfo>(
        {QString::fromUtf8("C \u2014 Mozilla Firefox"), QStringLiteral("firefox")});
    const auto chromium = std::optional<ActiveWindowInfo>({"Other - Chromium", "Chromium"});
    const auto editor = std::optional<ActiveWindowInfo>({"x - gedit", "Gedit"});
    QCOMPARE(CaptureReplyNow(home.path(), {}), QString());
    QCOMPARE(CaptureReplyNow(home.path(), editor), QString());
    QCOMPARE(CaptureReplyNow(home.path(), chromium), QStringLiteral("\"\",\"Other\""));

    write(ff + "/profiles.ini", "[Profile0]\nPath=p\n");
    write(ff + "/p/sessionstore-backups/recovery.jsonlz4",
          mozLz4(QJsonDocument(twoWindows()).toJson()));
    QCOMPARE(CaptureReplyNow(home.path(), {}), QStringLiteral("\"http://d/\",\"D\""));
    QCOMPARE(CaptureReplyNow(home.path(), editor), QStringLiteral("\"http://d/\",\"D\""));
    QCOMPARE(CaptureReplyNow(home.path(), firefox), QStringLiteral("\"http://c/\",\"C\""));
    // Another browser's page is not Firefox's selected tab.
    QCOMPARE(CaptureReplyNow(home.path(), chromium), QStringLiteral("\"\",\"Other\""));

    PageCapture capture(home.path(), [firefox] { return firefox; });
    QCOMPARE(capture.GetBrowserWindowInfo("IExplore"), QStringLiteral("\"http://c/\",\"C\""));
  }

  void lateCaptureIsAbandoned() {
    auto release = std::make_shared<QSemaphore>();
    PageCapture capture(QDir::tempPath(), [release] {
      release->acquire();  // an X server that does not answer
      return std::optional<ActiveWindowInfo>();
    });
    capture.setDeadline(std::chrono::milliseconds(1));
    QCOMPARE(capture.GetBrowserWindowInfo("IExplore"), QString());
    release->release();
  }
};

QTEST_GUILESS_MAIN(TestPageCapture)
#include "tst_pagecapture.moc"
