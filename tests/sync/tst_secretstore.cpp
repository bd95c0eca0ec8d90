// Sync passwords in a real secret store: a private D-Bus session bus with
// gnome-keyring's Secret Service on it, unlocked with a test password, as
// a desktop session has them. Skipped (77) only when the daemons are not
// installed.
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "sync/PasswordStore.h"

using namespace vorlix;

class TestSecretStore : public QObject {
  Q_OBJECT
  QTemporaryDir home_;
  QProcess bus_;
  QProcess keyring_;

 private slots:
  void initTestCase() {
    const QString dbus = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    const QString keyring = QStandardPaths::findExecutable(QStringLiteral("gnome-keyring-daemon"));
    if (dbus.isEmpty() || keyring.isEmpty()) QSKIP("dbus-daemon or gnome-keyring-daemon missing");
    qputenv("HOME", home_.path().toUtf8());
    qputenv("XDG_DATA_HOME", home_.filePath(QStringLiteral("data")).toUtf8());
    qputenv("XDG_RUNTIME_DIR", home_.path().toUtf8());
    bus_.start(dbus, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                      QStringLiteral("--print-address=1")});
    QVERIFY(bus_.waitForReadyRead(10000));
    const QByteArray address = bus_.readLine().trimmed();
    QVERIFY(!address.isEmpty());
    qputenv("DBUS_SESSION_BUS_ADDRESS", address);
    // The login keyring is made and unlocked with the password on stdin.
    keyring_.start(keyring, {QStringLiteral("--foreground"), QStringLiteral("--unlock"),
                             QStringLiteral("--components=secrets")});
    QVERIFY(keyring_.waitForStarted());
    keyring_.write("test-login\n");
    keyring_.closeWriteChannel();
    // Ready once it answers on the bus.
    sync::KeychainPasswordStore probe(1000);
    QString why;
    QTRY_VERIFY_WITH_TIMEOUT(probe.write(QStringLiteral("probe"), QStringLiteral("x"), why), 15000);
    QVERIFY(QDir(home_.filePath(QStringLiteral("data/keyrings"))).exists());
  }
  void cleanupTestCase() {
    keyring_.kill();
    bus_.kill();
    keyring_.waitForFinished();
    bus_.waitForFinished();
  }

  // What is written comes back, is replaced by a later write and is gone
  // after remove; a key never written reads as none.
  void passwordsRoundTrip() {
    sync::KeychainPasswordStore store(10000);
    const QString key =
        sync::passwordKey(QStringLiteral("https://dav.example/x.xbel"), QStringLiteral("alice"));
    QString why;
    QVERIFY2(store.write(key, QStringLiteral("s3cret ü"), why), qPrintable(why));
    QCOMPARE(store.read(key, why).value_or(QString()), QStringLiteral("s3cret ü"));
    QVERIFY2(store.write(key, QStringLiteral("other"), why), qPrintable(why));
    QCOMPARE(store.read(key, why).value_or(QString()), QStringLiteral("other"));
    QVERIFY2(store.remove(key, why), qPrintable(why));
    QVERIFY(!store.read(key, why));
    QVERIFY(!store.read(QStringLiteral("never-written"), why));
  }

  // A sync finds its password in the store, not in the environment.
  void syncSecretsComeFromTheStore() {
    sync::KeychainPasswordStore store(10000);
    sync::SyncSettings settings;
    settings.target = QStringLiteral("https://dav.example/x.xbel");
    settings.user = QStringLiteral("bob");
    QString why;
    QVERIFY2(store.write(sync::passwordKey(settings.target, settings.user),
                         QStringLiteral("from-store"), why),
             qPrintable(why));
    qputenv("VORLIX_SYNC_PASSWORD", "from-env");
    QCOMPARE(sync::syncSecrets(store, settings).credentials.password, QStringLiteral("from-store"));
    qunsetenv("VORLIX_SYNC_PASSWORD");
  }
};

QTEST_GUILESS_MAIN(TestSecretStore)
#include "tst_secretstore.moc"
