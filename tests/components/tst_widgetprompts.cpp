#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "components/WidgetPrompts.h"

using namespace vorlix;

Q_DECLARE_METATYPE(vorlix::Buttons)
Q_DECLARE_METATYPE(vorlix::Answer)
Q_DECLARE_METATYPE(vorlix::MsgType)

namespace {

// Waits for the next modal dialog of type T and hands it to `act`. If none
// comes, every open modal box is closed so the test cannot hang.
template <class T>
void whenModal(std::function<void(T*)> act, bool* seen) {
  auto* timer = new QTimer;
  auto tries = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, [timer, act, seen, tries] {
    if (auto* box = qobject_cast<T*>(QApplication::activeModalWidget())) {
      timer->stop();
      timer->deleteLater();
      *seen = true;
      act(box);
    } else if (++*tries > 1000) {
      timer->stop();
      timer->deleteLater();
      if (QWidget* w = QApplication::activeModalWidget()) w->close();
    }
  });
  timer->start(5);
}

QList<QMessageBox::StandardButton> standardButtonsOf(QMessageBox* box) {
  QList<QMessageBox::StandardButton> out;
  for (QAbstractButton* b : box->buttons()) out << box->standardButton(b);
  std::sort(out.begin(), out.end());
  return out;
}

}  // namespace

class TestWidgetPrompts : public QObject {
  Q_OBJECT

 private slots:
  void eachButtonGivesItsAnswer_data() {
    QTest::addColumn<Buttons>("buttons");
    QTest::addColumn<int>("press");
    QTest::addColumn<Answer>("expected");
    QTest::newRow("ok") << Buttons::Ok << int(QMessageBox::Ok) << Answer::Ok;
    QTest::newRow("yes of yes/no") << Buttons::YesNo << int(QMessageBox::Yes) << Answer::Yes;
    QTest::newRow("no of yes/no") << Buttons::YesNo << int(QMessageBox::No) << Answer::No;
    QTest::newRow("cancel") << Buttons::YesNoCancel << int(QMessageBox::Cancel) << Answer::Cancel;
    QTest::newRow("no of three") << Buttons::YesNoCancel << int(QMessageBox::No) << Answer::No;
    QTest::newRow("no to all") << Buttons::YesNoNoToAllYesToAll << int(QMessageBox::NoToAll)
                               << Answer::NoToAll;
    QTest::newRow("yes to all") << Buttons::YesNoNoToAllYesToAll << int(QMessageBox::YesToAll)
                                << Answer::YesToAll;
    QTest::newRow("yes of four") << Buttons::YesNoNoToAllYesToAll << int(QMessageBox::Yes)
                                 << Answer::Yes;
  }
  void eachButtonGivesItsAnswer() {
    QFETCH(Buttons, buttons);
    QFETCH(int, press);
    QFETCH(Answer, expected);
    WidgetPrompts prompts;
    bool seen = false;
    whenModal<QMessageBox>(
        [press](QMessageBox* box) { box->button(QMessageBox::StandardButton(press))->click(); },
        &seen);
    QCOMPARE(prompts.message(MsgType::Confirmation, buttons, "Sure ?", false), expected);
    QVERIFY(seen);
  }

  void boxShowsItsSetPlainTextAndIcon_data() {
    QTest::addColumn<MsgType>("type");
    QTest::addColumn<Buttons>("buttons");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QList<int>>("set");
    QTest::newRow("warning ok") << MsgType::Warning << Buttons::Ok << int(QMessageBox::Warning)
                                << QList<int>{QMessageBox::Ok};
    QTest::newRow("error yes/no") << MsgType::Error << Buttons::YesNo << int(QMessageBox::Critical)
                                  << QList<int>{QMessageBox::Yes, QMessageBox::No};
    QTest::newRow("information three")
        << MsgType::Information << Buttons::YesNoCancel << int(QMessageBox::Information)
        << QList<int>{QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
    QTest::newRow("confirmation four")
        << MsgType::Confirmation << Buttons::YesNoNoToAllYesToAll << int(QMessageBox::Question)
        << QList<int>{QMessageBox::Yes, QMessageBox::No, QMessageBox::YesToAll,
                      QMessageBox::NoToAll};
  }
  void boxShowsItsSetPlainTextAndIcon() {
    QFETCH(MsgType, type);
    QFETCH(Buttons, buttons);
    QFETCH(int, icon);
    QFETCH(QList<int>, set);
    WidgetPrompts prompts;
    const QString text = "The folder '<b>News</b>' & <i>more</i> already exists !";
    bool seen = false;
    QString title, shown, noToAll, yesToAll;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
    QList<QMessageBox::StandardButton> shownSet;
    whenModal<QMessageBox>(
        [&](QMessageBox* box) {
          title = box->windowTitle();
          shown = box->text();
          format = box->textFormat();
          shownIcon = box->icon();
          shownSet = standardButtonsOf(box);
          if (auto* b = box->button(QMessageBox::NoToAll)) noToAll = b->text();
          if (auto* b = box->button(QMessageBox::YesToAll)) yesToAll = b->text();
          box->buttons().first()->click();
        },
        &seen);
    prompts.message(type, buttons, text, false);
    QVERIFY(seen);
    QCOMPARE(title, QString("Vorlix"));
    QCOMPARE(shown, text);
    QCOMPARE(format, Qt::PlainText);
    QCOMPARE(int(shownIcon), icon);
    QList<QMessageBox::StandardButton> expected;
    for (int b : set) expected << QMessageBox::StandardButton(b);
    std::sort(expected.begin(), expected.end());
    QCOMPARE(shownSet, expected);
    if (buttons == Buttons::YesNoNoToAllYesToAll) {
      QCOMPARE(noToAll, QString("No to all"));
      QCOMPARE(yesToAll, QString("Yes to all"));
    }
  }

  void escapeAndCloseGiveTheSafeAnswer_data() {
    QTest::addColumn<Buttons>("buttons");
    QTest::addColumn<bool>("byClose");
    QTest::addColumn<Answer>("expected");
    for (bool byClose : {false, true}) {
      const char* how = byClose ? "close" : "escape";
      QTest::addRow("ok %s", how) << Buttons::Ok << byClose << Answer::Ok;
      QTest::addRow("yes/no %s", how) << Buttons::YesNo << byClose << Answer::No;
      QTest::addRow("three %s", how) << Buttons::YesNoCancel << byClose << Answer::Cancel;
      QTest::addRow("four %s", how) << Buttons::YesNoNoToAllYesToAll << byClose << Answer::No;
    }
  }
  void escapeAndCloseGiveTheSafeAnswer() {
    QFETCH(Buttons, buttons);
    QFETCH(bool, byClose);
    QFETCH(Answer, expected);
    WidgetPrompts prompts;
    bool seen = false;
    whenModal<QMessageBox>(
        [byClose](QMessageBox* box) {
          if (byClose) {
            box->close();
          } else {
            QTest::keyClick(box, Qt::Key_Escape);
          }
        },
        &seen);
    QCOMPARE(prompts.message(MsgType::Warning, buttons, "Leave ?", false), expected);
    QVERIFY(seen);
    QCOMPARE(WidgetPrompts::escapeAnswer(buttons), expected);
  }

  void soundPlaysBeforeTheBoxOnlyWhenAsked() {
    WidgetPrompts prompts;
    QList<MsgType> played;
    prompts.setSoundHook([&](MsgType t) { played << t; });
    bool seen = false;
    int playedWhenShown = -1;
    whenModal<QMessageBox>(
        [&](QMessageBox* box) {
          playedWhenShown = int(played.size());
          box->button(QMessageBox::Ok)->click();
        },
        &seen);
    prompts.message(MsgType::Error, Buttons::Ok, "Bad !");
    QCOMPARE(playedWhenShown, 1);
    QCOMPARE(played, QList<MsgType>{MsgType::Error});

    whenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Ok)->click(); }, &seen);
    prompts.message(MsgType::Warning, Buttons::Ok, "Quiet", false);
    QCOMPARE(played.size(), 1);
  }

  void inputBoxReturnsTextOrTheDefault_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("expected");
    QTest::newRow("ok with new text") << "Travel" << true << "Travel";
    QTest::newRow("ok keeps the default") << QString() << true << "New Folder";
    QTest::newRow("cancel after typing") << "Travel" << false << "New Folder";
  }
  void inputBoxReturnsTextOrTheDefault() {
    QFETCH(QString, typed);
    QFETCH(bool, accept);
    QFETCH(QString, expected);
    WidgetPrompts prompts;
    bool seen = false;
    QString title, shownDefault;
    bool promptPlain = false;
    whenModal<QInputDialog>(
        [&](QInputDialog* dlg) {
          title = dlg->windowTitle();
          shownDefault = dlg->textValue();
          for (QLabel* l : dlg->findChildren<QLabel*>()) {
            if (l->text() == "Name of <new> folder:")
              promptPlain = l->textFormat() == Qt::PlainText;
          }
          if (!typed.isNull()) dlg->findChild<QLineEdit*>()->setText(typed);
          if (accept) {
            dlg->accept();
          } else {
            QTest::keyClick(dlg, Qt::Key_Escape);
          }
        },
        &seen);
    QCOMPARE(prompts.input("New folder", "Name of <new> folder:", "New Folder"), expected);
    QVERIFY(seen);
    QCOMPARE(title, QString("New folder"));
    QCOMPARE(shownDefault, QString("New Folder"));
    QVERIFY(promptPlain);
  }

  void inputBoxFitsItsCaptionAndPrompt() {
    QFont bold = QApplication::font();
    bold.setBold(true);
    const QString longCaption = "Rename the folder that holds every travel link of last year";
    const QString longPrompt = "New folder name, without any backslash and at most 255 characters";
    for (const auto& [caption, prompt] :
         {std::pair<QString, QString>{"Rename folder", "New folder name"},
          {longCaption, "Name"},
          {"New", longPrompt}}) {
      QInputDialog dlg;
      WidgetPrompts::setUpInput(dlg, caption, prompt, "Regional");
      dlg.show();
      QVERIFY(QTest::qWaitForWindowExposed(&dlg));
      // The title needs room beside the title bar's icon and buttons.
      QVERIFY2(dlg.width() > QFontMetrics(bold).horizontalAdvance(caption) + 60,
               qPrintable(caption));
      QVERIFY2(dlg.width() >= QFontMetrics(dlg.font()).horizontalAdvance(prompt),
               qPrintable(prompt));
      QCOMPARE(dlg.windowTitle(), caption);
      QCOMPARE(dlg.labelText(), prompt);
      QCOMPARE(dlg.textValue(), QString("Regional"));
    }
  }
};

QTEST_MAIN(TestWidgetPrompts)
#include "tst_widgetprompts.moc"
