#pragma once
// The main window's side of the Options dialog: each apply step as the
// window's controls show it, plus the recent-files list and the tray icon.
#include <functional>

#include "settings/ApplySettings.h"

namespace vorlix {

class TFMainXeVorlix;
class TRecentFiles;
class TTrayIcon;

class WindowOptions : public OptionsTarget {
 public:
  WindowOptions(TFMainXeVorlix& window, TRecentFiles& recent, TTrayIcon& tray);

  // Shows or hides the preview pane; the preview part installs it.
  void setPreviewShower(std::function<void(bool)> show) { showPreview_ = std::move(show); }

  void setToolBarVisible(bool on) override;
  void setStatusBarVisible(bool on) override;
  void checkBarItems(bool statusBar, bool toolBar) override;
  void showStyle(int style) override;
  void rebuildList() override;
  void showViewMode(int icons) override;
  void checkPreviewItem(bool on) override;
  void setRecentDeleteEntry(bool on) override;
  void setTrayActive(bool on) override;
  void applyPreviewVisibility() override;
  void switchViewMode(int icons) override;
  bool deleteAllRecentFiles() override;

 private:
  TFMainXeVorlix& window_;
  TRecentFiles& recent_;
  TTrayIcon& tray_;
  std::function<void(bool)> showPreview_;
};

}  // namespace vorlix
