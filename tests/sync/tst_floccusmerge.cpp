// floccus's XBEL read and written back unchanged, and the three-way merge of
// remote file, local records and last synced copy.
#include <QtTest>

#include "SyncMachines.h"
#include "document/DocumentEdit.h"
#include "document/LinkDocument.h"
#include "store/LinkList.h"
#include "sync/FloccusCrypto.h"
#include "sync/FloccusXbel.h"
#include "sync/LocalApply.h"
#include "sync/LocalSide.h"
#include "sync/SyncMerge.h"
#include "sync/SyncRun.h"

using namespace vorlix;
using namespace vorlix::sync;
using vorlix::test::paths;
using vorlix::test::records;

namespace {

// As floccus's serializer lays it out (fast-xml-parser, formatted).
const char kFloccusFile[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!DOCTYPE xbel PUBLIC \"+//IDN python.org//DTD XML Bookmark Exchange Language "
    "1.0//EN//XML\" \"http://pyxml.sourceforge.net/topics/dtds/xbel.dtd\">\n"
    "<xbel version=\"1.0\">\n"
    "<!--- highestId :12: for Floccus bookmark sync browser extension -->\n"
    "\n"
    "<folder id=\"3\">\n"
    "  <title>Bookmarks Bar</title>\n"
    "  <bookmark href=\"https://example.org/a?x=1&amp;y=2\" id=\"7\">\n"
    "    <title>Tom &amp; Jerry&apos;s &quot;page&quot; &lt;1&gt;</title>\n"
    "  </bookmark>\n"
    "  <folder id=\"9\">\n"
    "    <title>Back\\slash</title>\n"
    "  </folder>\n"
    "</folder>\n"
    "<bookmark href=\"https://xn--n-xfa.example/\" id=\"11\">\n"
    "  <title>\xce\x95\xce\xbb\xce\xbb\xce\xb7\xce\xbd\xce\xb9\xce\xba\xce\xac</title>\n"
    "</bookmark>\n"
    "</xbel>";

// Items as "id:path" for folders ("3:A/B/") and "id:path=url" for links;
// parents by path, listed before their contents.
SyncTree tree(const QStringList& lines) {
  SyncTree t;
  QHash<QString, int> folders{{QString(), kRootId}};
  for (const QString& line : lines) {
    const int colon = line.indexOf(QLatin1Char(':'));
    SyncItem item;
    item.id = line.left(colon).toInt();
    QString path = line.mid(colon + 1);
    item.folder = !path.contains(QLatin1Char('=')) && path.endsWith(QLatin1Char('/'));
    if (!item.folder) {
      item.url = path.section(QLatin1Char('='), 1);
      path = path.section(QLatin1Char('='), 0, 0);
    } else {
      path.chop(1);
    }
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    item.title = path.mid(slash + 1);
    const int parent = folders.value(slash < 0 ? QString() : path.left(slash));
    if (item.folder) folders.insert(path, item.id);
    t.add(parent, item);
  }
  return t;
}

struct Synced {
  MergeResult result;
  LinkList local;
};

Synced syncOnce(const SyncTree* base, const SyncTree& remote, LinkList local) {
  const LocalSide side = readLocalSide(local, base, remote);
  Synced s{mergeTrees(base, remote, side.tree), std::move(local)};
  applyToLocal(s.local, side, s.result.merged, 0);
  return s;
}

}  // namespace

class TestFloccusMerge : public QObject {
  Q_OBJECT
 private slots:
  void floccusFileRoundTrips() {
    const auto t = parseFloccusXbel(kFloccusFile);
    QVERIFY(t);
    QCOMPARE(t->highestId(), 12);
    QCOMPARE(t->find(7)->title, QStringLiteral("Tom & Jerry's \"page\" <1>"));
    QCOMPARE(t->find(7)->url, QStringLiteral("https://example.org/a?x=1&y=2"));
    QCOMPARE(t->find(9)->parent, 3);
    QCOMPARE(writeFloccusXbel(*t), QByteArray(kFloccusFile));
  }

  // Merged with a database that added one link, every id stays and the new
  // link takes the next one; what the records cannot hold ('\' in a name)
  // reaches the file as floccus wrote it.
  void floccusFileMergedKeepsIds() {
    const SyncTree remote = *parseFloccusXbel(kFloccusFile);
    Synced first = syncOnce(nullptr, remote, LinkList());
    QCOMPARE(first.result.merged.items().size(), size_t(5));
    const SyncTree base = first.result.merged;
    LinkList local = first.local;
    local.append(
        LinkRecord::make("Favorites\\Bookmarks Bar\\Back/slash\\new", "https://n/", 0, kKindUrl));
    const Synced second = syncOnce(&base, remote, local);
    const SyncTree again = *parseFloccusXbel(writeFloccusXbel(second.result.merged));
    for (const int id : {3, 7, 9, 11}) QVERIFY(again.contains(id));
    QCOMPARE(again.find(9)->title, QStringLiteral("Back\\slash"));
    QCOMPARE(again.find(13)->parent, 9);
    QCOMPARE(again.highestId(), 13);
  }

  void encryptionRoundTrips() {
    const QByteArray file = encryptFloccus(QStringLiteral("pässphrase"), kFloccusFile);
    const QJsonObject json = QJsonDocument::fromJson(file).object();
    QCOMPARE(json.value(QLatin1String("salt")).toString().size(), 128);
    QVERIFY(looksEncrypted(file));
    QCOMPARE(decryptFloccus(QStringLiteral("pässphrase"), file, {}), QByteArray(kFloccusFile));
    QVERIFY(!decryptFloccus(QStringLiteral("passphrase"), file, {}));
  }

  // Python's `cryptography` with floccus's parameters: its file opens here,
  // and ours opens there.
  void encryptionMatchesAnotherTool() {
    const char script[] = R"(
import base64, json, sys
from cryptography.hazmat.primitives import hashes
from cryptography.hazmat.primitives.ciphers.aead import AESGCM
from cryptography.hazmat.primitives.kdf.pbkdf2 import PBKDF2HMAC
def key(salt):
    return PBKDF2HMAC(hashes.SHA256(), 32, salt.encode(), 250000).derive('geheim'.encode())
iv = bytes(range(16))
salt = 'ab' * 64
data = iv + AESGCM(key(salt)).encrypt(iv, 'Grüße <xbel/>'.encode(), None)
print(json.dumps({'ciphertext': base64.b64encode(data).decode(), 'salt': salt}))
theirs = json.loads(sys.argv[1])
raw = base64.b64decode(theirs['ciphertext'])
print(AESGCM(key(theirs['salt'])).decrypt(raw[:16], raw[16:], None).decode())
)";
    const QByteArray ours = encryptFloccus(QStringLiteral("geheim"), "floccus & vorlix");
    QProcess python;
    python.start(QStringLiteral("python3"),
                 {QStringLiteral("-c"), QStringLiteral("import cryptography")});
    if (!python.waitForFinished(60000) || python.exitCode() != 0)
      QSKIP("python3 with the cryptography module is not available");
    python.start(QStringLiteral("python3"),
                 {QStringLiteral("-c"), QString::fromUtf8(script), QString::fromUtf8(ours)});
    QVERIFY(python.waitForFinished(60000));
    QVERIFY2(python.exitCode() == 0, python.readAllStandardError().constData());
    const QList<QByteArray> lines = python.readAllStandardOutput().trimmed().split('\n');
    QCOMPARE(lines.size(), 2);
    QCOMPARE(decryptFloccus(QStringLiteral("geheim"), lines[0], {}), QByteArray("Gr\xc3\xbc\xc3\x9f"
                                                                                "e <xbel/>"));
    QCOMPARE(lines[1], QByteArray("floccus & vorlix"));
  }

  // A folder another program keeps in step: the same merge, floccus's lock
  // file only while a sync runs, and the first --to kept as the target.
  void syncThroughAFolder() {
    QTemporaryDir shared;
    test::Machine a(test::tenLinks()), b;
    QCOMPARE(test::syncCli(a, shared.path()).status, 0);
    QCOMPARE(test::syncCli(b, shared.path()).status, 0);
    a.edit([](LinkList& l) { test::addLink(l, "new", "http://n/"); });
    b.edit([](LinkList& l) { test::removeLink(l, "Work\\l1"); });
    const QString remote = shared.filePath(QStringLiteral("bookmarks.xbel"));
    const QByteArray localBefore = a.bytes(), remoteBefore = test::Machine::readFile(remote);
    QCOMPARE(test::syncCli(a, shared.path()).status, 0);
    // Both sides as they were before the sync changed them, dated.
    const QDir snapshots(a.home.filePath(QStringLiteral("state/vorlix/snapshots")));
    const QStringList ldbs =
        snapshots.entryList({QStringLiteral("*.ldb")}, QDir::Files, QDir::Name);
    const QStringList remotes = snapshots.entryList({QStringLiteral("*-remote.xbel")}, QDir::Files);
    QCOMPARE(ldbs.size(), 2);  // the first sync had no remote file to keep
    QCOMPARE(remotes.size(), 1);
    QCOMPARE(test::Machine::readFile(snapshots.filePath(ldbs.last())), localBefore);
    QCOMPARE(test::Machine::readFile(snapshots.filePath(remotes.last())), remoteBefore);
    QCOMPARE(test::syncCli(b, shared.path()).status, 0);
    a.use();
    QString out, err;
    QTextStream o(&out), e(&err);
    QCOMPARE(runVerb({QStringLiteral("--sync"), a.ldb}, o, e), 0);
    QCOMPARE(runVerb({QStringLiteral("--sync"), a.ldb}, o, e), 0);  // nothing to change
    QCOMPARE(snapshots.entryList(QDir::Files).size(), 5);
    QCOMPARE(a.content(), b.content());
    QVERIFY(a.content().contains(QStringLiteral("new=http://n/")));
    QVERIFY(!a.content().contains(QStringLiteral("Work/l1=https://l1.example/")));
    QVERIFY(parseFloccusXbel(
        test::Machine::readFile(shared.filePath(QStringLiteral("bookmarks.xbel")))));
    QVERIFY(!QFile::exists(shared.filePath(QStringLiteral("bookmarks.xbel.lock"))));
  }

  // An edit made while the sync waits (here for a lock) is never merged
  // over: the database stays as the user left it.
  void editDuringSyncIsKept() {
    QTemporaryDir shared;
    test::Machine a(test::tenLinks());
    a.use();
    QFile lock(shared.filePath(QStringLiteral("bookmarks.xbel.lock")));
    QVERIFY(lock.open(QIODevice::WriteOnly));
    lock.close();
    LinkDocument doc;
    doc.adopt(a.load(), a.ldb);
    QTimer::singleShot(100, [&] {
      DocumentEdit edit(doc, QStringLiteral("Add"));
      edit.links().append(LinkRecord::make("Favorites\\meanwhile", "http://m/", 0, kKindUrl));
      edit.commit();
      lock.remove();
    });
    QString error;
    auto target = makeTarget(shared.path(), {}, error);
    target->wait = {20, 10000};
    SyncOptions options;
    options.databasePath = a.ldb;
    const SyncReport report = runSync(doc, *target, options);
    QVERIFY(!report.ok);
    QVERIFY2(report.message.contains(QLatin1String("changed while it was being synced")),
             qPrintable(report.message));
    QCOMPARE(doc.links().size(), size_t(12));
    QCOMPARE(doc.history().undoText(), QStringLiteral("Add"));
  }

  void garbageIsNoBookmarkFile_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("json") << QByteArray("{\"ciphertext\":\"x\"}");
    QTest::newRow("html") << QByteArray("<html><body>I am a lock file</body></html>");
    QTest::newRow("cut") << QByteArray(kFloccusFile).left(300);
  }
  void garbageIsNoBookmarkFile() {
    QFETCH(QByteArray, text);
    QString error;
    QVERIFY(!parseFloccusXbel(text, &error));
    QVERIFY(!error.isEmpty());
  }

  void merge_data() {
    QTest::addColumn<bool>("hasBase");
    QTest::addColumn<QStringList>("base");
    QTest::addColumn<QStringList>("remote");
    QTest::addColumn<QStringList>("local");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("conflicts");
    const QStringList ab{"1:A/", "2:A/x=u1", "3:A/y=u2", "4:B/", "5:B/z=u3"};
    const QStringList abLocal{"A/", "A/x=u1", "A/y=u2", "B/", "B/z=u3"};
    QTest::newRow("first sync is a union")
        << false << QStringList() << QStringList{"1:A/", "2:A/x=u1", "3:t=u3"}
        << QStringList{"A/", "A/x=u1", "A/y=u2", "t=u4"}
        << QStringList{"A/", "A/x=u1", "A/y=u2", "t=u3", "t=u4"} << 0;
    QTest::newRow("adds on both sides")
        << true << ab << ab + QStringList{"6:B/r=u6"} << abLocal + QStringList{"A/l=u7"}
        << abLocal + QStringList{"A/l=u7", "B/r=u6"} << 0;
    QTest::newRow("deletes on both sides")
        << true << ab << QStringList{"1:A/", "2:A/x=u1", "3:A/y=u2", "4:B/"}
        << QStringList{"A/", "A/y=u2", "B/", "B/z=u3"} << QStringList{"A/", "A/y=u2", "B/"} << 0;
    QTest::newRow("renames on both sides")
        << true << ab << QStringList{"1:A/", "2:A/x2=u1", "3:A/y=u2", "4:B/", "5:B/z=u3"}
        << QStringList{"A/", "A/x=u1", "A/y=u2", "B/", "B/z2=u3"}
        << QStringList{"A/", "A/x2=u1", "A/y=u2", "B/", "B/z2=u3"} << 0;
    QTest::newRow("new URL on either side")
        << true << ab << QStringList{"1:A/", "2:A/x=v1", "3:A/y=u2", "4:B/", "5:B/z=u3"}
        << QStringList{"A/", "A/x=u1", "A/y=v2", "B/", "B/z=u3"}
        << QStringList{"A/", "A/x=v1", "A/y=v2", "B/", "B/z=u3"} << 0;
    QTest::newRow("moves on both sides")
        << true << ab << QStringList{"1:A/", "3:A/y=u2", "4:B/", "2:B/x=u1", "5:B/z=u3"}
        << QStringList{"A/", "A/x=u1", "A/y=u2", "A/z=u3", "B/"}
        << QStringList{"A/", "A/y=u2", "A/z=u3", "B/", "B/x=u1"} << 0;
    QTest::newRow("folder renamed remotely")
        << true << ab << QStringList{"1:C/", "2:C/x=u1", "3:C/y=u2", "4:B/", "5:B/z=u3"} << abLocal
        << QStringList{"B/", "B/z=u3", "C/", "C/x=u1", "C/y=u2"} << 0;
    QTest::newRow("folder renamed locally, link added remotely in it")
        << true << ab << ab + QStringList{"6:A/n=u6"}
        << QStringList{"C/", "C/x=u1", "C/y=u2", "B/", "B/z=u3"}
        << QStringList{"B/", "B/z=u3", "C/", "C/n=u6", "C/x=u1", "C/y=u2"} << 0;
    QTest::newRow("changed on both sides keeps both")
        << true << ab << QStringList{"1:A/", "2:A/x=r1", "3:A/y=u2", "4:B/", "5:B/z=u3"}
        << QStringList{"A/", "A/x=l1", "A/y=u2", "B/", "B/z=u3"}
        << QStringList{"A/", "A/x (conflict)=r1", "A/x=l1", "A/y=u2", "B/", "B/z=u3"} << 1;
    QTest::newRow("same change on both sides is no conflict")
        << true << ab << QStringList{"1:A/", "2:A/w=u1", "3:A/y=u2", "4:B/", "5:B/z=u3"}
        << QStringList{"A/", "A/w=u1", "A/y=u2", "B/", "B/z=u3"}
        << QStringList{"A/", "A/w=u1", "A/y=u2", "B/", "B/z=u3"} << 0;
    QTest::newRow("edit wins over delete")
        << true << ab << QStringList{"1:A/", "2:A/x=u1", "3:A/y=u2", "4:B/"}
        << QStringList{"A/", "A/x=u1", "A/y=u2", "B/", "B/z2=u3"}
        << QStringList{"A/", "A/x=u1", "A/y=u2", "B/", "B/z2=u3"} << 0;
    QTest::newRow("folder deleted remotely keeps a link added in it locally")
        << true << ab << QStringList{"4:B/", "5:B/z=u3"} << abLocal + QStringList{"A/n=u9"}
        << QStringList{"A/", "A/n=u9", "B/", "B/z=u3"} << 0;
    QTest::newRow("never seen is never deleted")
        << true << ab << ab + QStringList{"9:B/new=u9"}
        << QStringList{"A/", "A/x=u1", "A/y=u2", "B/", "B/z=u3"}
        << abLocal + QStringList{"B/new=u9"} << 0;
  }
  void merge() {
    QFETCH(bool, hasBase);
    QFETCH(QStringList, base);
    QFETCH(QStringList, remote);
    QFETCH(QStringList, local);
    QFETCH(QStringList, expected);
    QFETCH(int, conflicts);
    const SyncTree b = tree(base);
    const Synced s = syncOnce(hasBase ? &b : nullptr, tree(remote), records(local));
    expected.sort();
    QCOMPARE(paths(s.result.merged), expected);
    QCOMPARE(paths(s.local), expected);
    QCOMPARE(s.result.conflicts, conflicts);
  }

  // A folder renamed on this side keeps its id, so floccus sees a rename,
  // not a folder deleted and another made.
  void localFolderRenameKeepsId() {
    const SyncTree b = tree({"1:A/", "2:A/x=u1", "3:A/S/", "4:A/S/y=u2"});
    const Synced s = syncOnce(&b, b, records({"C/", "C/x=u1", "C/S/", "C/S/y=u2"}));
    QCOMPARE(s.result.merged.find(1)->title, QStringLiteral("C"));
    QCOMPARE(s.result.merged.find(3)->parent, 1);
    QCOMPARE(s.result.remote.changed, 1);
    QCOMPARE(s.result.remote.added + s.result.remote.removed, 0);
  }
};

QTEST_GUILESS_MAIN(TestFloccusMerge)
#include "tst_floccusmerge.moc"
