// Check Links against a real HTTP server on 127.0.0.1: every verdict, the
// pacing seen from the server's side, the history that confirms a failure
// only a day later, and the command line's JSON.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>
#include <QTimeZone>

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QTreeWidget>

#include "cli/Verbs.h"
#include "health/CheckHistory.h"
#include "health/CheckRun.h"
#include "health/HostScheduler.h"
#include "health/widgets/LinkCheckWindow.h"
#include "mainwindow/FileCommands.h"
#include "mainwindow/WindowParts.h"
#include "store/LdbFile.h"
#include "support/Files.h"
#include "support/LinkTestServer.h"
#include "support/MainWindowFixture.h"
#include "support/Records.h"
#include "support/TempDir.h"

using namespace vorlix;

namespace {

// The real rules with the waits cut down, so a test takes seconds.
PacingRules quickRules() {
  PacingRules r;
  r.requestIntervalMs = 20;
  r.timeoutMs = 1500;  // well short of /slow's 3 s, well past a loaded machine's answer
  r.maxRetries = 1;
  return r;
}

// Runs one check of `urls` and returns the answers in the same order.
QVector<LinkCheck> check(const QStringList& urls, CheckHistory& history, CheckRun::Clock clock = {},
                         const PacingRules& rules = quickRules()) {
  CheckRun run(rules, history, std::move(clock));
  QVector<CheckJob> jobs;
  for (int i = 0; i < urls.size(); ++i) jobs.push_back({quint32(i), urls[i]});
  QVector<LinkCheck> out(urls.size());
  QObject::connect(&run, &CheckRun::linkChecked, &run,
                   [&out](quint32 id, const LinkCheck& c) { out[int(id)] = c; });
  QSignalSpy done(&run, &CheckRun::finished);
  run.start(jobs);
  if (done.isEmpty()) done.wait(60000);
  return out;
}

struct Case {
  QString tag;
  QString url;
  Verdict verdict;
  int status;
  QString offered;  // Moved: the URL offered in its place
};

// Every kind of answer, spread over three hosts, with the slow ones piled
// on one host so its connections are under pressure.
QVector<Case> cases(const test::LinkTestServer& server) {
  const QString b0 = server.base(0), b1 = server.base(1), b2 = server.base(2);
  QVector<Case> c = {
      {"200", b0 + "/ok", Verdict::Ok, 200, {}},
      {"not a page, HEAD only", b1 + "/file.bin", Verdict::Ok, 200, {}},
      {"301 and 308 chain", b0 + "/moved", Verdict::Moved, 200, b0 + "/ok"},
      {"temporary redirect", b1 + "/temp", Verdict::Ok, 200, {}},
      {"moved as far as permanent", b2 + "/perm-then-temp", Verdict::Moved, 200, b2 + "/temp"},
      {"ten redirects", b1 + "/chain/9", Verdict::Moved, 200, b1 + "/ok"},
      {"eleven redirects", b2 + "/chain/10", Verdict::Unknown, 301, {}},
      {"redirect loop", b0 + "/loop", Verdict::Unknown, 308, {}},
      {"404", b1 + "/404", Verdict::Gone, 404, {}},
      {"410", b2 + "/410", Verdict::Gone, 410, {}},
      {"403", b0 + "/403", Verdict::Blocked, 403, {}},
      {"429 after its Retry-After", b1 + "/429", Verdict::Blocked, 429, {}},
      {"429 then fine", b2 + "/429-once", Verdict::Ok, 200, {}},
      {"429 until a date, then fine", b0 + "/429-date-once", Verdict::Ok, 200, {}},
      {"503", b0 + "/503", Verdict::Unknown, 503, {}},
      {"challenge page", b1 + "/challenge", Verdict::Blocked, 503, {}},
      {"parked domain", b2 + "/parked", Verdict::Gone, 200, {}},
      {"soft 404 to the front page", b0 + "/deep/missing", Verdict::Gone, 200, {}},
      {"front page's own name moved", b1 + "/index.html?utm_source=feed", Verdict::Moved, 200,
       b1 + "/"},
      {"HEAD refused", b1 + "/nohead", Verdict::Ok, 200, {}},
      {"refused connection",
       test::LinkTestServer::refusedBase() + "/x",
       Verdict::Unreachable,
       0,
       {}},
      {"javascript", "javascript:alert(1)", Verdict::Unknown, 0, {}},
      {"place", "place:sort=8&maxResults=10", Verdict::Unknown, 0, {}},
      {"file", "file:///etc/hostname", Verdict::Unknown, 0, {}},
      {"about", "about:blank", Verdict::Unknown, 0, {}},
  };
  for (int i = 0; i < 4; ++i)
    c.push_back({QStringLiteral("slow %1").arg(i), b2 + "/slow", Verdict::Unreachable, 0, {}});
  return c;
}

}  // namespace

class TestLinkCheck : public QObject {
  Q_OBJECT
  test::IsolatedHome home_;
  test::LinkTestServer server_;
  QHash<QString, LinkCheck> results_;

 private slots:
  void initTestCase() {
    qputenv("XDG_STATE_HOME", home_.path(QStringLiteral("state")).toLocal8Bit());
    QVERIFY(server_.listen(3));
    const QVector<Case> all = cases(server_);
    QStringList urls;
    for (const Case& c : all) urls << c.url;
    CheckHistory history;
    const QVector<LinkCheck> got = check(urls, history);
    for (int i = 0; i < all.size(); ++i) results_.insert(all[i].tag, got[i]);
  }

  void verdicts_data() {
    QTest::addColumn<int>("verdict");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("offered");
    for (const Case& c : cases(server_))
      QTest::newRow(qPrintable(c.tag)) << int(c.verdict) << c.status << c.offered;
  }
  void verdicts() {
    QFETCH(int, verdict);
    QFETCH(int, status);
    QFETCH(QString, offered);
    const LinkCheck c = results_.value(QString::fromLatin1(QTest::currentDataTag()));
    QCOMPARE(verdictKey(c.probe.verdict), verdictKey(Verdict(verdict)));
    QCOMPARE(c.probe.status, status);
    QCOMPARE(c.probe.movedTo, offered);
    // The first failure is only that: a link is dead after the second.
    QVERIFY(!c.confirmed);
  }

  // Seen from the server: never more than two connections to one host, and
  // nothing asked for the links that are no web pages.
  void pacingSeenByTheServer() {
    QVERIFY2(server_.peakConnections() <= 2,
             qPrintable(QString::number(server_.peakConnections())));
    QVERIFY(server_.requestsFor(QStringLiteral("/slow")) >= 4);
    QCOMPARE(server_.requestsFor(QStringLiteral("/ok")) > 0, true);
  }

  // The scheduler on its own, where every request is under the test's
  // control: no more hosts at once than allowed, no more requests per host,
  // and every request sent in the end.
  void schedulerKeepsToItsLimits() {
    PacingRules rules;
    rules.requestIntervalMs = 0;
    rules.maxHosts = 2;
    rules.closeGraceMs = 0;
    HostScheduler scheduler(rules);
    QHash<QString, int> running;
    int peakHosts = 0, peakPerHost = 0, sent = 0;
    for (const char* host : {"a", "b", "c", "d"})
      for (int i = 0; i < 5; ++i)
        scheduler.enqueue(QString::fromLatin1(host), [&, h = QString::fromLatin1(host)] {
          ++sent;
          peakPerHost = std::max(peakPerHost, ++running[h]);
          int hosts = 0;
          for (int n : std::as_const(running)) hosts += n > 0;
          peakHosts = std::max(peakHosts, hosts);
          QTimer::singleShot(2, &scheduler, [&, h] {
            --running[h];
            scheduler.finished(h, sent % 3 == 0);
          });
        });
    QTRY_COMPARE_WITH_TIMEOUT(sent, 20, 10000);
    QTRY_VERIFY(scheduler.idle());
    QCOMPARE(peakHosts, 2);
    QCOMPARE(peakPerHost, 2);
  }

  // A failure is confirmed by a second one a day later, also through the
  // history file; one within the day is not enough, and a success in
  // between starts over.
  void secondFailureADayLaterConfirms() {
    const QString gone = server_.base(0) + "/404";
    const QString blocked = server_.base(1) + "/403";
    const QDateTime t0(QDate(2026, 3, 1), QTime(9, 0), Qt::UTC);
    QDateTime now = t0;
    auto clock = [&now] { return now; };
    auto checkOnce = [&](const QStringList& urls) {
      CheckHistory history;  // read from the file each time, as a new session
      history.load();
      return check(urls, history, clock);
    };
    QVector<LinkCheck> c = checkOnce({gone, blocked});
    QVERIFY(!c[0].confirmed);
    QCOMPARE(c[0].firstFailure, t0);
    now = t0.addSecs(23 * 3600);
    QVERIFY(!checkOnce({gone})[0].confirmed);
    now = t0.addSecs(24 * 3600);
    c = checkOnce({gone, blocked});
    QVERIFY(c[0].confirmed);
    QCOMPARE(c[0].firstFailure, t0);
    QCOMPARE(c[1].probe.verdict, Verdict::Blocked);  // 403 is never dead
    QVERIFY(!c[1].confirmed);

    // The same URL answering again clears its history.
    CheckHistory history;
    history.load();
    ProbeResult ok;
    ok.verdict = Verdict::Ok;
    history.record(gone, ok, now);
    ProbeResult fail;
    fail.verdict = Verdict::Gone;
    QVERIFY(!history.record(gone, fail, now.addDays(3)).confirmed);
  }

  void verbWritesJson() {
    LinkList l;
    l.append(LinkRecord::make("Favorites\\A\\moved", qPrintable(server_.base(0) + "/moved"), 0,
                              kKindUrl));
    l.append(LinkRecord::make("Favorites\\A\\", "", 0, kKindFolder));
    l.append(
        LinkRecord::make("Favorites\\missing", qPrintable(server_.base(1) + "/410"), 0, kKindUrl));
    l.append(LinkRecord::make("Favorites\\script", "javascript:void(0)", 0, kKindUrl));
    const QString db = home_.path(QStringLiteral("c.ldb"));
    const QString json = home_.path(QStringLiteral("c.json"));
    QVERIFY(saveLdbFile(db, l).ok);
    QString outText, errText;
    QTextStream out(&outText), err(&errText);
    QCOMPARE(
        runVerb({QStringLiteral("--check-links"), db, QStringLiteral("--json"), json}, out, err),
        0);
    const QJsonArray links = QJsonDocument::fromJson(test::readFile(json)).array();
    QCOMPARE(links.size(), 3);
    const QJsonObject moved = links[0].toObject();
    QCOMPARE(moved.value("name").toString(), QStringLiteral("Favorites\\A\\moved"));
    QCOMPARE(moved.value("verdict").toString(), QStringLiteral("moved"));
    QCOMPARE(moved.value("status").toInt(), 200);
    QCOMPARE(moved.value("final_url").toString(), server_.base(0) + "/ok");
    QCOMPARE(moved.value("confirmed").toBool(), false);
    QCOMPARE(links[1].toObject().value("verdict").toString(), QStringLiteral("gone"));
    QCOMPARE(links[2].toObject().value("verdict").toString(), QStringLiteral("unknown"));
  }

  // Edit > "Check Links..." over the current folder: the rows, then
  // accepting a new URL and deleting a gone link, each one undo step; the
  // Wayback copy goes to the browser. A day later the gone link is
  // confirmed and "Delete Gone Links" takes it without a selection.
  void resultsWindowEditsAreUndoSteps() {
    const QString b = server_.base(0);
    test::MainWindowFixture f({"Favorites\\A\\", "Favorites\\A\\moved|" + b + "/moved",
                               "Favorites\\A\\gone|" + b + "/410",
                               "Favorites\\A\\fine|" + b + "/ok",
                               "Favorites\\elsewhere|" + b + "/404"});
    f.w().view().position().currentPath = "Favorites\\A\\";
    QDateTime now(QDate(2026, 4, 1), QTime(8, 0), Qt::UTC);
    f.w().findChild<QAction*>(QStringLiteral("CheckLinks1"))->trigger();
    auto* w = f.w().findChild<LinkCheckWindow*>();
    QVERIFY(w && w->isVisible());
    w->setPacing(quickRules());
    w->setClock([&now] { return now; });
    QCOMPARE(w->ScopeBox->currentText(), QStringLiteral("Favorites\\A\\ and below"));
    QSignalSpy done(w, &LinkCheckWindow::checkFinished);
    auto runCheck = [&] {
      done.clear();
      w->BCheck->click();
      QVERIFY(done.wait(20000));
    };
    runCheck();
    QCOMPARE(w->Results->topLevelItemCount(), 3);
    auto row = [w](const char* name) {
      return w->Results->findItems(QString::fromLatin1(name), Qt::MatchExactly, 0).value(0);
    };
    QCOMPARE(row("moved")->text(2), QStringLiteral("Moved"));
    QCOMPARE(row("moved")->text(4), b + "/ok");
    QCOMPARE(row("gone")->text(2), QStringLiteral("Gone (unconfirmed)"));
    QVERIFY(!row("gone")->text(5).isEmpty());
    QCOMPARE(row("fine")->text(2), QStringLiteral("OK"));
    QVERIFY(!w->BDeleteGone->isEnabled());  // nothing confirmed, nothing selected

    const QStringList before = test::describe(f.w().view().document().links());
    w->Results->setCurrentItem(row("moved"));
    w->BWayback->click();
    QCOMPARE(f.desktop.openedUrls.value(0), "https://web.archive.org/web/*/" + b + "/moved");
    w->BAcceptUrl->click();
    QVERIFY(test::describe(f.w().view().document().links())
                .contains("Favorites\\A\\moved|" + b + "/ok|Url"));
    f.w().view().document().undo();
    QCOMPARE(test::describe(f.w().view().document().links()), before);

    w->Results->setCurrentItem(row("gone"));
    f.prompts.answers.push_back(Answer::Yes);
    w->BDeleteGone->click();
    QCOMPARE(f.prompts.lastText(), QStringLiteral("Delete the gone link ?"));
    QCOMPARE(f.w().view().document().links().size(), size_t(4));
    QVERIFY(!row("gone"));
    f.w().view().document().undo();
    QCOMPARE(test::describe(f.w().view().document().links()), before);

    now = now.addDays(1);
    runCheck();
    QCOMPARE(row("gone")->text(2), QStringLiteral("Gone"));
    w->Results->clearSelection();
    f.prompts.answers.push_back(Answer::Yes);
    QVERIFY(w->BDeleteGone->isEnabled());
    w->BDeleteGone->click();
    QCOMPARE(f.w().view().document().links().size(), size_t(4));
    QVERIFY(!test::describe(f.w().view().document().links()).join(' ').contains("/410"));
  }

  // Closing the database stops the check at once.
  void closingTheDatabaseStopsTheCheck() {
    const QString b = server_.base(1);
    test::MainWindowFixture f({"Favorites\\slow|" + b + "/slow", "Favorites\\slow2|" + b + "/slow",
                               "Favorites\\slow3|" + b + "/slow"});
    f.w().findChild<QAction*>(QStringLiteral("CheckLinks1"))->trigger();
    auto* w = f.w().findChild<LinkCheckWindow*>();
    PacingRules rules = quickRules();
    rules.timeoutMs = 20000;
    w->setPacing(rules);
    w->BCheck->click();
    QVERIFY(w->checking());
    f.w().files().FNewExecute();
    QVERIFY(!w->checking());
    QCOMPARE(w->Results->topLevelItemCount(), 0);
  }
};

QTEST_MAIN(TestLinkCheck)
#include "tst_linkcheck.moc"
