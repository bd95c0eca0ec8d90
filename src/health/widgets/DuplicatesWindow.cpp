#include "health/widgets/DuplicatesWindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "document/LinkDocument.h"
#include "store/Ansi.h"
#include "store/DosDate.h"

namespace vorlix {
namespace {

enum Column { ColLink, ColFolder, ColDate, ColUrl, ColKeep, ColCount };
constexpr int kGroupRole = Qt::UserRole;
constexpr int kMemberRole = Qt::UserRole + 1;

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setAccessibleName(caption);
  return b;
}

}  // namespace

DuplicatesWindow::DuplicatesWindow(HealthHooks hooks, QWidget* parent)
    : QWidget(parent, Qt::Window), hooks_(std::move(hooks)) {
  setObjectName(QStringLiteral("DuplicatesWindow"));
  setWindowTitle(QStringLiteral("Find Duplicates"));
  setAccessibleName(windowTitle());
  resize(900, 520);

  Summary = new QLabel(this);
  Summary->setObjectName(QStringLiteral("Summary"));
  Summary->setTextFormat(Qt::PlainText);
  Summary->setAccessibleName(QStringLiteral("Summary"));
  Groups = new QTreeWidget(this);
  Groups->setObjectName(QStringLiteral("Groups"));
  Groups->setAccessibleName(QStringLiteral("Duplicate links"));
  Groups->setColumnCount(ColCount);
  Groups->setHeaderLabels({QStringLiteral("Link"), QStringLiteral("Folder"), QStringLiteral("Date"),
                           QStringLiteral("URL"), QStringLiteral("Kept")});
  Groups->header()->resizeSection(ColLink, 220);
  Groups->header()->resizeSection(ColFolder, 180);
  Groups->header()->resizeSection(ColDate, 120);
  Groups->header()->resizeSection(ColUrl, 260);
  Groups->setUniformRowHeights(true);

  BKeep = button(this, "BKeep", QStringLiteral("Keep This Copy"));
  BMerge = button(this, "BMerge", QStringLiteral("Merge"));
  BMerge->setToolTip(
      QStringLiteral("Keeps the marked copy of the selected group, drops the others"));
  BMergeAll = button(this, "BMergeAll", QStringLiteral("Merge All"));
  BMergeAll->setToolTip(QStringLiteral("Keeps the marked copy of every group, drops the others"));
  BOpenLink = button(this, "BOpenLink", QStringLiteral("Open Link"));
  BClose = button(this, "BClose", QStringLiteral("Close"));

  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {BKeep, BMerge, BMergeAll, BOpenLink}) buttons->addWidget(b);
  buttons->addStretch(1);
  buttons->addWidget(BClose);
  auto* all = new QVBoxLayout(this);
  all->addWidget(Summary);
  all->addWidget(Groups, 1);
  all->addLayout(buttons);

  connect(BKeep, &QPushButton::clicked, this, &DuplicatesWindow::keepSelected);
  connect(BMerge, &QPushButton::clicked, this, [this] { merge(false); });
  connect(BMergeAll, &QPushButton::clicked, this, [this] { merge(true); });
  connect(BOpenLink, &QPushButton::clicked, this, [this] {
    const auto [g, m] = selected();
    if (m >= 0)
      hooks_.openUrl(fromAnsi(hooks_.doc.links()[groups_[size_t(g)].members[size_t(m)]].url()));
  });
  connect(BClose, &QPushButton::clicked, this, &QWidget::close);
  connect(Groups, &QTreeWidget::itemSelectionChanged, this, &DuplicatesWindow::updateButtons);
  // Any change of the records may make or break groups: find them again
  // when the window is next looked at, or at once while it is open.
  auto changed = [this] {
    stale_ = true;
    if (isVisible()) rescan();
  };
  connect(&hooks_.doc, &LinkDocument::adopted, this, changed);
  connect(&hooks_.doc, &LinkDocument::edited, this, changed);
  connect(&hooks_.doc, &LinkDocument::historyMoved, this, changed);
  updateButtons();
}

void DuplicatesWindow::showEvent(QShowEvent* event) {
  if (stale_) rescan();
  QWidget::showEvent(event);
}

void DuplicatesWindow::rescan() {
  stale_ = false;
  const LinkList& list = hooks_.doc.links();
  groups_ = findDuplicates(list);
  keep_.clear();
  Groups->clear();
  size_t extra = 0;
  QList<QTreeWidgetItem*> tops;
  for (size_t g = 0; g < groups_.size(); ++g) {
    const DuplicateGroup& group = groups_[g];
    keep_.push_back(group.members.front());
    extra += group.members.size() - 1;
    auto* top = new QTreeWidgetItem;
    top->setText(ColLink, QStringLiteral("%1 copies").arg(group.members.size()));
    top->setText(ColUrl, fromAnsi(list[group.members.front()].url()));
    top->setData(ColLink, kGroupRole, int(g));
    top->setData(ColLink, kMemberRole, -1);
    for (size_t m = 0; m < group.members.size(); ++m) {
      const LinkRecord& r = list[group.members[m]];
      const std::string_view name = r.fullName();
      const size_t slash = name.rfind('\\');
      auto* item = new QTreeWidgetItem(top);
      item->setText(ColLink, fromAnsi(name.substr(slash + 1)));
      item->setText(ColFolder, fromAnsi(name.substr(0, slash + 1)));
      const auto date = fromDosDateTime(r.dateStamp());
      item->setText(ColDate, date ? date->toString(QStringLiteral("yyyy-MM-dd HH:mm")) : QString());
      item->setText(ColUrl, fromAnsi(r.url()));
      item->setData(ColLink, kGroupRole, int(g));
      item->setData(ColLink, kMemberRole, int(m));
    }
    tops.push_back(top);
  }
  Groups->addTopLevelItems(tops);
  for (size_t g = 0; g < groups_.size(); ++g) showKeep(int(g));
  Groups->expandAll();
  Summary->setText(groups_.empty()
                       ? QStringLiteral("No duplicate links.")
                       : QStringLiteral("%1 pages are filed more than once; merging keeps one "
                                        "copy of each and drops %2 links.")
                             .arg(groups_.size())
                             .arg(extra));
  updateButtons();
}

void DuplicatesWindow::showKeep(int group) {
  QTreeWidgetItem* top = Groups->topLevelItem(group);
  const DuplicateGroup& g = groups_[size_t(group)];
  for (int m = 0; m < top->childCount(); ++m)
    top->child(m)->setText(
        ColKeep, g.members[size_t(m)] == keep_[size_t(group)] ? QStringLiteral("Kept") : QString());
}

std::pair<int, int> DuplicatesWindow::selected() const {
  const QList<QTreeWidgetItem*> items = Groups->selectedItems();
  if (items.isEmpty()) return {-1, -1};
  return {items.front()->data(ColLink, kGroupRole).toInt(),
          items.front()->data(ColLink, kMemberRole).toInt()};
}

void DuplicatesWindow::keepSelected() {
  const auto [g, m] = selected();
  if (g < 0 || m < 0) return;
  keep_[size_t(g)] = groups_[size_t(g)].members[size_t(m)];
  showKeep(g);
}

void DuplicatesWindow::merge(bool all) {
  std::vector<DuplicateGroup> groups;
  std::vector<std::uint32_t> keep;
  const int chosen = selected().first;
  for (size_t g = 0; g < groups_.size(); ++g)
    if (all || int(g) == chosen) {
      groups.push_back(groups_[g]);
      keep.push_back(keep_[g]);
    }
  if (groups.empty()) return;
  const long dropped = mergeDuplicates(
      hooks_.doc, groups, keep,
      all ? QStringLiteral("Merge All Duplicates") : QStringLiteral("Merge Duplicates"));
  if (dropped < 0) {
    // The records changed under the window: show them as they are now.
    rescan();
    return;
  }
  if (dropped > 0) hooks_.refreshViews();
}

void DuplicatesWindow::updateButtons() {
  const auto [g, m] = selected();
  BKeep->setEnabled(m >= 0);
  BOpenLink->setEnabled(m >= 0);
  BMerge->setEnabled(g >= 0);
  BMergeAll->setEnabled(!groups_.empty());
}

}  // namespace vorlix
