#include "store/ListRows.h"

#include <QLocale>
#include <algorithm>
#include <cstring>

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

std::string_view RowTextStore::keep(std::string_view text) {
  if (text.empty()) return {};
  if (left_ < text.size()) {
    // Blocks of 64 KiB hold some 400 rows' texts; a rebuild of 100,000 rows
    // makes a few hundred allocations instead of 300,000.
    constexpr size_t kBlock = 64 * 1024;
    const size_t size = std::max(kBlock, text.size());
    blocks_.push_back(std::make_unique_for_overwrite<char[]>(size));
    free_ = blocks_.back().get();
    left_ = size;
  }
  char* at = free_;
  std::memcpy(at, text.data(), text.size());
  free_ += text.size();
  left_ -= text.size();
  return {at, text.size()};
}

ListRows::ListRows() : text_(std::make_shared<RowTextStore>()) {}

ListRows::ListRows(std::initializer_list<ListRow> rows) : ListRows() {
  rows_.reserve(rows.size());
  for (const ListRow& r : rows) push(r);
}

void ListRows::push(const ListRow& row) {
  ListRow kept = row;
  kept.caption = keep(row.caption);
  kept.url = keep(row.url);
  kept.kind = keep(row.kind);
  kept.path = keep(row.path);
  rows_.push_back(kept);
}

void ListRows::reorder(std::span<const size_t> order) {
  std::vector<ListRow> sorted;
  sorted.reserve(order.size());
  for (size_t i : order) sorted.push_back(rows_[i]);
  rows_.swap(sorted);
}

LinkListModel::LinkListModel(QObject* parent) : QAbstractTableModel(parent) {}

void LinkListModel::setRows(ListRows&& rows) {
  beginResetModel();
  rows_ = std::move(rows);
  endResetModel();
}

void LinkListModel::setCaption(int row, std::string_view caption) {
  if (row < 0 || size_t(row) >= rows_.size()) return;
  rows_.setCaption(size_t(row), caption);
  const QModelIndex i = index(row, ColDescription);
  emit dataChanged(i, i);
}

void LinkListModel::removeListRow(int row) {
  if (row < 0 || size_t(row) >= rows_.size()) return;
  beginRemoveRows({}, row, row);
  rows_.erase(size_t(row));
  endRemoveRows();
}

void LinkListModel::sortRows(int column, bool descending) {
  const std::vector<size_t> order = SortedRowOrder(rows_.all(), column, descending);
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  std::vector<int> newRowOf(rows_.size());
  for (size_t i = 0; i < order.size(); ++i) newRowOf[order[i]] = int(i);
  rows_.reorder(order);
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
  const std::string_view* text = nullptr;
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
  Qt::ItemFlags f =
      Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren | extraFlags_;
  const ListRow* row = rowAt(index.row());
  if (captionEditor_ && index.column() == ColDescription && row && !row->isUpRow())
    f |= Qt::ItemIsEditable;
  return f;
}

bool LinkListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !captionEditor_ || !(flags(index) & Qt::ItemIsEditable)) return false;
  captionEditor_(index.row(), value.toString());
  return true;
}

}  // namespace vorlix
