#include "mainwindow/SyncCommand.h"

#include <QAction>
#include <QMenu>

#include "components/XeStatusBar.h"
#include "document/LinkDocument.h"
#include "mainwindow/FileCommands.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/WindowParts.h"
#include "platform/Prompts.h"
#include "store/FolderPosition.h"
#include "store/LdbFile.h"
#include "sync/SyncRun.h"
#include "sync/SyncState.h"

namespace vorlix {

SyncCommand::SyncCommand(TFMainXeVorlix& window) : QObject(&window), w_(window) {
  action_ = new QAction(QStringLiteral("Sync"), this);
  action_->setObjectName(QStringLiteral("Sync1"));
  action_->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+S")));
  // The window's dispatcher runs the shortcut, in its own order.
  action_->setShortcutContext(Qt::WidgetShortcut);
  part<QMenu>(w_, "File1")->insertAction(part<QAction>(w_, "Exit1"), action_);
  auto* restore = new QAction(QStringLiteral("Restore from a Snapshot"), this);
  restore->setObjectName(QStringLiteral("RestorefromaSnapshot1"));
  part<QMenu>(w_, "File1")->insertAction(part<QAction>(w_, "Exit1"), restore);
  part<QMenu>(w_, "File1")->insertSeparator(part<QAction>(w_, "Exit1"));
  connect(action_, &QAction::triggered, this, [this] { run(); });
  connect(restore, &QAction::triggered, this, &SyncCommand::restoreSnapshot);
  // Connected after the window's own handlers, so these run once the save
  // is done; a save that failed or was cancelled leaves the database dirty.
  for (QAction* save : {part<QAction>(w_, "FSave"), part<QAction>(w_, "Saveas1")})
    connect(save, &QAction::triggered, this, [this] {
      if (sync::syncOnSave() && !w_.view().document().isDirty()) run(true);
    });
  every_.setParent(this);  // found by its name, as the window's parts are
  every_.setObjectName(QStringLiteral("SyncTimer"));
  connect(&every_, &QTimer::timeout, this, [this] { run(true); });
  if (const int minutes = sync::syncEveryMinutes()) every_.start(minutes * 60 * 1000);
}

void SyncCommand::restoreSnapshot() {
  const QString chosen =
      w_.desktop().openFileName(&w_, sync::stateFolder() + QStringLiteral("/snapshots"),
                                QStringLiteral("Link files (*.ldb)|*.ldb|All Files(*.*)|*.*"));
  if (chosen.isEmpty()) return;
  LinkList snapshot;
  if (const IoResult loaded = loadLdbFile(chosen, snapshot); !loaded) {
    w_.prompts().inform(MsgType::Error, chosen + QStringLiteral(": ") + loaded.message);
    return;
  }
  // New asks about unsaved changes first; a cancel leaves all as it was.
  w_.files().FNewExecute();
  LinkDocument& doc = w_.view().document();
  if (!doc.fileName().isEmpty() || !doc.links().empty()) return;
  // An untitled database: a Save never writes over the snapshot.
  doc.replaceContent(std::move(snapshot), QStringLiteral("Restore from a Snapshot"));
  w_.view().showWholeDocument();
}

void SyncCommand::run(bool automatic) {
  // The waits run the event loop: a timer or a Save may come meanwhile.
  if (running_) return;
  LinkDocument& doc = w_.view().document();
  const QString path = doc.fileName();
  if (path.isEmpty()) {
    if (!automatic)
      w_.prompts().inform(MsgType::Information,
                          QStringLiteral("Save the database before syncing it."));
    return;
  }
  QString spec = sync::storedTarget(path);
  if (spec.isEmpty() && automatic) return;
  if (spec.isEmpty()) {
    spec = w_.prompts()
               .input(QStringLiteral("Sync"),
                      QStringLiteral("WebDAV address or folder to sync this database with:"),
                      QString())
               .trimmed();
    if (spec.isEmpty()) return;
  }
  sync::TargetOptions credentials;
  credentials.user = qEnvironmentVariable("VORLIX_SYNC_USER");
  credentials.password = qEnvironmentVariable("VORLIX_SYNC_PASSWORD");
  QString error;
  auto target = sync::makeTarget(spec, credentials, error);
  if (!target) {
    if (!automatic) w_.prompts().inform(MsgType::Error, error);
    return;
  }
  sync::storeTarget(path, spec);
  TXeStatusBar& bar = *part<TXeStatusBar>(w_, "XeStatusBar");
  target->progress = [&bar](const QString& text) { bar.showMessage(text); };
  bar.showMessage(QStringLiteral("Syncing with %1…").arg(target->describe()));
  action_->setEnabled(false);
  running_ = true;

  sync::SyncOptions options;
  options.databasePath = path;
  options.deleteShare = sync::deleteShare();
  options.passphrase = qEnvironmentVariable("VORLIX_SYNC_PASSPHRASE");
  options.allowDeletions = [this](const QString& question) {
    return w_.prompts().message(MsgType::Confirmation, Buttons::YesNo, question) == Answer::Yes;
  };
  // The file takes the merged content at once: a last synced copy that the
  // file does not hold would make the next sync delete what came in.
  options.saveLocal = [&path](const LinkList& merged, QString& why) {
    const IoResult saved = saveLdbFile(path, merged);
    if (!saved) why = path + QStringLiteral(": ") + saved.message;
    return bool(saved);
  };
  const sync::SyncReport report = sync::runSync(doc, *target, options);
  action_->setEnabled(true);
  running_ = false;
  if (!report.ok) {
    bar.showMessage(report.message, 15000);
    if (!automatic)
      w_.prompts().inform(report.refused ? MsgType::Information : MsgType::Error, report.message);
    return;
  }
  doc.markSaved(path);
  w_.view().showWholeDocument();
  bar.showMessage(
      report.summary(target->describe()).trimmed().replace(QLatin1Char('\n'), QLatin1Char(' ')),
      15000);
}

}  // namespace vorlix
