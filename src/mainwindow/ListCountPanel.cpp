#include "mainwindow/ListCountPanel.h"

#include <QLineEdit>

#include "store/ListRows.h"

namespace vorlix {

ListCountPanel::ListCountPanel(const LinkListModel& model, const QLineEdit& find, QWidget* parent)
    : QLabel(parent), model_(model) {
  setObjectName(QStringLiteral("ListCount"));
  setAccessibleName(QStringLiteral("Rows listed"));
  setToolTip(QStringLiteral("Rows listed"));
  setTextFormat(Qt::PlainText);
  setIndent(4);
  // Every rebuild that is not a find's (a folder change, Refresh, an edit)
  // lists rows again; a find's rebuild is followed by its text change.
  connect(&model, &QAbstractItemModel::modelReset, this, [this] {
    hits_ = false;
    refresh();
  });
  connect(&model, &QAbstractItemModel::rowsRemoved, this, &ListCountPanel::refresh);
  connect(&model, &QAbstractItemModel::rowsInserted, this, &ListCountPanel::refresh);
  connect(&find, &QLineEdit::textChanged, this, [this](const QString& text) {
    // One or two letters leave the list as it was, hits or not.
    if (text.isEmpty() || text.size() > 2) hits_ = text.size() > 2;
    refresh();
  });
  refresh();
}

QString ListCountPanel::countText(int rows, bool hits) {
  if (hits) return rows == 1 ? QStringLiteral("1 hit") : QStringLiteral("%1 hits").arg(rows);
  return rows == 1 ? QStringLiteral("1 item") : QStringLiteral("%1 items").arg(rows);
}

void ListCountPanel::refresh() {
  const ListRows& rows = model_.rows();
  int n = int(rows.size());
  if (n > 0 && rows[0].isUpRow()) --n;
  setText(countText(n, hits_));
}

}  // namespace vorlix
