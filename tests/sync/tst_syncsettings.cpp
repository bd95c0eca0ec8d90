// The Sync Settings dialog offscreen: what it keeps per database, where the
// secrets go (the secret store, never the settings file), and the
// environment's password when there is no secret store.
#include <QtTest>
#include <QtWidgets>
#include <map>

#include "platform/Registry.h"
#include "support/FakeDesktop.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"
#include "sync/PasswordStore.h"
#include "sync/SyncSettings.h"
#include "sync/SyncState.h"
#include "sync/widgets/SyncOptionsDialog.h"

using namespace vorlix;
using namespace vorlix::test;

namespace {

class MemoryPasswords : public sync::PasswordStore {
 public:
  std::map<QString, QString> kept;
  bool available = true;
  std::optional<QString> read(const QString& key, QString& error) override {
    if (!available) error = QStringLiteral("No secret store");
    if (!available || !kept.count(key)) return std::nullopt;
    return kept[key];
  }
  bool write(const QString& key, const QString& password, QString& error) override {
    if (!available) error = QStringLiteral("No secret store");
    if (available) kept[key] = password;
    return available;
  }
  bool remove(const QString& key, QString&) override { return kept.erase(key) > 0; }
};

template <class W>
W* child(QDialog& d, const char* name) {
  W* w = d.findChild<W*>(QString::fromLatin1(name));
  if (!w) qFatal("no %s", name);
  return w;
}

}  // namespace

class TestSyncSettings : public QObject {
  Q_OBJECT
  IsolatedHome home_;
  QString db_ = home_.path(QStringLiteral("links.ldb"));
  MemoryPasswords passwords_;
  FakeDesktop desktop_;
  ScriptedPrompts prompts_;

  QByteArray settingsFile() const {
    QFile f(Registry::defaultPath());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

 private slots:
  void init() {
    prompts_.asked.clear();
    passwords_.kept.clear();
    passwords_.available = true;
  }

  void keepsEachTarget_data() {
    QTest::addColumn<int>("kind");  // the combo box's row
    QTest::addColumn<QString>("location");
    QTest::addColumn<QString>("branch");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("target");
    QTest::newRow("WebDAV") << 0 << "https://dav.example/me"
                            << ""
                            << "m.xbel"
                            << "https://dav.example/me/m.xbel";
    QTest::newRow("Git") << 1 << "https://git.example/me/b.git"
                         << "work"
                         << "b.xbel"
                         << "git+https://git.example/me/b.git#work:b.xbel";
    QTest::newRow("folder from Browse") << 2 << ""
                                        << ""
                                        << "bookmarks.xbel"
                                        << "/media/stick/bookmarks.xbel";
  }
  // Every setting reads back as saved, for this database only; the
  // password and passphrase go to the secret store alone.
  void keepsEachTarget() {
    QFETCH(int, kind);
    QFETCH(QString, location);
    QFETCH(QString, branch);
    QFETCH(QString, file);
    QFETCH(QString, target);
    {
      SyncOptionsDialog dialog(db_, passwords_, desktop_, prompts_);
      child<QComboBox>(dialog, "SyncKind")->setCurrentIndex(kind);
      if (location.isEmpty()) {
        desktop_.folders.push_back(QStringLiteral("/media/stick"));
        child<QPushButton>(dialog, "SyncBrowse")->click();
      } else {
        child<QLineEdit>(dialog, "SyncLocation")->setText(location);
      }
      if (!branch.isEmpty()) child<QLineEdit>(dialog, "SyncBranch")->setText(branch);
      child<QLineEdit>(dialog, "SyncFile")->setText(file);
      child<QLineEdit>(dialog, "SyncUser")->setText(QStringLiteral("alice"));
      child<QLineEdit>(dialog, "SyncPassword")->setText(QStringLiteral("pw-secret"));
      child<QCheckBox>(dialog, "SyncEncrypt")->setChecked(true);
      child<QLineEdit>(dialog, "SyncPassphrase")->setText(QStringLiteral("pp-secret"));
      child<QCheckBox>(dialog, "SyncOnSave")->setChecked(true);
      child<QSpinBox>(dialog, "SyncEveryMinutes")->setValue(15);
      child<QSpinBox>(dialog, "SyncDeleteShare")->setValue(25);
      dialog.accept();
      QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }
    QVERIFY2(prompts_.asked.empty(), qPrintable(prompts_.lastText()));
    const bool folder = kind == 2;
    sync::SyncSettings expected{
        target, folder ? QString() : QStringLiteral("alice"), true, true, 15, 25};
    QCOMPARE(sync::loadSyncSettings(db_), expected);
    QCOMPARE(sync::storedTarget(db_), target);
    QCOMPARE(passwords_.kept[sync::passphraseKey(target)], QStringLiteral("pp-secret"));
    QCOMPARE(passwords_.kept.count(sync::passwordKey(target, QStringLiteral("alice"))),
             size_t(folder ? 0 : 1));
    QVERIFY(!settingsFile().contains("pw-secret"));
    QVERIFY(!settingsFile().contains("pp-secret"));
    // Another database keeps the settings for every database.
    QCOMPARE(sync::loadSyncSettings(home_.path(QStringLiteral("other.ldb"))), sync::SyncSettings{});

    SyncOptionsDialog again(db_, passwords_, desktop_, prompts_);
    QCOMPARE(child<QComboBox>(again, "SyncKind")->currentIndex(), kind);
    QCOMPARE(child<QLineEdit>(again, "SyncFile")->text(), file);
    QCOMPARE(child<QLineEdit>(again, "SyncPassphrase")->text(), QStringLiteral("pp-secret"));
    QCOMPARE(child<QSpinBox>(again, "SyncEveryMinutes")->value(), 15);
    QCOMPARE(child<QPushButton>(again, "SyncBrowse")->isEnabled(), folder);
  }

  // A target that cannot be synced with is said, and nothing is kept.
  void refusesWhatCannotBeATarget() {
    const sync::SyncSettings before = sync::loadSyncSettings(db_);
    SyncOptionsDialog dialog(db_, passwords_, desktop_, prompts_);
    child<QComboBox>(dialog, "SyncKind")->setCurrentIndex(0);
    child<QLineEdit>(dialog, "SyncLocation")->setText(QStringLiteral("http://dav.example/"));
    dialog.accept();
    QVERIFY(dialog.result() != int(QDialog::Accepted));
    QVERIFY2(prompts_.lastText().contains(QLatin1String("is not encrypted")),
             qPrintable(prompts_.lastText()));
    QCOMPARE(sync::loadSyncSettings(db_), before);
  }

  // Without a secret store the dialog says where the password comes from
  // instead, and the sync takes it from there.
  void withoutASecretStore() {
    passwords_.available = false;
    SyncOptionsDialog dialog(db_, passwords_, desktop_, prompts_);
    child<QComboBox>(dialog, "SyncKind")->setCurrentIndex(0);
    child<QLineEdit>(dialog, "SyncLocation")->setText(QStringLiteral("https://dav.example/"));
    child<QLineEdit>(dialog, "SyncUser")->setText(QStringLiteral("bob"));
    child<QLineEdit>(dialog, "SyncPassword")->setText(QStringLiteral("typed"));
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY2(prompts_.lastText().contains(QLatin1String("VORLIX_SYNC_PASSWORD")),
             qPrintable(prompts_.lastText()));
    QVERIFY(!settingsFile().contains("typed"));
    qputenv("VORLIX_SYNC_PASSWORD", "from-env");
    const sync::SyncSecrets secrets = sync::syncSecrets(passwords_, sync::loadSyncSettings(db_));
    qunsetenv("VORLIX_SYNC_PASSWORD");
    QCOMPARE(secrets.credentials.user, QStringLiteral("bob"));
    QCOMPARE(secrets.credentials.password, QStringLiteral("from-env"));
    // The desktop's own store answers, or fails, but never hangs; here it
    // holds no such key.
    QString why;
    QVERIFY(!sync::KeychainPasswordStore(3000).read(QStringLiteral("vorlix-test-none"), why));
  }

  void everyControlIsNamed() {
    SyncOptionsDialog dialog(db_, passwords_, desktop_, prompts_);
    const auto controls = dialog.findChildren<QWidget*>();
    int checked = 0;
    for (QWidget* w : controls) {
      if (!qobject_cast<QLineEdit*>(w) && !qobject_cast<QAbstractButton*>(w) &&
          !qobject_cast<QComboBox*>(w) && !qobject_cast<QAbstractSpinBox*>(w))
        continue;
      if (qobject_cast<QLineEdit*>(w) && qobject_cast<QAbstractSpinBox*>(w->parentWidget()))
        continue;  // a spin box's own editor
      ++checked;
      QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
    }
    QVERIFY(checked >= 13);
  }
};

QTEST_MAIN(TestSyncSettings)
#include "tst_syncsettings.moc"
