#pragma once
// The Check Links window: which links to check, the progress of the run,
// and one row per link with its folder, verdict, HTTP status, final URL and
// first failure. From there the user opens a link or its Wayback Machine
// copy, accepts a moved link's new URL, and deletes gone links.
#include <QWidget>
#include <memory>
#include <vector>

#include "health/LinkEdits.h"
#include "health/PacingRules.h"
#include "health/Verdict.h"
#include "health/widgets/HealthHooks.h"

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace vorlix {

class CheckHistory;
class CheckRun;

class LinkCheckWindow : public QWidget {
  Q_OBJECT
 public:
  LinkCheckWindow(HealthHooks hooks, QWidget* parent);
  ~LinkCheckWindow() override;

  // Offers the main window's current folder (and below) or the whole
  // database as what to check.
  void offerScope(const std::string& folder);
  // Checks the links of the chosen scope.
  void startCheck();
  // Stops a run; its rows so far stay.
  void cancelCheck();
  // The database was closed: the run stops and the rows go.
  void databaseClosed();
  bool checking() const;

  // For tests: shorter waits and a clock of their own.
  void setPacing(const PacingRules& rules) { rules_ = rules; }
  void setClock(std::function<QDateTime()> clock) { clock_ = std::move(clock); }

  QComboBox* ScopeBox = nullptr;
  QPushButton* BCheck = nullptr;
  QPushButton* BCancel = nullptr;
  QProgressBar* Progress = nullptr;
  QLabel* StatusText = nullptr;
  QTreeWidget* Results = nullptr;
  QPushButton* BOpenLink = nullptr;
  QPushButton* BWayback = nullptr;
  QPushButton* BAcceptUrl = nullptr;
  QPushButton* BDeleteGone = nullptr;
  QPushButton* BClose = nullptr;

 signals:
  void checkFinished();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  struct Row {
    LinkRef ref;
    bool done = false;
    LinkCheck check;
  };
  void showRow(int index);
  void updateButtons();
  std::vector<int> selectedRows() const;
  int currentRow() const;
  void openCurrent(bool wayback);
  void acceptSelected();
  void deleteGone();
  void tellOutcome(const QString& what, const EditOutcome& o);

  HealthHooks hooks_;
  PacingRules rules_;
  std::function<QDateTime()> clock_;
  std::unique_ptr<CheckHistory> history_;
  std::unique_ptr<CheckRun> run_;
  std::vector<Row> rows_;
  std::vector<QTreeWidgetItem*> items_;
  std::string folder_;
};

}  // namespace vorlix
