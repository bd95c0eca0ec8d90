#include <QProcess>
#include <QTest>

#include "support/TempDir.h"

using namespace vorlix;

class TestVerbs : public QObject {
  Q_OBJECT

 private slots:
  // A command line beginning with "--" runs without a window (no display is
  // offered, so a window would abort the program) and is never a URL.
  void verbsRunWithoutAWindow_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("output");
    QTest::newRow("help") << QStringList{"--help"} << 0 << "--help";
    QTest::newRow("unknown verb") << QStringList{"--https://example.org"} << 2
                                  << "unknown command --https://example.org";
  }
  void verbsRunWithoutAWindow() {
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, output);
    test::IsolatedHome home;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(VORLIX_EXE), args);
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), status);
    const QString all = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    QVERIFY2(all.contains(output), qPrintable(all));
  }
};

QTEST_GUILESS_MAIN(TestVerbs)
#include "tst_verbs.moc"
