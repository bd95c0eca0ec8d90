#include "store/ListRows.h"

#include <QLocale>

#include "store/DosDate.h"
#include "store/RowSort.h"

namespace vorlix {

QString dateText(std::uint32_t stamp) {
  const auto d = dosDate(stamp);
  if (!d) return {};
  // Building the system locale each time is costly and a view asks per cell.
  static const QLocale locale = QLocale::system();
  return locale.toString(*d, QLocale::ShortFormat);
}

LinkListModel::LinkListModel(QObject* parent) : QAbstractTableModel(parent) {}

void LinkListModel::setRows(std::vector<ListRow>&& rows) {
  beginResetModel();
  rows_ = std::move(rows);
  endResetModel();
}

void LinkListModel::setCaption(int row, AnsiString caption) {
  if (row < 0 || size_t(row) >= rows_.size()) return;
  rows_[size_t(row)].caption = std::move(caption);
  const QModelIndex i = index(row, ColDescription);
  emit dataChanged(i, i);
}

void LinkListModel::removeListRow(int row) {
  if (row < 0 || size_t(row) >= rows_.size()) return;
  beginRemoveRows({}, row, row);
  rows_.erase(rows_.begin() + row);
  endRemoveRows();
}

void LinkListModel::sortRows(int column, bool descending) {
  const std::vector<size_t> order = SortedRowOrder(rows_, column, descending);
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  std::vector<int> newRowOf(rows_.size());
  std::vector<ListRow> sorted;
  sorted.reserve(rows_.size());
  for (size_t i = 0; i < order.size(); ++i) {
    newRowOf[order[i]] = int(i);
    sorted.push_back(std::move(rows_[order[i]]));
  }
  rows_.swap(sorted);
  const QModelIndexList before = persistentIndexList();
  QModelIndexList after;
  after.reserve(before.size());
  for (const QModelIndex& i : before) after.push_back(index(newRowOf[size_t(i.row())], i.column()));
  changePersistentIndexList(before, after);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

QString LinkListModel::columnTitle(int column) {
  switch (column) {
    case ColDescription:
      return QStringLiteral("Description");
    case ColUrl:
      return QStringLiteral("URL");
    case ColDate:
      return QStringLiteral("Date");
    case ColType:
      return QStringLiteral("Type");
    case ColPath:
      return QStringLiteral("Path");
    default:
      return {};
  }
}

int LinkListModel::defaultColumnWidth(int column) {
  static constexpr int kWidths[kListColumnCount] = {300, 200, 70, 45, 300};
  return column >= 0 && column < kListColumnCount ? kWidths[column] : 0;
}

int LinkListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(rows_.size());
}

int LinkListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kListColumnCount;
}

QVariant LinkListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= int(rows_.size())) return {};
  const ListRow& r = rows_[size_t(index.row())];
  const AnsiString* text = nullptr;
  switch (index.column()) {
    case ColDescription:
      text = &r.caption;
      break;
    case ColUrl:
      text = &r.url;
      break;
    case ColType:
      text = &r.kind;
      break;
    case ColPath:
      text = &r.path;
      break;
    default:
      break;
  }
  switch (role) {
    case Qt::DisplayRole:
      if (index.column() == ColDate) return dateText(r.date);
      return text ? fromAnsi(*text) : QVariant();
    case AnsiTextRole:
      if (index.column() == ColDate) return dateText(r.date).toLatin1();
      return text ? QByteArray(text->data(), qsizetype(text->size())) : QVariant();
    case ImageIndexRole:
      return index.column() == ColDescription ? QVariant(r.image) : QVariant();
    default:
      return {};
  }
}

QVariant LinkListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return {};
  if (role == Qt::DisplayRole) return columnTitle(section);
  if (role == Qt::SizeHintRole) return QVariant();
  return {};
}

Qt::ItemFlags LinkListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren | extraFlags_;
}

}  // namespace vorlix
