// Sort keys against the comparisons under real locales, where the keys come
// from ICU rather than from the plain C-locale bytes.
#include <QCoreApplication>
#include <QTest>
#include <algorithm>
#include <numeric>
#include <random>
#include <thread>

#include "store/Ansi.h"
#include "store/Collation.h"

using namespace vorlix;

namespace {

constexpr const char* kSystemLocale = "en_US.UTF-8";

// Texts where locales differ: case, accents, German and Danish letters,
// punctuation, digits, folder separators, C1 bytes, ignorable controls, "".
std::vector<AnsiString> trickyTexts() {
  std::vector<AnsiString> t{"",
                            "apple",
                            "Apple",
                            "APPLE",
                            "\xE4pfel",
                            "\xC4pfel",
                            "aepfel",
                            "Aepfel",
                            "stra\xDF"
                            "e",
                            "strasse",
                            "Strasse",
                            "\xF6l",
                            "oel",
                            "\xD6l",
                            "\xFC"
                            "ber",
                            "ueber",
                            "aa",
                            "Aa",
                            "\xE5",
                            "\xC5",
                            "\xE6",
                            "\xF8",
                            "z",
                            "Z",
                            "\xE9t\xE9",
                            "ete",
                            "\xC9t\xE9",
                            "a-b",
                            "ab",
                            "a b",
                            "a_b",
                            "a\\b",
                            "a\x01"
                            "b",
                            "\x01",
                            "10",
                            "9",
                            "\x8Auvre",
                            "\x9Auvre",
                            "\x8C"
                            "uvre",
                            "\x9C"
                            "uvre",
                            "\x80",
                            "\x81",
                            "\x8D",
                            "Favorites\\A\\",
                            "Favorites\\a",
                            "Favorites\\\xC4\\x",
                            "ch",
                            "cz",
                            "ij",
                            "y"};
  for (int b = 1; b < 256; ++b) t.emplace_back(1, char(b));
  return t;
}

int sign(int v) { return (v > 0) - (v < 0); }

int compareText(Qt::CaseSensitivity cs, const AnsiString& a, const AnsiString& b) {
  return cs == Qt::CaseInsensitive ? compareNoCase(a, b) : compareCase(a, b);
}

QString describe(const AnsiString& a, const AnsiString& b, int got, int want) {
  return QStringLiteral("\"%1\" vs \"%2\": keys %3, comparison %4")
      .arg(fromAnsi(a), fromAnsi(b))
      .arg(got)
      .arg(want);
}

// The first pair whose keys order otherwise than the comparison, or "".
QString firstDisagreement(Qt::CaseSensitivity cs) {
  const std::vector<AnsiString> texts = trickyTexts();
  CollationKeys keys(cs);
  if (keys.isPlain()) return QStringLiteral("keys are the C locale's");
  for (const AnsiString& t : texts) keys.add(t);
  for (std::uint32_t a = 0; a < texts.size(); ++a)
    for (std::uint32_t b = 0; b < texts.size(); ++b) {
      const int want = sign(compareText(cs, texts[a], texts[b]));
      const int got = sign(keys.compare(a, b));
      if (got != want) return describe(texts[a], texts[b], got, want);
    }
  return {};
}

// Random short texts of telling bytes, many repeats: enough of them that a
// batch is split among threads.
std::vector<AnsiString> randomTexts(size_t n) {
  static const char alphabet[] = "aAeE\xE4\xC4\xE9\xC9\xDFsSoO\xF6\xD6\xE5 -\\_1\x01";
  std::mt19937 rng(11);
  std::uniform_int_distribution<size_t> len(0, 7), pick(0, sizeof alphabet - 2);
  std::vector<AnsiString> out(n);
  for (AnsiString& s : out) {
    const size_t l = len(rng);
    for (size_t i = 0; i < l; ++i) s.push_back(alphabet[pick(rng)]);
  }
  return out;
}

// Sorts a big batch by the shared cache's keys and checks each neighbour
// pair and a sample of random pairs against the comparison.
QString batchDisagreement() {
  const std::vector<AnsiString> texts = randomTexts(40000);
  std::vector<std::string_view> views(texts.begin(), texts.end());
  KeyCache& cache = sharedKeyCache();
  cache.clear();
  std::vector<std::uint32_t> ids;
  cache.keysOf(views, ids);
  // A second batch finds every key made by the first.
  std::vector<std::uint32_t> again;
  cache.keysOf(views, again);
  if (again != ids) return QStringLiteral("a second batch made other keys");
  const CollationKeys& keys = cache.keys();
  std::vector<size_t> order(texts.size());
  std::iota(order.begin(), order.end(), size_t(0));
  std::sort(order.begin(), order.end(),
            [&](size_t a, size_t b) { return keys.less(ids[a], ids[b]); });
  for (size_t i = 1; i < order.size(); ++i) {
    const AnsiString &a = texts[order[i - 1]], &b = texts[order[i]];
    const int got = sign(keys.compare(ids[order[i - 1]], ids[order[i]]));
    const int want = sign(compareNoCase(a, b));
    if (got != want) return describe(a, b, got, want);
  }
  std::mt19937 rng(5);
  std::uniform_int_distribution<size_t> any(0, texts.size() - 1);
  for (int k = 0; k < 20000; ++k) {
    const size_t a = any(rng), b = any(rng);
    const int got = sign(keys.compare(ids[a], ids[b]));
    const int want = sign(compareNoCase(texts[a], texts[b]));
    if (got != want) return describe(texts[a], texts[b], got, want);
  }
  cache.clear();
  return {};
}

// Runs `check` on a new thread, whose collators are made afresh for
// `locale` (they are per thread and made on first use).
template <class F>
QString onThreadWithLocale(const QLocale& locale, F check) {
  const QLocale before;
  QLocale::setDefault(locale);
  QString result;
  std::thread t([&] { result = check(); });
  t.join();
  QLocale::setDefault(before);
  return result;
}

}  // namespace

class TestCollationLocales : public QObject {
  Q_OBJECT

 private slots:
  void systemLocale() {
    const QString want = QString::fromLatin1(kSystemLocale).section(u'.', 0, 0);
    if (QLocale::system().name() != want)
      QSKIP(qPrintable(
          QStringLiteral("the system locale is %1, not %2").arg(QLocale::system().name(), want)));
    for (Qt::CaseSensitivity cs : {Qt::CaseInsensitive, Qt::CaseSensitive}) {
      const QString bad = firstDisagreement(cs);
      if (!bad.isEmpty()) QFAIL(qPrintable(bad));
    }
    const QString bad = batchDisagreement();
    if (!bad.isEmpty()) QFAIL(qPrintable(bad));
  }

  void otherLocales_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("en_US") << QStringLiteral("en_US");
    QTest::newRow("de_DE") << QStringLiteral("de_DE");
    QTest::newRow("da_DK") << QStringLiteral("da_DK");
  }

  void otherLocales() {
    QFETCH(QString, name);
    const QLocale locale(name);
    if (locale.name() != name) QSKIP(qPrintable(name + QStringLiteral(" is not known to Qt")));
    for (Qt::CaseSensitivity cs : {Qt::CaseInsensitive, Qt::CaseSensitive}) {
      const QString bad = onThreadWithLocale(locale, [cs] { return firstDisagreement(cs); });
      if (!bad.isEmpty()) QFAIL(qPrintable(bad));
    }
    const QString bad = onThreadWithLocale(locale, [] { return batchDisagreement(); });
    if (!bad.isEmpty()) QFAIL(qPrintable(bad));
  }

  void germanOrder() {
    // A known answer, so that agreeing keys cannot both be wrong the same way.
    const QString bad = onThreadWithLocale(QLocale(QStringLiteral("de_DE")), [] {
      const std::vector<AnsiString> want{"Apfel", "\xC4pfel", "Bar", "Ol", "\xD6l", "Zoo"};
      CollationKeys keys;
      for (auto it = want.rbegin(); it != want.rend(); ++it) keys.add(*it);
      std::vector<std::uint32_t> order(want.size());
      std::iota(order.begin(), order.end(), 0u);
      std::sort(order.begin(), order.end(), [&](auto a, auto b) { return keys.less(a, b); });
      QStringList got;
      for (std::uint32_t i : order) got << fromAnsi(want[want.size() - 1 - i]);
      QStringList expected;
      for (const AnsiString& w : want) expected << fromAnsi(w);
      return got == expected ? QString() : got.join(u' ');
    });
    if (!bad.isEmpty()) QFAIL(qPrintable(bad));
  }
};

int main(int argc, char** argv) {
  // Qt reads the system locale once, on first use: set it before anything
  // asks, as a user's session would.
  qputenv("LC_ALL", kSystemLocale);
  qputenv("LANG", kSystemLocale);
  QCoreApplication app(argc, argv);
  TestCollationLocales test;
  return QTest::qExec(&test, argc, argv);
}

#include "tst_collation_locales.moc"
