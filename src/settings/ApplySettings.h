#pragma once
// What the preferences do to the rest of the program. The main window's side
// implements OptionsTarget; ApplySettings calls its steps in a fixed order, so
// the Options dialog never reaches into the window itself.
#include "settings/SettingsValues.h"

namespace vorlix {

class OptionsTarget {
 public:
  virtual ~OptionsTarget() = default;
  virtual void setToolBarVisible(bool on) = 0;  // the tool bar band
  virtual void setStatusBarVisible(bool on) = 0;
  // View > Statusbar and View > Toolbar check marks.
  virtual void checkBarItems(bool statusBar, bool toolBar) = 0;
  // View > Classic/Explorer Style check marks and their buttons: 0 classic, 1 explorer.
  virtual void showStyle(int style) = 0;
  virtual void rebuildList() = 0;
  // View > Large Icons/List/Details check marks and their buttons.
  virtual void showViewMode(int icons) = 0;
  virtual void checkPreviewItem(bool on) = 0;  // View > Preview
  virtual void setRecentDeleteEntry(bool on) = 0;
  virtual void setTrayActive(bool on) = 0;
  // Shows or hides the preview pane as View > Preview says.
  virtual void applyPreviewVisibility() = 0;
  // Puts the list into a view mode as the view commands do, leaving the
  // check marks and buttons as they are.
  virtual void switchViewMode(int icons) = 0;
  // Delete All: forgets the stored and the shown recent files and rebuilds
  // the Open button's drop-down. True while the ReOpen menu still has entries.
  virtual bool deleteAllRecentFiles() = 0;
};

// Pushes the preferences into the program; `fromLoad` adds the list rebuild
// that the first apply at start makes before the view mode is shown.
void ApplySettings(const SettingsValues& values, OptionsTarget& target, bool fromLoad);

}  // namespace vorlix
