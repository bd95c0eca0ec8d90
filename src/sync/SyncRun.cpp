#include "sync/SyncRun.h"

#include "document/DocumentEdit.h"
#include "document/LinkDocument.h"
#include "store/DosDate.h"
#include "store/LdbFile.h"
#include "sync/FloccusCrypto.h"
#include "sync/FloccusXbel.h"
#include "sync/LocalApply.h"
#include "sync/LocalSide.h"
#include "sync/SyncState.h"

namespace vorlix::sync {

namespace {

QString describeSide(const SideChanges& c) {
  if (!c.any()) return QStringLiteral("unchanged");
  return QStringLiteral("%1 added, %2 removed, %3 changed")
      .arg(c.added)
      .arg(c.removed)
      .arg(c.changed);
}

bool tooMany(const SideChanges& c, double share) {
  return c.linksRemoved > 0 && double(c.linksRemoved) > share * double(c.linksBefore);
}

// Holds the lock for one run.
class Locked {
 public:
  explicit Locked(SyncTarget& target) : target_(target) {}
  ~Locked() {
    if (held_) target_.unlock();
  }
  bool take(QString& error) { return held_ = target_.lock(error); }

 private:
  SyncTarget& target_;
  bool held_ = false;
};

// The remote file as a tree: decrypted, parsed; empty when there is none.
bool readRemote(const QByteArray& data, bool exists, const SyncTarget& target,
                const QString& passphrase, SyncTree& tree, QString& error) {
  if (!exists) return true;
  QByteArray xml = data;
  if (!passphrase.isEmpty() && !data.trimmed().startsWith('<')) {
    const auto plain = decryptFloccus(passphrase, data, target.fileName());
    if (!plain) {
      error = QStringLiteral("The passphrase does not open %1.").arg(target.describe());
      return false;
    }
    xml = *plain;
  } else if (looksEncrypted(data)) {
    error = QStringLiteral("%1 is encrypted. Set its passphrase to sync with it.")
                .arg(target.describe());
    return false;
  }
  QString why;
  auto parsed = parseFloccusXbel(xml, &why);
  if (!parsed) {
    error = QStringLiteral("%1 is not a bookmarks file Vorlix can read (%2). Nothing was changed.")
                .arg(target.describe(), why);
    return false;
  }
  tree = std::move(*parsed);
  return true;
}

}  // namespace

QString deleteQuestion(const SideChanges& local, const SideChanges& remote,
                       const QString& targetName) {
  return QStringLiteral(
             "This sync would delete %1 of the %2 links in this database and %3 of the %4 "
             "links in %5. Go on ?")
      .arg(local.linksRemoved)
      .arg(local.linksBefore)
      .arg(remote.linksRemoved)
      .arg(remote.linksBefore)
      .arg(targetName);
}

QString SyncReport::summary(const QString& targetName) const {
  QString text = QStringLiteral("This database: %1.\n%2: %3.\n")
                     .arg(describeSide(local), targetName, describeSide(remote));
  if (conflicts)
    text += QStringLiteral("%1 links changed on both sides are kept twice, marked (conflict).\n")
                .arg(conflicts);
  return text;
}

SyncReport runSync(LinkDocument& doc, SyncTarget& target, const SyncOptions& options) {
  SyncReport report;
  const QString name = target.describe();
  // The network waits run the event loop, in which the window may change
  // the database; merged records must not land on other records.
  bool changedMeanwhile = false;
  QObject watch;
  for (auto signal : {&LinkDocument::edited, &LinkDocument::historyMoved, &LinkDocument::adopted})
    QObject::connect(&doc, signal, &watch, [&changedMeanwhile] { changedMeanwhile = true; });
  const auto changedTooSoon = [&] {
    if (changedMeanwhile)
      report.message = QStringLiteral(
          "The database changed while it was being synced, so it was left as it is. Sync "
          "again to bring it in step.");
    return changedMeanwhile;
  };
  Locked lock(target);
  if (!lock.take(report.message)) return report;

  QByteArray remoteFile;
  bool remoteExists = false;
  if (!target.fetch(remoteFile, remoteExists, report.message)) return report;
  SyncTree remote;
  if (!readRemote(remoteFile, remoteExists, target, options.passphrase, remote, report.message))
    return report;

  // Without a remote file the last synced copy says nothing about it:
  // deleting everything it held would be wrong, so merge as a union.
  std::optional<SyncTree> base;
  if (remoteExists) base = loadLastSynced(options.databasePath, name);
  const LocalSide local = readLocalSide(doc.links(), base ? &*base : nullptr, remote);
  MergeResult merge = mergeTrees(base ? &*base : nullptr, remote, local.tree);
  report.local = merge.local;
  report.remote = merge.remote;
  report.conflicts = merge.conflicts;

  if (tooMany(merge.local, options.deleteShare) || tooMany(merge.remote, options.deleteShare)) {
    const QString question = deleteQuestion(merge.local, merge.remote, name);
    if (!options.allowDeletions || !options.allowDeletions(question)) {
      report.refused = true;
      report.message =
          QStringLiteral("Nothing was changed: the sync would delete %1 links here and %2 in %3.")
              .arg(merge.local.linksRemoved)
              .arg(merge.remote.linksRemoved)
              .arg(name);
      return report;
    }
  }

  if (changedTooSoon()) return report;
  const bool uploads = merge.remote.any() || !remoteExists;
  const QByteArray mergedFile = writeFloccusXbel(merge.merged);
  if (merge.local.any() || uploads) {
    report.snapshot = keepSnapshots(options.databasePath, ldbBytes(doc.links()),
                                    remoteExists ? &remoteFile : nullptr, report.message);
    if (report.snapshot.isEmpty()) {
      report.message = QStringLiteral("No snapshot could be kept, so nothing was changed: %1")
                           .arg(report.message);
      return report;
    }
  }
  if (uploads) {
    const QByteArray file =
        options.passphrase.isEmpty() ? mergedFile : encryptFloccus(options.passphrase, mergedFile);
    if (!target.store(file, report.message)) {
      report.message += QStringLiteral(" Nothing was changed.");
      return report;
    }
  }
  if (changedTooSoon()) return report;
  {
    DocumentEdit edit(doc, QStringLiteral("Sync with %1").arg(name));
    applyToLocal(edit.links(), local, merge.merged, currentDosDateTime());
    if (options.saveLocal && !options.saveLocal(edit.links(), report.message)) {
      // The edit is taken back; the next sync brings the remote side's
      // changes again, as the last synced copy stays the old one.
      if (uploads)
        report.message = QStringLiteral("%1 was updated, but the database could not be saved: %2")
                             .arg(name, report.message);
      return report;
    }
    edit.commit();
  }
  if (!saveLastSynced(options.databasePath, name, merge.merged, report.message)) return report;
  report.ok = true;
  return report;
}

}  // namespace vorlix::sync
