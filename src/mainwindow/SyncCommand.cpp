#include "mainwindow/SyncCommand.h"

#include <QAction>
#include <QMenu>
#include <QScopedValueRollback>

#include "components/XeStatusBar.h"
#include "document/LinkDocument.h"
#include "mainwindow/FileCommands.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/WindowParts.h"
#include "platform/Prompts.h"
#include "store/FolderPosition.h"
#include "store/LdbFile.h"
#include "sync/PasswordStore.h"
#include "sync/SyncJob.h"
#include "sync/SyncRun.h"
#include "sync/SyncSettings.h"
#include "sync/SyncState.h"
#include "sync/widgets/SyncOptionsDialog.h"

namespace vorlix {

SyncCommand::SyncCommand(TFMainXeVorlix& window)
    : QObject(&window), w_(window), passwords_(std::make_unique<sync::KeychainPasswordStore>()) {
  action_ = new QAction(QStringLiteral("Sync"), this);
  action_->setObjectName(QStringLiteral("Sync1"));
  action_->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+S")));
  // The window's dispatcher runs the shortcut, in its own order.
  action_->setShortcutContext(Qt::WidgetShortcut);
  QMenu* file = part<QMenu>(w_, "File1");
  QAction* exit = part<QAction>(w_, "Exit1");
  file->insertAction(exit, action_);
  auto* settings = new QAction(QStringLiteral("Sync Settings..."), this);
  settings->setObjectName(QStringLiteral("SyncSettings1"));
  file->insertAction(exit, settings);
  auto* restore = new QAction(QStringLiteral("Restore from a Snapshot"), this);
  restore->setObjectName(QStringLiteral("RestorefromaSnapshot1"));
  file->insertAction(exit, restore);
  file->insertSeparator(exit);
  connect(action_, &QAction::triggered, this, [this] { run(); });
  connect(settings, &QAction::triggered, this, &SyncCommand::openSettings);
  connect(restore, &QAction::triggered, this, &SyncCommand::restoreSnapshot);
  // Connected after the window's own handlers, so these run once the save
  // is done; a save that failed or was cancelled leaves the database dirty.
  for (QAction* save : {part<QAction>(w_, "FSave"), part<QAction>(w_, "Saveas1")})
    connect(save, &QAction::triggered, this, [this] {
      const LinkDocument& doc = w_.view().document();
      const QString& path = doc.fileName();
      if (!path.isEmpty() && sync::loadSyncSettings(path).onSave && !doc.isDirty()) run(true);
    });
  every_.setParent(this);  // found by its name, as the window's parts are
  every_.setObjectName(QStringLiteral("SyncTimer"));
  connect(&every_, &QTimer::timeout, this, [this] { run(true); });
  connect(&w_.view().document(), &LinkDocument::fileNameChanged, this, &SyncCommand::arm);
  arm();
}

// A sync under way stops waiting before the window it reports to goes.
SyncCommand::~SyncCommand() { delete job_; }

void SyncCommand::arm() {
  const QString path = w_.view().document().fileName();
  const int minutes = path.isEmpty() ? 0 : sync::loadSyncSettings(path).everyMinutes;
  if (minutes)
    every_.start(minutes * 60 * 1000);
  else
    every_.stop();
}

void SyncCommand::openSettings() {
  const QString path = w_.view().document().fileName();
  if (path.isEmpty()) {
    w_.prompts().inform(MsgType::Information,
                        QStringLiteral("Save the database before setting up its sync."));
    return;
  }
  SyncOptionsDialog dialog(path, *passwords_, w_.desktop(), w_.prompts(), &w_);
  if (dialog.exec() == QDialog::Accepted) arm();
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
  // One sync at a time; a timer or a Save may come meanwhile, also while
  // the secret store is asked.
  if (job_ || preparing_) return;
  const QScopedValueRollback<bool> preparing(preparing_, true);
  LinkDocument& doc = w_.view().document();
  const QString path = doc.fileName();
  if (path.isEmpty()) {
    if (!automatic)
      w_.prompts().inform(MsgType::Information,
                          QStringLiteral("Save the database before syncing it."));
    return;
  }
  sync::SyncSettings settings = sync::loadSyncSettings(path);
  if (settings.target.isEmpty() && automatic) return;
  if (settings.target.isEmpty()) {
    settings.target =
        w_.prompts()
            .input(QStringLiteral("Sync"),
                   QStringLiteral("WebDAV address, Git repository or folder to sync this "
                                  "database with:"),
                   QString())
            .trimmed();
    if (settings.target.isEmpty()) return;
  }
  const sync::SyncSecrets secrets = sync::syncSecrets(*passwords_, settings);
  QString error;
  const auto target = sync::makeTarget(settings.target, secrets.credentials, error);
  if (!target) {
    if (!automatic) w_.prompts().inform(MsgType::Error, error);
    return;
  }
  sync::storeTarget(path, settings.target);

  sync::SyncOptions options;
  options.databasePath = path;
  options.deleteShare = settings.deleteSharePercent / 100.0;
  options.passphrase = secrets.passphrase;
  options.allowDeletions = [this](const QString& question) {
    return w_.prompts().message(MsgType::Confirmation, Buttons::YesNo, question) == Answer::Yes;
  };
  // The file takes the merged content at once: a last synced copy that the
  // file does not hold would make the next sync delete what came in.
  options.saveLocal = [path](const LinkList& merged, QString& why) {
    const IoResult saved = saveLdbFile(path, merged);
    if (!saved) why = path + QStringLiteral(": ") + saved.message;
    return bool(saved);
  };
  TXeStatusBar& bar = *part<TXeStatusBar>(w_, "XeStatusBar");
  bar.showMessage(QStringLiteral("Syncing with %1…").arg(target->describe()));
  action_->setEnabled(false);
  job_ = new sync::SyncJob(doc, settings.target, secrets.credentials, options, this);
  connect(job_, &sync::SyncJob::progress, &bar,
          [&bar](const QString& text) { bar.showMessage(text); });
  connect(job_, &sync::SyncJob::finished, this,
          [this, automatic](const sync::SyncReport& report, const QString& name) {
            job_->deleteLater();
            job_ = nullptr;
            finish(report, name, automatic);
          });
  job_->start();
}

void SyncCommand::finish(const sync::SyncReport& report, const QString& targetName,
                         bool automatic) {
  action_->setEnabled(true);
  TXeStatusBar& bar = *part<TXeStatusBar>(w_, "XeStatusBar");
  if (!report.ok) {
    bar.showMessage(report.message, 15000);
    if (!automatic)
      w_.prompts().inform(report.refused ? MsgType::Information : MsgType::Error, report.message);
    return;
  }
  w_.view().showWholeDocument();
  bar.showMessage(report.summary(targetName).trimmed().replace(QLatin1Char('\n'), QLatin1Char(' ')),
                  15000);
}

}  // namespace vorlix
