#pragma once
// The Find Duplicates window: each group of links that share a canonical
// URL, every copy with its folder, title and date. The copy to keep is the
// oldest unless the user picks another; Merge drops the others, one undo
// step per merge.
#include <QWidget>
#include <vector>

#include "health/Duplicates.h"
#include "health/widgets/HealthHooks.h"

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace vorlix {

class DuplicatesWindow : public QWidget {
  Q_OBJECT
 public:
  DuplicatesWindow(HealthHooks hooks, QWidget* parent);

  // Finds the groups in the database as it is now.
  void rescan();

  QTreeWidget* Groups = nullptr;
  QLabel* Summary = nullptr;
  QPushButton* BKeep = nullptr;
  QPushButton* BMerge = nullptr;
  QPushButton* BMergeAll = nullptr;
  QPushButton* BOpenLink = nullptr;
  QPushButton* BClose = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // The group and member of the selected row; member -1 for a group row.
  std::pair<int, int> selected() const;
  void keepSelected();
  void merge(bool all);
  void showKeep(int group);
  void updateButtons();

  HealthHooks hooks_;
  std::vector<DuplicateGroup> groups_;
  std::vector<std::uint32_t> keep_;
  bool stale_ = true;
};

}  // namespace vorlix
