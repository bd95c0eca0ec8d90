// The Add Url / Edit Url dialog's controls and their wiring.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QWindow>

#include "EditorTestHost.h"
#include "editing/AddItemDialog.h"
#include "support/LayoutChecks.h"

using namespace vorlix;

namespace {

// Answers every box and notes whether the dialog was in the topmost band
// while it showed.
class BandWatchingHost : public test::EditorTestHost {
 public:
  class Watcher : public test::ScriptedPrompts {
   public:
    QWidget* dialog = nullptr;
    QList<bool> onTop;
    Answer message(MsgType t, Buttons b, const QString& text, bool sound) override {
      note();
      return ScriptedPrompts::message(t, b, text, sound);
    }
    QString input(const QString& c, const QString& p, const QString& d) override {
      note();
      return ScriptedPrompts::input(c, p, d);
    }
    void note() { onTop << bool(dialog->windowHandle()->flags() & Qt::WindowStaysOnTopHint); }
  } watcher;
  Prompts& prompts() override { return watcher; }
};

// Runs `steps` once the modal dialog is up.
void whenShown(TFAddItem& dlg, std::function<void()> steps) {
  auto* timer = new QTimer(&dlg);
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [&dlg, timer, steps] {
    if (!dlg.isVisible()) return;
    timer->stop();
    timer->deleteLater();
    steps();
  });
  timer->start();
}

}  // namespace

class TestAddItemDialog : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { Q_INIT_RESOURCE(vorlix); }

  void controlsInAddMode() {
    BandWatchingHost h;
    h.load({"News\\"});
    TFAddItem dlg(nullptr, h);
    h.watcher.dialog = &dlg;
    QRect tree, ok, newFolder, capture;
    QString caption, focused, label;
    bool onTop = false;
    whenShown(dlg, [&] {
      caption = dlg.windowTitle();
      focused = dlg.focusWidget() ? dlg.focusWidget()->objectName() : QString();
      tree = dlg.TreeViewAdd->geometry();
      ok = dlg.BOk->geometry();
      newFolder = dlg.BNewFolder->geometry();
      capture = dlg.BCaptureTitle->geometry();
      label = dlg.LabelPath->text();
      onTop = dlg.windowHandle()->flags() & Qt::WindowStaysOnTopHint;
      dlg.reject();
    });
    QVERIFY(!dlg.runAdd());
    QCOMPARE(caption, QStringLiteral("Add Url"));
    QCOMPARE(focused, QStringLiteral("EditDescription"));
    QVERIFY(onTop);
    QCOMPARE(dlg.size(), QSize(TFAddItem::kDesignWidth, TFAddItem::kAddHeight));
    // The tree fills the width between the margins, the buttons sit below it
    // with New Folder at the right, the capture buttons right of their edits.
    QCOMPARE(tree.left(), 8);
    QCOMPARE(tree.right(), TFAddItem::kDesignWidth - 9);
    QVERIFY(ok.top() > tree.bottom());
    QCOMPARE(ok.bottom(), TFAddItem::kAddHeight - 9);
    QCOMPARE(newFolder.right(), tree.right());
    QCOMPARE(capture.right(), tree.right());
    QCOMPARE(label, QStringLiteral("Favorites\\"));
    QCOMPARE(dlg.minimumWidth(), TFAddItem::kMinWidth);

    // Wider: the edits and the tree grow, the capture buttons move along.
    dlg.show();
    const QRect edit = dlg.EditDescription->geometry(), url = dlg.BCaptureURL->geometry();
    const QRect cancel = dlg.BCancel->geometry();
    dlg.resize(TFAddItem::kDesignWidth + 100, TFAddItem::kAddHeight + 50);
    QCoreApplication::processEvents();
    QCOMPARE(dlg.EditDescription->geometry(), edit.adjusted(0, 0, 100, 0));
    QCOMPARE(dlg.BCaptureURL->geometry(), url.translated(100, 0));
    QCOMPARE(dlg.TreeViewAdd->geometry(), tree.adjusted(0, 0, 100, 50));
    QCOMPARE(dlg.BCancel->geometry(), cancel.translated(0, 50));
    dlg.hide();

    // Names for screen readers: captions, else hints, labels for edits.
    QCOMPARE(dlg.EditDescription->accessibleName(), QStringLiteral("Description"));
    QCOMPARE(dlg.EditName->accessibleName(), QStringLiteral("URL"));
    QCOMPARE(dlg.BCaptureTitle->accessibleName(),
             QStringLiteral("Capture url title from active browser window"));
    QCOMPARE(dlg.BCaptureURL->toolTip(), QStringLiteral("Capture url from active browser window"));
    QCOMPARE(dlg.BCaptureURL->accessibleName(), dlg.BCaptureURL->toolTip());
    QCOMPARE(dlg.BOk->accessibleName(), QStringLiteral("Ok"));
    QCOMPARE(dlg.BCancel->text(), QStringLiteral("Cancel"));
    QCOMPARE(dlg.BNewFolder->accessibleName(), QStringLiteral("New Folder"));
    for (QWidget* w : dlg.findChildren<QWidget*>())
      if (!w->objectName().isEmpty() && !w->objectName().startsWith("qt_"))
        QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
  }

  void failedOkStaysOpenOutsideTheTopmostBand() {
    BandWatchingHost h;
    h.load({"News\\", "News\\site"});
    h.open("News\\");
    TFAddItem dlg(nullptr, h);
    h.watcher.dialog = &dlg;
    QStringList fieldsAfterFailure, seen;
    whenShown(dlg, [&] {
      seen << dlg.EditName->text() << dlg.EditDescription->text();
      dlg.EditName->setText("http://x/");
      dlg.EditDescription->clear();
      dlg.BOk->click();  // empty description
      dlg.EditDescription->setText("site");
      dlg.BOk->click();  // exists
      fieldsAfterFailure << dlg.EditDescription->text() << dlg.EditName->text()
                         << QString::number(dlg.isVisible());
      dlg.EditDescription->setText("Site");
      dlg.BOk->click();
    });
    QVERIFY(dlg.runAdd("http://handed/", "Handed over"));
    QCOMPARE(seen, (QStringList{"http://handed/", "Handed over"}));
    QCOMPARE(h.watcher.onTop, (QList<bool>{false, false}));
    QVERIFY(dlg.windowHandle()->flags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(fieldsAfterFailure, (QStringList{"site", "http://x/", "1"}));
    QCOMPARE(h.record("News\\Site")->url(), std::string_view("http://x/"));
    QVERIFY(h.captions().contains("Site"));
    QVERIFY(h.dirty());
  }

  void newFolderShowsInTheDialogTree() {
    BandWatchingHost h;
    h.load({"News\\", "Tech\\"});
    TFAddItem dlg(nullptr, h);
    h.watcher.dialog = &dlg;
    h.watcher.inputs = {"Fresh"};
    QString label, current;
    bool focusedAgain = false;
    whenShown(dlg, [&] {
      const QModelIndex tech =
          dlg.TreeViewAdd->model()->index(1, 0, dlg.TreeViewAdd->model()->index(0, 0));
      dlg.TreeViewAdd->setCurrentIndex(tech);
      dlg.BNewFolder->click();
      label = dlg.LabelPath->text();
      current = dlg.TreeViewAdd->currentIndex().data().toString();
      dlg.reject();
    });
    QVERIFY(!dlg.runAdd());
    QCOMPARE(h.watcher.onTop, QList<bool>{false});
    QCOMPARE(label, QStringLiteral("Favorites\\Tech\\"));
    QCOMPARE(current, QStringLiteral("Tech"));
    QVERIFY(h.record("Tech\\Fresh\\"));  // a cancel keeps the folder
    QCOMPARE(h.treeText(), QStringLiteral("Favorites(News,Tech(Fresh))"));
    // The next showing starts again in the description.
    whenShown(dlg, [&] {
      focusedAgain = dlg.focusWidget() == dlg.EditDescription;
      dlg.reject();
    });
    dlg.runAdd();
    QVERIFY(focusedAgain);
  }

  void editMode() {
    BandWatchingHost h;
    h.load({"A\\", "A\\one"});
    h.open("A\\");
    h.select({"one"});
    TFAddItem dlg(nullptr, h);
    h.watcher.dialog = &dlg;
    QStringList seen;
    whenShown(dlg, [&] {
      seen << dlg.windowTitle() << dlg.EditDescription->text() << dlg.EditName->text()
           << QString::number(dlg.TreeViewAdd->isVisible()) << QString::number(dlg.height())
           << QString::number(dlg.BOk->geometry().bottom());
      dlg.EditDescription->setText("renamed");
      dlg.BCancel->click();
    });
    QVERIFY(!dlg.runEdit());
    // As high as its controls need, never lower than the design, and fixed.
    const int height = dlg.minimumHeight();
    QVERIFY(height >= TFAddItem::kEditHeight);
    QCOMPARE(dlg.maximumHeight(), height);
    QCOMPARE(seen, (QStringList{"Edit Url", "one", "u:A\\one", "0", QString::number(height),
                                QString::number(height - 9)}));
    QVERIFY(h.record("A\\one"));
    // Add mode afterwards: resizable again, with its tree.
    whenShown(dlg, [&] { dlg.reject(); });
    dlg.runAdd();
    QCOMPARE(dlg.height(), TFAddItem::kAddHeight);
    QCOMPARE(dlg.maximumHeight(), QWIDGETSIZE_MAX);
    QVERIFY(!dlg.TreeViewAdd->isHidden());
  }

  void everyCaptionShowsWholeAndEveryControlTakesTab_data() {
    QTest::addColumn<qreal>("scale");
    QTest::newRow("default") << 1.0;
    QTest::newRow("larger") << 1.5;
    QTest::newRow("twice") << 2.0;
  }
  void everyCaptionShowsWholeAndEveryControlTakesTab() {
    QFETCH(qreal, scale);
    BandWatchingHost h;
    h.load({"News\\"});
    TFAddItem dlg(nullptr, h);
    h.watcher.dialog = &dlg;
    QFont font = dlg.font();
    font.setPointSizeF(font.pointSizeF() * scale);
    dlg.setFont(font);
    QStringList faults, reached;
    QSize size;
    whenShown(dlg, [&] {
      faults = test::layoutFaults(&dlg);
      size = dlg.size();
      for (int i = 0; i < 8; ++i) {
        reached << (dlg.focusWidget() ? dlg.focusWidget()->objectName() : QString());
        QTest::keyClick(dlg.focusWidget(), Qt::Key_Tab);
      }
      dlg.reject();
    });
    dlg.runAdd();
    QCOMPARE(faults, QStringList());
    QVERIFY(size.width() >= TFAddItem::kDesignWidth && size.height() >= TFAddItem::kAddHeight);
    QCOMPARE(reached, QStringList({"EditDescription", "BCaptureTitle", "EditName", "BCaptureURL",
                                   "BOk", "BCancel", "TreeViewAdd", "BNewFolder"}));
  }

  void captureButtons() {
    BandWatchingHost h;
    h.load({});
    TFAddItem dlg(nullptr, h);
    QStringList reply{"http://page/", "Page title"};
    dlg.setCapture([&] { return reply; });
    dlg.EditName->setText("typed");
    dlg.EditDescription->setText("typed too");
    dlg.BCaptureURL->click();
    QCOMPARE(dlg.EditName->text(), QStringLiteral("http://page/"));
    QCOMPARE(dlg.EditDescription->text(), QStringLiteral("typed too"));
    dlg.BCaptureTitle->click();
    QCOMPARE(dlg.EditDescription->text(), QStringLiteral("Page title"));
    // No browser page, or a field left empty: the boxes keep their text.
    reply = {"", "Only a title"};
    dlg.BCaptureURL->click();
    QCOMPARE(dlg.EditName->text(), QStringLiteral("http://page/"));
    reply = {};
    dlg.BCaptureTitle->click();
    QCOMPARE(dlg.EditDescription->text(), QStringLiteral("Page title"));
  }

  // With VORLIX_SNAPSHOT_DIR set, saves pictures of both modes there, for a
  // look by eye.
  void snapshots() {
    const QString dir = qEnvironmentVariable("VORLIX_SNAPSHOT_DIR");
    if (dir.isEmpty()) QSKIP("VORLIX_SNAPSHOT_DIR not set");
    BandWatchingHost h;
    h.load({"News\\", "News\\Local\\", "Tech\\", "one"});
    h.select({"one"});
    TFAddItem dlg(nullptr, h);
    whenShown(dlg, [&] {
      dlg.grab().save(dir + "/additem-add.png");
      dlg.reject();
    });
    dlg.runAdd("http://example.org/", "Example");
    whenShown(dlg, [&] {
      dlg.grab().save(dir + "/additem-edit.png");
      dlg.reject();
    });
    dlg.runEdit();
  }
};

QTEST_MAIN(TestAddItemDialog)
#include "tst_additemdialog.moc"
