// The Add/Edit dialog and the browser commands reached from the window:
// Add, Edit of a link row, New Folder in the dialog, the capture buttons
// and Browse in new / active window.
#include <lz4.h>

#include <QAbstractItemView>
#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>

#include "components/XeListView.h"
#include "editing/AddItemDialog.h"
#include "mainwindow/WindowParts.h"
#include "store/ListRows.h"
#include "support/MainWindowFixture.h"

using namespace vorlix;
using namespace vorlix::test;

namespace {

const QStringList kSample = {"Favorites\\A\\", "Favorites\\A\\x|http://x.example",
                             "Favorites\\A\\Sub\\", "Favorites\\A\\Sub\\deep|http://deep.example",
                             "Favorites\\News|http://news.example"};

// Runs `steps` once the modal dialog is up.
void whenShown(TFAddItem* dlg, std::function<void()> steps) {
  auto* timer = new QTimer(dlg);
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [dlg, timer, steps] {
    if (!dlg->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    steps();
  });
  timer->start();
}

QAction* item(TFMainXeVorlix& w, const char* name) {
  return w.findChild<QAction*>(QString::fromLatin1(name));
}

// Focuses the list on the row with `caption`, as a click there would.
void focusRow(TFMainXeVorlix& w, const char* caption) {
  part<TXeListView>(w, "ListLinks")->activeView()->setFocus();
  QCoreApplication::processEvents();
  const auto& rows = w.view().list().rows();
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i].caption == caption) w.view().focusRow(int(i));
}

int rowOf(TFMainXeVorlix& w, const char* caption) {
  const auto& rows = w.view().list().rows();
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i].caption == caption) return int(i);
  return -1;
}

void writeFile(const QString& path, const QByteArray& content) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly));
  f.write(content);
}

}  // namespace

class TestLinkDialogWiring : public QObject {
  Q_OBJECT

 private slots:
  void addShowsTheLinkAtOnceAsOneStep() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    whenShown(part<TFAddItem>(w, "FAddItem"), [&] {
      part<TFAddItem>(w, "FAddItem")->EditDescription->setText("Fresh");
      part<TFAddItem>(w, "FAddItem")->EditName->setText("http://fresh.example");
      part<TFAddItem>(w, "FAddItem")->BOk->click();
    });
    part<QToolButton>(w, "BAdd")->click();
    QVERIFY(f.captions().contains("Fresh"));
    QVERIFY(w.view().document().isDirty());
    QCOMPARE(item(w, "Undo1")->text(), QStringLiteral("Undo Add 'Fresh'"));
    item(w, "Undo1")->trigger();
    QVERIFY(!f.captions().contains("Fresh"));
  }

  void newFolderInTheDialogIsOneStep() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    f.prompts.inputs = {QStringLiteral("Made")};
    whenShown(part<TFAddItem>(w, "FAddItem"), [&] {
      part<TFAddItem>(w, "FAddItem")->BNewFolder->click();
      part<TFAddItem>(w, "FAddItem")->BCancel->click();
    });
    part<QToolButton>(w, "BAdd")->click();
    QVERIFY(childNamed(w.view().tree().root(), "Made"));
    QCOMPARE(item(w, "Undo1")->text(), QStringLiteral("Undo New Folder 'Made'"));
    item(w, "Undo1")->trigger();
    QVERIFY(!childNamed(w.view().tree().root(), "Made"));
  }

  void editOfAFlatRowChangesItsOwnRecord() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    part<QToolButton>(w, "ToolButton12")->click();  // classic style: the flat listing
    FolderNode* selected = w.view().tree().selected();
    QVERIFY(rowOf(w, "deep") >= 0);
    focusRow(w, "deep");
    QStringList seen;
    whenShown(part<TFAddItem>(w, "FAddItem"), [&] {
      seen << part<TFAddItem>(w, "FAddItem")->windowTitle()
           << part<TFAddItem>(w, "FAddItem")->EditDescription->text()
           << part<TFAddItem>(w, "FAddItem")->EditName->text();
      part<TFAddItem>(w, "FAddItem")->EditDescription->setText("deeper");
      part<TFAddItem>(w, "FAddItem")->BOk->click();
    });
    part<QAction>(w, "EEdit")->trigger();
    QCOMPARE(seen, (QStringList{"Edit Url", "deep", "http://deep.example"}));
    QVERIFY(w.view().document().links().indexOf("Favorites\\A\\Sub\\deeper") >= 0);
    QVERIFY(w.view().document().links().indexOf("Favorites\\A\\Sub\\deep") < 0);
    QVERIFY(w.view().document().links().indexOf("Favorites\\deeper") < 0);
    QVERIFY(f.captions().contains("deeper"));
    QCOMPARE(w.view().tree().selected(), selected);
    QCOMPARE(item(w, "Undo1")->text(), QStringLiteral("Undo Edit 'deeper'"));
  }

  void captureFillsTheDialogFromFirefox() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    const QByteArray json =
        "{\"windows\":[{\"tabs\":[{\"entries\":[{\"url\":\"http://page.example/\","
        "\"title\":\"The page\"}],\"index\":1}],\"selected\":1}],\"selectedWindow\":1}";
    QByteArray file("mozLz40\0", 8);
    for (int i = 0; i < 4; ++i) file += char((quint32(json.size()) >> (8 * i)) & 0xff);
    QByteArray block(LZ4_compressBound(int(json.size())), Qt::Uninitialized);
    block.truncate(
        LZ4_compress_default(json.constData(), block.data(), int(json.size()), int(block.size())));
    const QString root = f.home.path(".mozilla/firefox");
    writeFile(root + "/profiles.ini", "[Profile0]\nPath=x.default\nIsRelative=1\n");
    writeFile(root + "/x.default/sessionstore-backups/recovery.jsonlz4", file + block);
    QStringList seen;
    whenShown(part<TFAddItem>(w, "FAddItem"), [&] {
      part<TFAddItem>(w, "FAddItem")->BCaptureURL->click();
      part<TFAddItem>(w, "FAddItem")->BCaptureTitle->click();
      seen << part<TFAddItem>(w, "FAddItem")->EditName->text()
           << part<TFAddItem>(w, "FAddItem")->EditDescription->text();
      part<TFAddItem>(w, "FAddItem")->BCancel->click();
    });
    part<QToolButton>(w, "BAdd")->click();
    QCOMPARE(seen, (QStringList{"http://page.example/", "The page"}));
  }

  void browseCommandsWithoutARegisteredBrowser() {
    MainWindowFixture f(kSample);
    TFMainXeVorlix& w = f.w();
    focusRow(w, "News");
    part<QAction>(w, "OpenNew")->trigger();
    part<QAction>(w, "OpenSame")->trigger();
    // Nothing registered: both reach the desktop's opener, unchanged.
    QCOMPARE(f.desktop.openedUrls, (QStringList{"http://news.example", "http://news.example"}));
  }
};

QTEST_MAIN(TestLinkDialogWiring)
#include "tst_linkdialogwiring.moc"
