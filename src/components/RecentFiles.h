#pragma once
// TRecentFiles: the recent-files list as the entries of a submenu (File >
// ReOpen). Entries sit at the top of `Menu`, most recent first, with the
// captions "&1 name" .. "&9 name", "&A name" .. "&Z name"; the list survives
// between runs in the registry. Every operation but ClearMenu does nothing
// while no menu is assigned.
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <vector>

#include "components/RecentFileList.h"

class QAction;

namespace vorlix {

class Registry;

class TRecentFiles : public QObject {
  Q_OBJECT
 public:
  explicit TRecentFiles(Registry& registry, QObject* parent = nullptr);
  ~TRecentFiles() override;

  // --- properties ---
  QMenu* Menu() const { return menu_; }
  void setMenu(QMenu* menu);
  int MaxFiles() const { return list_.maxFiles(); }
  void setMaxFiles(int n) { list_.setMaxFiles(n); }
  // Empty means "\SOFTWARE\" + the application's name.
  QString RegistryKey() const { return registryKey_; }
  void setRegistryKey(const QString& key) { registryKey_ = key; }
  bool StandAloneMenu() const { return standAlone_; }
  void setStandAloneMenu(bool on) { standAlone_ = on; }
  bool DeleteEntry() const { return deleteEntry_; }
  void setDeleteEntry(bool on) { deleteEntry_ = on; }

  // --- operations ---
  void AddFile(const QString& fileName);
  void SaveToRegistry();
  void LoadFromRegistry();
  void ClearRegistry();
  void ClearMenu();
  // What choosing an entry does; the entries' own handler.
  void EntryClick(QAction* entry);

  // The entries as they stand, top first, and the list behind them.
  const std::vector<QAction*>& entries() const { return actions_; }
  RecentFileList& list() { return list_; }
  // The file an entry stands for (its caption shows it with "&" doubled).
  static QString fileNameOf(const QAction* entry);

 signals:
  void OnClick(const QString& LatestFile);
  void OnClear();

 private:
  QString ensureKey();
  // Makes the menu's entries show the list again.
  void syncMenu();
  void enableWhileFilled();

  Registry& registry_;
  QPointer<QMenu> menu_;
  RecentFileList list_;
  std::vector<QAction*> actions_;
  QString registryKey_;
  bool standAlone_ = false;
  bool deleteEntry_ = false;
};

}  // namespace vorlix
