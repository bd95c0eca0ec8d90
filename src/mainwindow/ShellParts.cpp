#include "mainwindow/ShellParts.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QSpinBox>

#include "components/RecentFiles.h"
#include "components/SystemTray.h"
#include "components/TrayIcon.h"
#include "mainwindow/FileCommands.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/WindowOptions.h"
#include "mainwindow/WindowParts.h"
#include "settings/OptionsDialog.h"
#include "settings/Settings.h"

namespace vorlix {

ShellParts::ShellParts(TFMainXeVorlix& window, Settings& settings, Prompts& prompts,
                       TrayShell& shell, std::function<void(bool)> showPreview)
    : window_(window) {
  trayWindow_ = std::make_unique<WidgetTrayWindow>(&window);
  tray_ = std::make_unique<TTrayIcon>(shell, *trayWindow_, prompts);
  tray_->setHint(QStringLiteral("Vorlix"));
  tray_->setSeparateIcon(true);
  tray_->setPopupMenu(part<QMenu>(window, "PopupTray"));
  connect(tray_.get(), &TTrayIcon::OnClick, this, [this] { tray_->ShowApplication(); });
  // Restore1 already restores through the window; Exit2 closes it.

  recent_ = std::make_unique<TRecentFiles>(settings.registry());
  recent_->setMenu(part<QMenu>(window, "ReOpen1"));
  connect(recent_.get(), &TRecentFiles::OnClick, this, &ShellParts::openRecentEntry);
  connect(&window.files(), &FileCommands::databaseOpened, recent_.get(), &TRecentFiles::AddFile);
  FileCommands& files = window.files();
  connect(&files, &FileCommands::recentFileOpened, this, [this, &files](const QString& path) {
    // "Delete entry OnClick" takes the drop-down's item away, until its next rebuild.
    if (recent_->DeleteEntry()) files.removeRecentItem(path);
  });
  // Always, whatever "Save entries" says: the list of this run replaces the stored one.
  connect(&window, &TFMainXeVorlix::closing, recent_.get(), &TRecentFiles::SaveToRegistry);

  target_ = std::make_unique<WindowOptions>(window, *recent_, *tray_);
  target_->setPreviewShower(std::move(showPreview));
  options_ = new TFOptions(settings, prompts, *target_, &window);
  options_->setTrayAvailable(shell.isAvailable());
  connect(tray_.get(), &TTrayIcon::availabilityChanged, options_.data(),
          &TFOptions::setTrayAvailable);
  connect(&window, &TFMainXeVorlix::settingsRequested, options_, &TFOptions::exec);
}

ShellParts::~ShellParts() {
  // The dialog belongs to the window but drives these parts.
  delete options_;
}

void ShellParts::FormShow() {
  recent_->setMaxFiles(options_->BMaxFiles->value());
  recent_->setDeleteEntry(options_->CheckDeleteEntry->isChecked());
  if (options_->CheckSaveEntryList->isChecked()) recent_->LoadFromRegistry();
  tray_->setActive(options_->CheckIconSysTray->isChecked());
}

void ShellParts::openRecentEntry(const QString& path) {
  // A File > ReOpen entry opens its file as the Open button's drop-down does.
  window_.files().OpenRecentClick(path);
}

}  // namespace vorlix
