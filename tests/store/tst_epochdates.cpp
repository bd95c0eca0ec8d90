#include <QDateTime>
#include <QTest>
#include <ctime>
#include <random>

#include "store/DosDate.h"
#include "store/EpochDates.h"

using namespace vorlix;

class TestEpochDates : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    // A zone with clock changes, so the cached offsets must follow them.
    qputenv("TZ", "Europe/Berlin");
    ::tzset();
  }

  void agreesWithTheSystemsLocalTime() {
    EpochDates dates;
    std::mt19937_64 rng(3);
    // Random instants from 1975 to 2110, and every 10 minutes around the
    // spring and autumn changes of 2021.
    std::vector<qint64> instants;
    for (int i = 0; i < 20000; ++i) instants.push_back(157766400 + qint64(rng() % 4261000000ULL));
    for (qint64 s = 1616893200 - 7200; s < 1616893200 + 7200; s += 600) instants.push_back(s);
    for (qint64 s = 1635638400 - 7200; s < 1635638400 + 7200; s += 600) instants.push_back(s);
    for (qint64 s : instants) {
      const std::uint32_t want = toDosDateTime(QDateTime::fromSecsSinceEpoch(s));
      QCOMPARE(dates.toDos(s), want);
      if (want == 0) continue;
      // Back again: the stamp's time (two-second steps) as the system
      // reads it; in the hour the clocks repeat either reading will do.
      const std::optional<qint64> back = dates.toEpoch(want);
      QVERIFY(back.has_value());
      QCOMPARE(dates.toDos(*back), want);
      const qint64 system = fromDosDateTime(want)->toSecsSinceEpoch();
      QVERIFY2(*back == system || qAbs(*back - system) == 3600, qPrintable(QString::number(s)));
    }
    QVERIFY(!dates.toEpoch(0).has_value());
    QVERIFY(!dates.toEpoch(0xFFFFFFFF).has_value());
  }
};

QTEST_GUILESS_MAIN(TestEpochDates)
#include "tst_epochdates.moc"
