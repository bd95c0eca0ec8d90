#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "components/AboutBox.h"

using namespace vorlix;

static void initIcons() { Q_INIT_RESOURCE(vorlix); }

class TestAboutBox : public QObject {
  Q_OBJECT

  // Runs the box modally; `act` gets it once it is up.
  int runModal(TFAbout& box, std::function<void()> act) {
    bool ran = false;
    QTimer::singleShot(0, &box, [&] {
      ran = QApplication::activeModalWidget() == &box;
      act();
      // Whatever `act` did, the test must not wait for a person.
      QTimer::singleShot(0, &box, [&] {
        if (box.isVisible()) {
          stillOpen_ = true;
          box.done(99);
        }
      });
    });
    const int result = box.exec();
    return ran ? result : -1;
  }
  bool stillOpen_ = false;

 private slots:
  void initTestCase() { initIcons(); }
  void init() { stillOpen_ = false; }

  void mailButtonOpensTheAddressAndKeepsTheBox() {
    TFAbout box;
    QList<QUrl> opened;
    box.setMailOpener([&](const QUrl& u) {
      opened << u;
      return true;
    });
    const int result = runModal(box, [&] { QTest::mouseClick(box.mailButton(), Qt::LeftButton); });
    QCOMPARE(opened, QList<QUrl>{QUrl("mailto:vorlix@example.org")});
    QVERIFY(stillOpen_);  // only the other clicks close it
    QCOMPARE(result, 99);
  }

  void anyOtherClickCloses_data() {
    QTest::addColumn<QString>("target");
    QTest::newRow("on the name") << "Vorlix";
    QTest::newRow("on the subtitle") << QString(TFAbout::kSubtitle);
    QTest::newRow("on the margin") << QString();
  }
  void anyOtherClickCloses() {
    QFETCH(QString, target);
    TFAbout box;
    int mails = 0;
    box.setMailOpener([&](const QUrl&) { return ++mails, true; });
    const int result = runModal(box, [&] {
      QPoint at(3, 3);
      for (QLabel* l : box.findChildren<QLabel*>()) {
        if (!target.isEmpty() && l->text() == target) at = l->geometry().center();
      }
      QTest::mouseClick(&box, Qt::LeftButton, {}, at);
    });
    QVERIFY(!stillOpen_);
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(mails, 0);
  }

  void keysClose() {
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
      TFAbout box;
      box.setMailOpener([](const QUrl&) { return true; });
      runModal(box, [&] { QTest::keyClick(&box, key); });
      QVERIFY2(!stillOpen_, qPrintable(QString::number(key, 16)));
    }
  }

  void showsNameVersionAndSubtitleAsPlainText() {
    QCoreApplication::setApplicationVersion(QString());
    {
      TFAbout box;
      QStringList texts;
      for (QLabel* l : box.findChildren<QLabel*>()) {
        if (l->text().isEmpty()) continue;  // the icon
        texts << l->text();
        QCOMPARE(l->textFormat(), Qt::PlainText);
      }
      QVERIFY(texts.contains("Vorlix"));
      QVERIFY(texts.contains("Version 0.1.0"));
      QVERIFY(texts.contains(QString(TFAbout::kSubtitle)));
      QCOMPARE(box.mailButton()->text(), QString("vorlix@example.org"));
      QVERIFY(box.isModal());
    }
    QCoreApplication::setApplicationVersion("2.5.1");
    QCOMPARE(TFAbout::versionText(), QString("2.5.1"));
    QCoreApplication::setApplicationVersion(QString());
  }
};

QTEST_MAIN(TestAboutBox)
#include "tst_aboutbox.moc"
