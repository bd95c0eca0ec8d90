#include "components/RecentFiles.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <algorithm>

#include "platform/Registry.h"

namespace vorlix {

TRecentFiles::TRecentFiles(Registry& registry, QObject* parent)
    : QObject(parent), registry_(registry) {}

TRecentFiles::~TRecentFiles() {
  if (menu_)
    for (QAction* a : actions_) menu_->removeAction(a);
  qDeleteAll(actions_);
}

void TRecentFiles::setMenu(QMenu* menu) {
  if (menu_ == menu) return;
  if (menu_)
    for (QAction* a : actions_) menu_->removeAction(a);
  menu_ = menu;
  syncMenu();
}

QString TRecentFiles::fileNameOf(const QAction* entry) {
  return entry ? entry->data().toString() : QString();
}

QString TRecentFiles::ensureKey() {
  if (registryKey_.isEmpty())
    registryKey_ = QStringLiteral("\\SOFTWARE\\") + QCoreApplication::applicationName();
  return registryKey_;
}

void TRecentFiles::enableWhileFilled() {
  if (menu_) menu_->setEnabled(!list_.isEmpty());
}

void TRecentFiles::syncMenu() {
  if (!menu_) return;
  for (QAction* a : actions_) menu_->removeAction(a);
  // An entry may be the one whose click is running: it is reused or left to
  // the event loop, never deleted under its own signal.
  while (int(actions_.size()) > list_.count()) {
    actions_.back()->deleteLater();
    actions_.pop_back();
  }
  while (int(actions_.size()) < list_.count()) {
    auto* a = new QAction(this);
    connect(a, &QAction::triggered, this, [this, a] { EntryClick(a); });
    actions_.push_back(a);
  }
  for (int p = 0; p < list_.count(); ++p) {
    const QString& name = list_.files()[p];
    // A "&" in a path must show as itself, not as the next letter's accelerator.
    QString shown = name;
    shown.replace(QLatin1Char('&'), QLatin1String("&&"));
    actions_[p]->setText(RecentFileList::caption(p, shown));
    actions_[p]->setData(name);
  }
  // Entries always start at the menu's first position.
  const QList<QAction*> others = menu_->actions();
  QList<QAction*> entries(actions_.begin(), actions_.end());
  menu_->insertActions(others.value(0), entries);
}

void TRecentFiles::AddFile(const QString& fileName) {
  if (!menu_) return;
  if (!list_.addFile(fileName)) return;
  menu_->setEnabled(true);
  syncMenu();
}

void TRecentFiles::SaveToRegistry() {
  if (!menu_) return;
  list_.save(registry_, ensureKey());
}

void TRecentFiles::LoadFromRegistry() {
  if (!menu_) return;
  if (list_.load(registry_, ensureKey()) > 0) {
    menu_->setEnabled(true);
    syncMenu();
  }
  if (standAlone_) enableWhileFilled();
}

void TRecentFiles::ClearRegistry() {
  if (!menu_) return;
  RecentFileList::clearStored(registry_, ensureKey());
  if (standAlone_) enableWhileFilled();
}

void TRecentFiles::ClearMenu() {
  list_.clear();
  syncMenu();
  emit OnClear();
}

void TRecentFiles::EntryClick(QAction* entry) {
  if (!menu_) return;
  const auto it = std::find(actions_.begin(), actions_.end(), entry);
  if (it == actions_.end()) return;
  const QString latest = fileNameOf(entry);
  if (deleteEntry_) list_.removeAt(int(it - actions_.begin()));
  if (standAlone_) enableWhileFilled();
  syncMenu();
  emit OnClick(latest);
}

}  // namespace vorlix
