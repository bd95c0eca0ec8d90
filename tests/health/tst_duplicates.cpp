// Duplicates: the canonical URL rules case by case, groups across folders
// with the oldest copy first, a merge that drops only the other copies and
// undoes byte for byte, and the command line's listing.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <cstring>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "cli/Verbs.h"
#include "document/DocumentEdit.h"
#include "document/LinkDocument.h"
#include "editing/AddItemDialog.h"
#include "health/CanonicalUrl.h"
#include "health/Duplicates.h"
#include "health/widgets/DuplicatesWindow.h"
#include "mainwindow/WindowParts.h"
#include "store/LdbFile.h"
#include "support/Files.h"
#include "support/MainWindowFixture.h"
#include "support/Records.h"
#include "support/TempDir.h"

using namespace vorlix;

namespace {

LinkRecord link(const char* name, const char* url, std::uint32_t date = 0x58E96000u) {
  return LinkRecord::make(name, url, date, kKindUrl);
}

QByteArray bytesOf(const LinkList& l) { return ldbBytes(l); }

// Dates: 2024-04-09 (older) and 2024-05-01 (newer), as MS-DOS stamps.
constexpr std::uint32_t kOld = 0x58896000u;
constexpr std::uint32_t kNew = 0x58A16000u;

}  // namespace

class TestDuplicates : public QObject {
  Q_OBJECT
 private slots:
  void canonicalRules_data() {
    QTest::addColumn<QByteArray>("a");
    QTest::addColumn<QByteArray>("b");
    QTest::addColumn<bool>("same");
    auto row = [](const char* tag, const char* a, const char* b, bool same) {
      QTest::newRow(tag) << QByteArray(a) << QByteArray(b) << same;
    };
    row("scheme and host case", "HTTP://Example.COM/a", "http://example.com/a", true);
    row("path case counts", "http://example.com/Page", "http://example.com/page", false);
    row("http is https", "https://example.com/a", "http://example.com/a", true);
    row("no www", "http://www.example.com/a", "http://example.com/a", true);
    row("www2 is another host", "http://www2.example.com/a", "http://example.com/a", false);
    row("default ports", "https://example.com:443/a", "http://example.com:80/a", true);
    row("other port counts", "http://example.com:8080/a", "http://example.com/a", false);
    row("trailing slash", "http://example.com/a/", "http://example.com/a", true);
    row("bare host slash", "http://example.com/", "http://example.com", true);
    row("query sorted", "http://e.com/?b=2&a=1", "http://e.com/?a=1&b=2", true);
    row("query values count", "http://e.com/?id=1", "http://e.com/?id=2", false);
    row("tracking dropped", "http://e.com/p?utm_source=x&id=3&fbclid=y&GCLID=z",
        "http://e.com/p?id=3", true);
    row("only tracking", "http://e.com/p?utm_medium=mail", "http://e.com/p", true);
    row("fragment dropped", "http://e.com/p#section", "http://e.com/p", true);
    row("app routes differ", "http://e.com/#/inbox", "http://e.com/#/sent", false);
    row("hashbang route kept", "http://e.com/#!/a", "http://e.com/", false);
    row("no scheme typed", "www.example.com/a", "https://example.com/a/", true);
    row("mailto scheme case", "MAILTO:a@b.example", "mailto:a@b.example", true);
    row("bookmarklet kept whole", "javascript:f('?b&a')", "javascript:f('?a&b')", false);
    row("user info counts", "http://ann@e.com/", "http://bob@e.com/", false);
    row("blanks around", "  http://e.com/a \t", "http://e.com/a", true);
  }
  void canonicalRules() {
    QFETCH(QByteArray, a);
    QFETCH(QByteArray, b);
    QFETCH(bool, same);
    const std::string ka = canonicalUrl(std::string_view(a.constData(), size_t(a.size())));
    const std::string kb = canonicalUrl(std::string_view(b.constData(), size_t(b.size())));
    QCOMPARE(ka == kb, same);
  }

  // A record's single-byte text and the same address typed in Unicode.
  void storedAndTypedTextShareAKey() {
    QCOMPARE(canonicalUrl(std::string_view("http://e.com/caf\xE9")),
             canonicalUrl(QStringLiteral("https://www.e.com/caf\u00E9/")));
  }

  void groupsAcrossFoldersOldestFirst() {
    LinkList l;
    l.append(link("Favorites\\A\\first", "http://e.com/x", kNew));                   // 0
    l.append(LinkRecord::make("Favorites\\A\\", "", kOld, kKindFolder));             // 1
    l.append(link("Favorites\\B\\other", "http://other.com/", kOld));                // 2
    l.append(link("Favorites\\B\\second", "https://www.e.com/x/", kOld));            // 3
    l.append(link("Favorites\\C\\undated", "http://e.com/x?utm_source=z", 0));       // 4
    l.append(link("Favorites\\C\\second other", "HTTP://OTHER.COM", kNew));          // 5
    l.append(LinkRecord::make("Favorites\\odd", "http://other.com", kOld, "Note"));  // 6
    const std::vector<DuplicateGroup> g = findDuplicates(l);
    QCOMPARE(g.size(), size_t(2));
    QCOMPARE(g[0].members, (std::vector<std::uint32_t>{3, 0, 4}));
    QCOMPARE(g[1].members, (std::vector<std::uint32_t>{2, 5}));
  }

  // The merge drops the other copies and nothing else; undo and redo give
  // the very bytes back, those after the text included.
  void mergeDropsOnlyTheOthersAndUndoesByteForByte() {
    LinkList l;
    l.append(link("Favorites\\A\\keep me", "http://e.com/x", kOld));
    l.append(link("Favorites\\A\\unrelated", "http://u.com/", kOld));
    l.append(link("Favorites\\B\\copy", "https://e.com/x/", kNew));
    l.append(link("Favorites\\B\\copy2", "https://u.com", kNew));
    std::memset(l.storage()[2].raw.data() + 100, 0x5A, 50);  // bytes past the name
    LinkDocument doc;
    doc.adopt(std::move(l), QStringLiteral("f.ldb"));
    const QByteArray before = bytesOf(doc.links());

    const std::vector<DuplicateGroup> groups = findDuplicates(doc.links());
    QCOMPARE(groups.size(), size_t(2));
    // Keep the oldest of the first group, the newer one of the second.
    QCOMPARE(mergeDuplicates(doc, groups, {groups[0].members[0], 3}, QStringLiteral("Merge")), 2L);
    QCOMPARE(doc.links().size(), size_t(2));
    QCOMPARE(bytesOf(doc.links()), before.mid(0, kRecordSize) + before.mid(3 * kRecordSize));
    const QByteArray after = bytesOf(doc.links());
    QCOMPARE(doc.history().count(), size_t(1));
    doc.undo();
    QCOMPARE(bytesOf(doc.links()), before);
    doc.redo();
    QCOMPARE(bytesOf(doc.links()), after);

    // Groups found before the change no longer fit: nothing happens.
    doc.undo();
    DocumentEdit edit(doc, QStringLiteral("Rename"));
    edit.links().setFullName(0, "Favorites\\A\\renamed");
    edit.links().replace(2, link("Favorites\\B\\copy", "http://elsewhere.com/", kNew));
    edit.commit();
    const QByteArray edited = bytesOf(doc.links());
    QCOMPARE(mergeDuplicates(doc, groups, {groups[0].members[0], 3}, QStringLiteral("Merge")), -1L);
    QCOMPARE(bytesOf(doc.links()), edited);
  }

  void verbListsGroupsAsJson() {
    test::IsolatedHome home;
    LinkList l;
    l.append(link("Favorites\\A\\one", "http://e.com/x", kNew));
    l.append(link("Favorites\\B\\two", "https://e.com/x", kOld));
    l.append(link("Favorites\\B\\alone", "https://alone.com/", kOld));
    const QString db = home.path(QStringLiteral("d.ldb"));
    const QString json = home.path(QStringLiteral("out/d.json"));
    QVERIFY(saveLdbFile(db, l).ok);
    QString outText, errText;
    QTextStream out(&outText), err(&errText);
    QCOMPARE(runVerb({QStringLiteral("--find-duplicates"), db, QStringLiteral("--json"), json}, out,
                     err),
             0);
    out.flush();
    QVERIFY(outText.contains(QStringLiteral("Favorites\\B\\two\thttps://e.com/x")));
    const QJsonArray groups = QJsonDocument::fromJson(test::readFile(json)).array();
    QCOMPARE(groups.size(), 1);
    const QJsonArray copies = groups[0].toArray();
    QCOMPARE(copies.size(), 2);
    QCOMPARE(copies[0].toObject().value(QStringLiteral("name")).toString(),
             QStringLiteral("Favorites\\B\\two"));
    QCOMPARE(copies[1].toObject().value(QStringLiteral("url")).toString(),
             QStringLiteral("http://e.com/x"));
    // A file that cannot be read fails with the reason, without a listing.
    QCOMPARE(runVerb({QStringLiteral("--find-duplicates"), home.path(QStringLiteral("no.ldb"))},
                     out, err),
             1);
    QCOMPARE(runVerb({QStringLiteral("--find-duplicates")}, out, err), 2);
  }

  // Edit > "Find Duplicates..." lists the groups; the copy marked with
  // "Keep This Copy" stays, the merge is one undo step, and the views show
  // the result.
  void windowMergesTheMarkedCopy() {
    test::MainWindowFixture f({"Favorites\\A\\", "Favorites\\A\\old|http://e.com/x",
                               "Favorites\\B\\", "Favorites\\B\\new|https://www.e.com/x/",
                               "Favorites\\B\\other|http://o.com/"});
    const QStringList before = test::describe(f.w().view().document().links());
    auto* item = f.w().findChild<QAction*>(QStringLiteral("FindDuplicates1"));
    QVERIFY(item && item->isEnabled());
    item->trigger();
    auto* w = f.w().findChild<DuplicatesWindow*>();
    QVERIFY(w && w->isVisible());
    QCOMPARE(w->Groups->topLevelItemCount(), 1);
    QTreeWidgetItem* group = w->Groups->topLevelItem(0);
    QCOMPARE(group->childCount(), 2);
    QCOMPARE(group->child(0)->text(4), QStringLiteral("Kept"));  // the oldest by default
    group->child(1)->setSelected(true);
    w->BKeep->click();
    QCOMPARE(group->child(1)->text(4), QStringLiteral("Kept"));
    w->BMerge->click();
    QCOMPARE(test::describe(f.w().view().document().links()),
             QStringList({"Favorites\\A\\||Folder", "Favorites\\B\\||Folder",
                          "Favorites\\B\\new|https://www.e.com/x/|Url",
                          "Favorites\\B\\other|http://o.com/|Url"}));
    QCOMPARE(w->Groups->topLevelItemCount(), 0);  // found again after the change
    f.w().view().document().undo();
    QCOMPARE(test::describe(f.w().view().document().links()), before);
    QCOMPARE(w->Groups->topLevelItemCount(), 1);
  }

  // The Add Url dialog says where the page is filed already, for adding
  // only: an edited link would find itself.
  void addUrlDialogTellsWhereThePageIs() {
    test::MainWindowFixture f({"Favorites\\News\\", "Favorites\\News\\paper|http://e.com/x"});
    QLineEdit* url = part<TFAddItem>(f.w(), "FAddItem")->EditName;
    auto* hint =
        part<TFAddItem>(f.w(), "FAddItem")->findChild<QLabel*>(QStringLiteral("DuplicateHint"));
    QVERIFY(hint);
    url->setText(QStringLiteral("https://www.e.com/x/?utm_source=feed"));
    QCOMPARE(hint->text(), QStringLiteral("Already in Folder Favorites\\News"));
    url->setText(QStringLiteral("https://e.com/y"));
    QVERIFY(hint->text().isEmpty());
  }
};

QTEST_MAIN(TestDuplicates)
#include "tst_duplicates.moc"
