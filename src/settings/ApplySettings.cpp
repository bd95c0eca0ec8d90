#include "settings/ApplySettings.h"

namespace vorlix {

void ApplySettings(const SettingsValues& v, OptionsTarget& target, bool fromLoad) {
  target.setToolBarVisible(v.toolBar);
  target.setStatusBarVisible(v.mainStatus);
  target.checkBarItems(v.mainStatus, v.toolBar);
  target.showStyle(v.style);
  if (fromLoad) target.rebuildList();
  target.showViewMode(v.icons);
  target.checkPreviewItem(v.showPreview);
  target.setRecentDeleteEntry(v.deleteEntryOnClick);
  target.setTrayActive(v.iconTray);
  target.applyPreviewVisibility();
  target.switchViewMode(v.icons);
  target.rebuildList();
}

}  // namespace vorlix
