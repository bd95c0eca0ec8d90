#include <QPainter>
#include <QTest>

#include "components/ImageList.h"

using namespace vorlix;

static void initIcons() { Q_INIT_RESOURCE(vorlix); }

namespace {

// Pixels a drawing actually covers.
int covered(const QPixmap& pm) {
  const QImage img = pm.toImage().convertToFormat(QImage::Format_ARGB32);
  int n = 0;
  for (int y = 0; y < img.height(); ++y) {
    for (int x = 0; x < img.width(); ++x) n += qAlpha(img.pixel(x, y)) > 0;
  }
  return n;
}

}  // namespace

class TestImageList : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { initIcons(); }

  void rowListsHaveTheFixedIndices() {
    const ImageList small = ImageList::smallImages();
    const ImageList large = ImageList::largeImages();
    QCOMPARE(small.count(), 6);
    QCOMPARE(large.count(), 6);
    QCOMPARE(small.size(), 16);
    QCOMPARE(large.size(), 32);
    for (int i = 0; i < 6; ++i) {
      QCOMPARE(small.pixmap(i).size(), QSize(16, 16));
      QCOMPARE(large.pixmap(i).size(), QSize(32, 32));
      QVERIFY(covered(small.pixmap(i)) > 0);
    }
    // Index order: the root's star and the arrows tell them apart.
    QCOMPARE(small.icon(imgFolder).cacheKey(), ImageList::commandIcon("folder").cacheKey());
    QCOMPARE(small.icon(imgLink).cacheKey(), ImageList::commandIcon("link").cacheKey());
    QVERIFY(small.icon(6).isNull());
    QVERIFY(small.icon(-1).isNull());
    QVERIFY(ImageList().isEmpty());
    const ImageList pane = ImageList::paneToggleImages();
    QCOMPARE(pane.count(), 4);
    QVERIFY(pane.pixmap(imgPaneVisible).toImage() != pane.pixmap(imgPaneHidden).toImage());
    QVERIFY(covered(pane.pixmap(imgPreviewShown)) > 0);
    QVERIFY(pane.pixmap(imgPreviewShown).toImage() != pane.pixmap(imgPreviewHidden).toImage());
  }

  void everyCommandIconIsDrawn() {
    for (const QString& name : ImageList::commandIconNames()) {
      const QIcon icon = ImageList::commandIcon(name);
      QVERIFY2(!icon.isNull(), qPrintable(name));
      QVERIFY2(covered(icon.pixmap(16, 16)) > 12, qPrintable(name));
      QVERIFY2(covered(icon.pixmap(32, 32)) > 48, qPrintable(name));
    }
    QVERIFY(ImageList::commandIcon("no-such-icon").isNull());
    QVERIFY(!ImageList::programIcon().isNull());
    QCOMPARE(ImageList::programIcon().pixmap(48, 48).size(), QSize(48, 48));
  }

  // With VORLIX_SNAPSHOT_DIR set, draws every icon at 16 and 32 px onto one
  // sheet there, for a look by eye.
  void iconSheet() {
    const QString dir = qEnvironmentVariable("VORLIX_SNAPSHOT_DIR");
    if (dir.isEmpty()) QSKIP("VORLIX_SNAPSHOT_DIR not set");
    const QStringList names = ImageList::commandIconNames();
    const int cols = 8;
    const int cell = 84;
    QImage sheet(cols * cell, ((names.size() + cols - 1) / cols) * cell, QImage::Format_ARGB32);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    for (int i = 0; i < names.size(); ++i) {
      const int x = (i % cols) * cell, y = (i / cols) * cell;
      const QIcon icon = ImageList::commandIcon(names[i]);
      p.drawPixmap(x + 8, y + 16, icon.pixmap(16, 16));
      p.drawPixmap(x + 36, y + 8, icon.pixmap(32, 32));
      p.setFont(QFont(p.font().family(), 7));
      p.drawText(QRect(x, y + 50, cell, 20), Qt::AlignCenter, names[i]);
    }
    p.end();
    QVERIFY(sheet.save(dir + "/icons.png"));
  }
};

QTEST_MAIN(TestImageList)
#include "tst_imagelist.moc"
