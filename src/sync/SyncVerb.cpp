#include "sync/SyncVerb.h"

#include <QFileInfo>

#include "document/LinkDocument.h"
#include "store/LdbFile.h"
#include "sync/PasswordStore.h"
#include "sync/SyncRun.h"
#include "sync/SyncSettings.h"
#include "sync/SyncState.h"

namespace vorlix::sync {

int runSyncVerb(const QStringList& args, QTextStream& out, QTextStream& err) {
  QString file, to;
  bool allowDeletions = false;
  for (int i = 0; i < args.size(); ++i) {
    if (args[i] == QLatin1String("--to") && i + 1 < args.size()) {
      to = args[++i];
    } else if (args[i] == QLatin1String("--allow-deletions")) {
      allowDeletions = true;
    } else if (file.isEmpty() && !args[i].startsWith(QLatin1String("--"))) {
      file = args[i];
    } else {
      err << "vorlix --sync: unexpected argument " << args[i] << '\n';
      return 2;
    }
  }
  if (file.isEmpty()) {
    err << "Usage: vorlix --sync FILE.ldb [--to TARGET] [--allow-deletions]\n";
    return 2;
  }
  file = QFileInfo(file).absoluteFilePath();
  LinkList list;
  if (const IoResult loaded = loadLdbFile(file, list); !loaded) {
    err << file << ": " << loaded.message << '\n';
    return 1;
  }
  SyncSettings settings = loadSyncSettings(file);
  const QString stored = settings.target;
  if (to.isEmpty()) to = stored;
  if (to.isEmpty()) {
    err << "No sync target is set for " << file << ". Give one with --to TARGET.\n";
    return 1;
  }

  settings.target = to;
  KeychainPasswordStore keychain;
  const SyncSecrets secrets = syncSecrets(keychain, settings);
  QString error;
  auto target = makeTarget(to, secrets.credentials, error);
  if (!target) {
    err << error << '\n';
    return 1;
  }
  if (stored.isEmpty() && !storeTarget(file, to))
    err << "The target could not be stored in the settings; it is used this time only.\n";
  target->progress = [&err](const QString& text) {
    err << text << '\n';
    err.flush();
  };

  LinkDocument doc;
  doc.adopt(std::move(list), file);
  SyncOptions options;
  options.databasePath = file;
  options.deleteShare = settings.deleteSharePercent / 100.0;
  options.passphrase = secrets.passphrase;
  // Without a window nobody can answer the delete guard: it refuses
  // unless the command line allows it.
  options.allowDeletions = [&](const QString& question) {
    if (!allowDeletions) err << question << " (refused: add --allow-deletions)\n";
    return allowDeletions;
  };
  options.saveLocal = [&file](const LinkList& merged, QString& why) {
    const IoResult saved = saveLdbFile(file, merged);
    if (!saved) why = QStringLiteral("%1: %2").arg(file, saved.message);
    return bool(saved);
  };
  const SyncReport report = runSync(doc, *target, options);
  if (!report.ok) {
    err << report.message << '\n';
    return 1;
  }
  out << report.summary(target->describe());
  return 0;
}

}  // namespace vorlix::sync
