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

QString changedWhileSyncing() {
  return QStringLiteral(
      "The database changed while it was being synced, so it was left as it is. Sync again to "
      "bring it in step.");
}

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

SyncReport runSyncOn(const LinkList& links, SyncTarget& target, const SyncOptions& options,
                     const LocalHooks& hooks) {
  SyncReport report;
  const QString name = target.describe();
  const auto changedTooSoon = [&] {
    const bool changed = hooks.changedMeanwhile && hooks.changedMeanwhile();
    if (changed) report.message = changedWhileSyncing();
    return changed;
  };
  Locked lock(target);
  if (!lock.take(report.message)) return report;

  LocalSide local;
  MergeResult merge;
  bool uploaded = false;
  // A remote that moved on between the fetch and the store (a Git branch
  // someone pushed to) is fetched and merged again, a few times at most.
  for (int attempt = 0;; ++attempt) {
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
    local = readLocalSide(links, base ? &*base : nullptr, remote);
    merge = mergeTrees(base ? &*base : nullptr, remote, local.tree);
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
    if (merge.local.any() || uploads) {
      report.snapshot = keepSnapshots(options.databasePath, ldbBytes(links),
                                      remoteExists ? &remoteFile : nullptr, report.message);
      if (report.snapshot.isEmpty()) {
        report.message = QStringLiteral("No snapshot could be kept, so nothing was changed: %1")
                             .arg(report.message);
        return report;
      }
    }
    if (!uploads) break;
    const QByteArray mergedFile = writeFloccusXbel(merge.merged);
    const QByteArray file =
        options.passphrase.isEmpty() ? mergedFile : encryptFloccus(options.passphrase, mergedFile);
    if ((uploaded = target.store(file, report.message))) break;
    if (!target.outdated() || attempt >= 2) {
      report.message += QStringLiteral(" Nothing was changed.");
      return report;
    }
    if (target.progress) target.progress(report.message + QStringLiteral(" Merging again…"));
  }
  if (changedTooSoon()) return report;
  if (!hooks.apply(local, merge.merged, report.message)) {
    // The next sync brings the remote side's changes again, as the last
    // synced copy stays the old one.
    if (uploaded)
      report.message = QStringLiteral("%1 was updated, but the database could not be saved: %2")
                           .arg(name, report.message);
    return report;
  }
  if (!saveLastSynced(options.databasePath, name, merge.merged, report.message)) return report;
  report.ok = true;
  return report;
}

SyncReport runSync(LinkDocument& doc, SyncTarget& target, const SyncOptions& options) {
  // The network waits run the event loop, in which the window may change
  // the database; merged records must not land on other records.
  bool changedMeanwhile = false;
  QObject watch;
  for (auto signal : {&LinkDocument::edited, &LinkDocument::historyMoved, &LinkDocument::adopted})
    QObject::connect(&doc, signal, &watch, [&changedMeanwhile] { changedMeanwhile = true; });
  LocalHooks hooks;
  hooks.changedMeanwhile = [&changedMeanwhile] { return changedMeanwhile; };
  hooks.apply = [&](const LocalSide& local, const SyncTree& merged, QString& error) {
    return applyMerged(doc, target.describe(), local, merged, options, error);
  };
  return runSyncOn(doc.links(), target, options, hooks);
}

bool applyMerged(LinkDocument& doc, const QString& targetName, const LocalSide& local,
                 const SyncTree& merged, const SyncOptions& options, QString& error) {
  DocumentEdit edit(doc, QStringLiteral("Sync with %1").arg(targetName));
  applyToLocal(edit.links(), local, merged, currentDosDateTime());
  // A failed save takes the edit back.
  if (options.saveLocal && !options.saveLocal(edit.links(), error)) return false;
  edit.commit();
  return true;
}

}  // namespace vorlix::sync
