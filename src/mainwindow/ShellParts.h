#pragma once
// The application shell's parts around the main window: the Options dialog
// and its preferences, the recent-files list behind File > ReOpen and the
// Open button's drop-down, and the tray icon. The composition root builds
// them after the window and they answer the window's signals; the window
// holds none of them.
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

#include "settings/OptionsDialog.h"

namespace vorlix {

class Prompts;
class Settings;
class TFMainXeVorlix;
class TRecentFiles;
class TTrayIcon;
class TrayShell;
class WidgetTrayWindow;
class WindowOptions;

class ShellParts : public QObject {
  Q_OBJECT
 public:
  // Loads and applies the stored preferences on the way (the dialog's
  // creation); `shell` is the notification area. `showPreview` is the
  // preview pane's apply step: it must be in place before that first apply,
  // or a stored "Show preview panel" off would never reach the pane.
  ShellParts(TFMainXeVorlix& window, Settings& settings, Prompts& prompts, TrayShell& shell,
             std::function<void(bool)> showPreview = {});
  ~ShellParts() override;

  TRecentFiles& RFiles() { return *recent_; }
  TTrayIcon& TrayIcon() { return *tray_; }
  TFOptions& FOptions() { return *options_; }
  // What the Options dialog's apply steps act on.
  WindowOptions& optionsTarget() { return *target_; }

  // At the first showing, before the window opens its database: the recent
  // files as the dialog says (maximum, delete on click, load or not), and
  // the tray icon as "Icon to system tray" says.
  void FormShow();

 private:
  void openRecentEntry(const QString& path);

  TFMainXeVorlix& window_;
  std::unique_ptr<WidgetTrayWindow> trayWindow_;
  std::unique_ptr<TTrayIcon> tray_;
  std::unique_ptr<TRecentFiles> recent_;
  std::unique_ptr<WindowOptions> target_;
  QPointer<TFOptions> options_;  // a child of the window
};

}  // namespace vorlix
