#include "health/widgets/LinkCheckWindow.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "document/LinkDocument.h"
#include "health/CheckHistory.h"
#include "health/CheckRun.h"
#include "platform/Prompts.h"

namespace vorlix {
namespace {

enum Column { ColLink, ColFolder, ColVerdict, ColStatus, ColFinal, ColFirstFailed, ColCount };

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setAccessibleName(caption);
  return b;
}

QString verdictText(const LinkCheck& c) {
  QString text = verdictCaption(c.probe.verdict);
  if (isFailure(c.probe.verdict) && !c.confirmed) text += QStringLiteral(" (unconfirmed)");
  return text;
}

}  // namespace

LinkCheckWindow::LinkCheckWindow(HealthHooks hooks, QWidget* parent)
    : QWidget(parent, Qt::Window), hooks_(std::move(hooks)) {
  setObjectName(QStringLiteral("LinkCheckWindow"));
  setWindowTitle(QStringLiteral("Check Links"));
  setAccessibleName(windowTitle());
  resize(900, 520);

  auto* scopeLabel = new QLabel(QStringLiteral("&Links to check"), this);
  ScopeBox = new QComboBox(this);
  ScopeBox->setObjectName(QStringLiteral("ScopeBox"));
  ScopeBox->setAccessibleName(QStringLiteral("Links to check"));
  scopeLabel->setBuddy(ScopeBox);
  BCheck = button(this, "BCheck", QStringLiteral("Check"));
  BCancel = button(this, "BCancel", QStringLiteral("Cancel"));
  Progress = new QProgressBar(this);
  Progress->setObjectName(QStringLiteral("Progress"));
  Progress->setAccessibleName(QStringLiteral("Progress"));
  StatusText = new QLabel(this);
  StatusText->setObjectName(QStringLiteral("StatusText"));
  StatusText->setTextFormat(Qt::PlainText);
  StatusText->setAccessibleName(QStringLiteral("Status"));

  Results = new QTreeWidget(this);
  Results->setObjectName(QStringLiteral("Results"));
  Results->setAccessibleName(QStringLiteral("Checked links"));
  Results->setRootIsDecorated(false);
  Results->setUniformRowHeights(true);
  Results->setSelectionMode(QAbstractItemView::ExtendedSelection);
  Results->setColumnCount(ColCount);
  Results->setHeaderLabels({QStringLiteral("Link"), QStringLiteral("Folder"),
                            QStringLiteral("Verdict"), QStringLiteral("Status"),
                            QStringLiteral("Final URL"), QStringLiteral("First failed")});
  Results->header()->resizeSection(ColLink, 200);
  Results->header()->resizeSection(ColFolder, 160);
  Results->header()->resizeSection(ColVerdict, 140);
  Results->header()->resizeSection(ColStatus, 50);
  Results->setSortingEnabled(true);
  Results->sortByColumn(-1, Qt::AscendingOrder);

  BOpenLink = button(this, "BOpenLink", QStringLiteral("Open Link"));
  BWayback = button(this, "BWayback", QStringLiteral("Open Wayback Copy"));
  BAcceptUrl = button(this, "BAcceptUrl", QStringLiteral("Accept New Url"));
  BDeleteGone = button(this, "BDeleteGone", QStringLiteral("Delete Gone Links"));
  BDeleteGone->setToolTip(
      QStringLiteral("Deletes the selected gone links, or with none selected every confirmed one"));
  BClose = button(this, "BClose", QStringLiteral("Close"));

  auto* top = new QHBoxLayout;
  top->addWidget(scopeLabel);
  top->addWidget(ScopeBox, 1);
  top->addWidget(BCheck);
  top->addWidget(BCancel);
  auto* progress = new QHBoxLayout;
  progress->addWidget(Progress, 1);
  progress->addWidget(StatusText, 2);
  auto* bottom = new QHBoxLayout;
  for (QPushButton* b : {BOpenLink, BWayback, BAcceptUrl, BDeleteGone}) bottom->addWidget(b);
  bottom->addStretch(1);
  bottom->addWidget(BClose);
  auto* all = new QVBoxLayout(this);
  all->addLayout(top);
  all->addLayout(progress);
  all->addWidget(Results, 1);
  all->addLayout(bottom);

  connect(BCheck, &QPushButton::clicked, this, &LinkCheckWindow::startCheck);
  connect(BCancel, &QPushButton::clicked, this, &LinkCheckWindow::cancelCheck);
  connect(BOpenLink, &QPushButton::clicked, this, [this] { openCurrent(false); });
  connect(BWayback, &QPushButton::clicked, this, [this] { openCurrent(true); });
  connect(BAcceptUrl, &QPushButton::clicked, this, &LinkCheckWindow::acceptSelected);
  connect(BDeleteGone, &QPushButton::clicked, this, &LinkCheckWindow::deleteGone);
  connect(BClose, &QPushButton::clicked, this, &QWidget::close);
  connect(Results, &QTreeWidget::itemSelectionChanged, this, &LinkCheckWindow::updateButtons);
  connect(Results, &QTreeWidget::itemDoubleClicked, this, [this] { openCurrent(false); });
  updateButtons();
}

LinkCheckWindow::~LinkCheckWindow() {
  // A run cancelled by its own end must not report to rows already gone.
  if (run_) run_->disconnect(this);
}

void LinkCheckWindow::offerScope(const std::string& folder) {
  if (checking()) return;
  folder_ = folder;
  ScopeBox->clear();
  if (!folder.empty() && folder != "Favorites\\")
    ScopeBox->addItem(fromAnsi(folder) + QStringLiteral(" and below"));
  ScopeBox->addItem(QStringLiteral("The whole database"));
  updateButtons();
}

bool LinkCheckWindow::checking() const { return run_ && run_->running(); }

void LinkCheckWindow::startCheck() {
  if (checking()) return;
  const bool whole = ScopeBox->currentIndex() == ScopeBox->count() - 1;
  const std::vector<LinkRef> links =
      linksBelow(hooks_.doc.links(), whole ? std::string_view("Favorites\\") : folder_);
  Results->clear();
  items_.clear();
  rows_.clear();
  QVector<CheckJob> jobs;
  Results->setSortingEnabled(false);
  for (const LinkRef& ref : links) {
    jobs.push_back({quint32(rows_.size()), fromAnsi(ref.url)});
    rows_.push_back({ref, false, {}});
    items_.push_back(new QTreeWidgetItem(Results));
    showRow(int(rows_.size()) - 1);
  }
  Results->setSortingEnabled(true);
  if (run_) run_->disconnect(this);
  run_.reset();
  if (!history_) history_ = std::make_unique<CheckHistory>();
  history_->load();
  run_ = std::make_unique<CheckRun>(rules_, *history_, clock_);
  connect(run_.get(), &CheckRun::linkChecked, this, [this](quint32 id, const LinkCheck& c) {
    if (id >= rows_.size()) return;
    rows_[id].done = true;
    rows_[id].check = c;
    showRow(int(id));
  });
  connect(run_.get(), &CheckRun::progress, this, [this](int done, int total) {
    Progress->setMaximum(std::max(total, 1));
    Progress->setValue(done);
    StatusText->setText(QStringLiteral("%1 of %2 links checked").arg(done).arg(total));
  });
  connect(run_.get(), &CheckRun::finished, this, [this](bool cancelled) {
    int gone = 0;
    for (const Row& r : rows_) gone += r.done && r.check.probe.verdict == Verdict::Gone;
    StatusText->setText((cancelled ? QStringLiteral("Cancelled after %1 of %2 links; ")
                                   : QStringLiteral("%1 of %2 links checked; "))
                            .arg(run_->done())
                            .arg(run_->total()) +
                        QStringLiteral("%1 gone").arg(gone));
    updateButtons();
    emit checkFinished();
  });
  run_->start(jobs);
  updateButtons();
}

void LinkCheckWindow::closeEvent(QCloseEvent* event) {
  // A check nobody watches would only load the sites.
  cancelCheck();
  QWidget::closeEvent(event);
}

void LinkCheckWindow::cancelCheck() {
  if (run_) run_->cancel();
  updateButtons();
}

void LinkCheckWindow::databaseClosed() {
  cancelCheck();
  run_.reset();
  Results->clear();
  items_.clear();
  rows_.clear();
  Progress->reset();
  StatusText->setText(QStringLiteral("The database was closed."));
  offerScope("Favorites\\");
  updateButtons();
}

void LinkCheckWindow::showRow(int index) {
  const Row& r = rows_[size_t(index)];
  QTreeWidgetItem* item = items_[size_t(index)];
  const std::string_view name = r.ref.fullName;
  const size_t slash = name.rfind('\\');
  item->setData(ColLink, Qt::UserRole, index);
  item->setText(ColLink, fromAnsi(name.substr(slash + 1)));
  item->setText(ColFolder, fromAnsi(name.substr(0, slash + 1)));
  if (!r.done) {
    item->setText(ColVerdict, QStringLiteral("Waiting"));
    return;
  }
  const ProbeResult& p = r.check.probe;
  item->setText(ColVerdict, verdictText(r.check));
  item->setText(ColStatus, p.status ? QString::number(p.status) : QString());
  const QString url = fromAnsi(r.ref.url);
  item->setText(ColFinal, p.finalUrl == url ? QString() : p.finalUrl);
  item->setText(ColFirstFailed, r.check.firstFailure.isValid()
                                    ? r.check.firstFailure.toLocalTime().toString(
                                          QStringLiteral("yyyy-MM-dd HH:mm"))
                                    : QString());
  // The URL Accept New Url takes: where the permanent redirects lead.
  item->setToolTip(ColVerdict, p.verdict == Verdict::Moved
                                   ? p.reason + QStringLiteral(" to ") + p.movedTo
                                   : p.reason);
}

std::vector<int> LinkCheckWindow::selectedRows() const {
  std::vector<int> out;
  for (QTreeWidgetItem* item : Results->selectedItems())
    out.push_back(item->data(ColLink, Qt::UserRole).toInt());
  std::sort(out.begin(), out.end());
  return out;
}

int LinkCheckWindow::currentRow() const {
  QTreeWidgetItem* item = Results->currentItem();
  return item && item->isSelected() ? item->data(ColLink, Qt::UserRole).toInt() : -1;
}

void LinkCheckWindow::updateButtons() {
  const bool running = checking();
  BCheck->setEnabled(!running && ScopeBox->count() > 0);
  BCancel->setEnabled(running);
  ScopeBox->setEnabled(!running);
  const int current = currentRow();
  BOpenLink->setEnabled(current >= 0);
  BWayback->setEnabled(current >= 0);
  bool moved = false, gone = false;
  for (int i : selectedRows()) {
    moved |= rows_[size_t(i)].done && rows_[size_t(i)].check.probe.verdict == Verdict::Moved;
    gone |= rows_[size_t(i)].done && rows_[size_t(i)].check.probe.verdict == Verdict::Gone;
  }
  for (const Row& r : rows_)
    gone |= r.done && r.check.confirmed && r.check.probe.verdict == Verdict::Gone;
  BAcceptUrl->setEnabled(moved && !running);
  BDeleteGone->setEnabled(gone && !running);
}

void LinkCheckWindow::openCurrent(bool wayback) {
  const int i = currentRow();
  if (i < 0) return;
  const QString url = fromAnsi(rows_[size_t(i)].ref.url);
  hooks_.openUrl(wayback ? waybackUrl(url) : url);
}

void LinkCheckWindow::tellOutcome(const QString& what, const EditOutcome& o) {
  QString text = what.arg(o.changed);
  if (o.missing) text += QStringLiteral("; %1 changed meanwhile and left alone").arg(o.missing);
  if (o.tooLong)
    text +=
        QStringLiteral("; %1 new URLs longer than 255 characters kept the old one").arg(o.tooLong);
  StatusText->setText(text + QLatin1Char('.'));
  if (o.changed) hooks_.refreshViews();
}

void LinkCheckWindow::acceptSelected() {
  if (checking()) return;
  std::vector<std::pair<LinkRef, QString>> moves;
  std::vector<int> which;
  for (int i : selectedRows()) {
    const Row& r = rows_[size_t(i)];
    if (r.done && r.check.probe.verdict == Verdict::Moved) {
      moves.push_back({r.ref, r.check.probe.movedTo});
      which.push_back(i);
    }
  }
  if (moves.empty()) return;
  const EditOutcome o = acceptNewUrls(hooks_.doc, moves);
  for (size_t k = 0; k < which.size(); ++k) {
    Row& r = rows_[size_t(which[k])];
    if (findLink(hooks_.doc.links(), r.ref) >= 0) continue;  // kept its old URL
    r.ref.url = toAnsi(moves[k].second);
    r.check.probe.verdict = Verdict::Ok;
    r.check.probe.reason = QStringLiteral("New URL accepted");
    showRow(which[k]);
  }
  tellOutcome(QStringLiteral("%1 links took their new URL"), o);
  updateButtons();
}

void LinkCheckWindow::deleteGone() {
  if (checking()) return;
  // The selected gone rows when there are any: the user's own choice, even
  // before a second check confirms them. Otherwise every confirmed one.
  std::vector<int> which;
  for (int i : selectedRows())
    if (rows_[size_t(i)].done && rows_[size_t(i)].check.probe.verdict == Verdict::Gone)
      which.push_back(i);
  if (which.empty())
    for (size_t i = 0; i < rows_.size(); ++i)
      if (rows_[i].done && rows_[i].check.confirmed &&
          rows_[i].check.probe.verdict == Verdict::Gone)
        which.push_back(int(i));
  if (which.empty()) return;
  const QString question = which.size() == 1
                               ? QStringLiteral("Delete the gone link ?")
                               : QStringLiteral("Delete the %1 gone links ?").arg(which.size());
  if (hooks_.prompts.message(MsgType::Confirmation, Buttons::YesNo, question) != Answer::Yes)
    return;
  std::vector<LinkRef> refs;
  for (int i : which) refs.push_back(rows_[size_t(i)].ref);
  const EditOutcome o = deleteLinks(hooks_.doc, refs);
  // The rows of deleted links go; indices of the others are rewritten.
  std::vector<bool> gone(rows_.size(), false);
  for (int i : which) gone[size_t(i)] = findLink(hooks_.doc.links(), rows_[size_t(i)].ref) < 0;
  std::vector<Row> keptRows;
  std::vector<QTreeWidgetItem*> keptItems;
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (gone[i]) {
      delete items_[i];
      continue;
    }
    keptRows.push_back(std::move(rows_[i]));
    keptItems.push_back(items_[i]);
    keptItems.back()->setData(ColLink, Qt::UserRole, int(keptRows.size()) - 1);
  }
  rows_ = std::move(keptRows);
  items_ = std::move(keptItems);
  tellOutcome(QStringLiteral("%1 gone links deleted"), o);
  updateButtons();
}

}  // namespace vorlix
