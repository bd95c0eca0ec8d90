#include "mainwindow/WindowOptions.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>
#include <QWidget>

#include "components/RecentFiles.h"
#include "components/TrayIcon.h"
#include "components/XeListView.h"
#include "components/XeStatusBar.h"
#include "mainwindow/FileCommands.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/WindowParts.h"

namespace vorlix {

WindowOptions::WindowOptions(TFMainXeVorlix& window, TRecentFiles& recent, TTrayIcon& tray)
    : window_(window), recent_(recent), tray_(tray) {}

void WindowOptions::setToolBarVisible(bool on) {
  part<QWidget>(window_, "ControlBar")->setVisible(on);
}

void WindowOptions::setStatusBarVisible(bool on) {
  part<TXeStatusBar>(window_, "XeStatusBar")->setVisible(on);
}

void WindowOptions::checkBarItems(bool statusBar, bool toolBar) {
  part<QAction>(window_, "Statusbar1")->setChecked(statusBar);
  part<QAction>(window_, "Toolbar1")->setChecked(toolBar);
}

void WindowOptions::showStyle(int style) {
  part<QAction>(window_, "ClassicStyle1")->setChecked(style == 0);
  part<QToolButton>(window_, "ToolButton12")->setChecked(style == 0);
  part<QAction>(window_, "ExplorerStyle1")->setChecked(style == 1);
  part<QToolButton>(window_, "ToolButton11")->setChecked(style == 1);
}

void WindowOptions::rebuildList() { window_.view().rebuildList(); }

void WindowOptions::showViewMode(int icons) {
  QAction* items[] = {part<QAction>(window_, "LargeIcons1"), part<QAction>(window_, "List1"),
                      part<QAction>(window_, "Details1")};
  QToolButton* buttons[] = {part<QToolButton>(window_, "ToolButton6"),
                            part<QToolButton>(window_, "ToolButton9"),
                            part<QToolButton>(window_, "ToolButton10")};
  for (int i = 0; i < 3; ++i) {
    items[i]->setChecked(icons == i);
    buttons[i]->setChecked(icons == i);
  }
}

void WindowOptions::checkPreviewItem(bool on) {
  part<QAction>(window_, "Urlpreview1")->setChecked(on);
}

void WindowOptions::setRecentDeleteEntry(bool on) { recent_.setDeleteEntry(on); }

void WindowOptions::setTrayActive(bool on) { tray_.setActive(on); }

void WindowOptions::applyPreviewVisibility() {
  if (showPreview_) showPreview_(part<QAction>(window_, "Urlpreview1")->isChecked());
}

void WindowOptions::switchViewMode(int icons) {
  if (icons < 0 || icons > 2) return;
  part<TXeListView>(window_, "ListLinks")->setUpdatesEnabled(false);
  window_.view().list().clearRows();
  part<TXeListView>(window_, "ListLinks")->setViewStyle(static_cast<TViewStyle>(icons));
  window_.view().rebuildList();
  part<TXeListView>(window_, "ListLinks")->setUpdatesEnabled(true);
}

bool WindowOptions::deleteAllRecentFiles() {
  recent_.ClearRegistry();
  recent_.ClearMenu();
  window_.files().RebuildOpenDropDown();
  const bool remain = !recent_.entries().empty();
  part<QMenu>(window_, "ReOpen1")->setEnabled(remain);
  return remain;
}

}  // namespace vorlix
