#pragma once
// The rows of the link list: one small struct per row in a vector, shown by
// a table model. Rows carry copies of record fields; the commands find the
// record behind a row by its full name (current folder path + caption).
#include <QAbstractTableModel>
#include <cstdint>
#include <vector>

#include "store/Ansi.h"

namespace vorlix {

inline constexpr int kImageFolderRow = 0;
inline constexpr int kImageLinkRow = 1;

struct ListRow {
  AnsiString caption;  // description, or the folder name
  AnsiString url;
  std::uint32_t date = 0;  // MS-DOS date-time stamp
  AnsiString kind;         // "Url", "Folder", or whatever the record holds
  AnsiString path;         // a link's folder path; a subfolder row's folder path
  int image = 1;           // 0 folder, 1 link

  bool isFolder() const { return kind == "Folder"; }
  bool isUpRow() const { return caption == ".." && isFolder(); }
};

enum ListColumn { ColDescription = 0, ColUrl = 1, ColDate = 2, ColType = 3, ColPath = 4 };
inline constexpr int kListColumnCount = 5;

// The Date cell's text in the user's short date format; empty for a stamp
// that names no valid date.
QString dateText(std::uint32_t stamp);

class LinkListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  static constexpr int ImageIndexRole = Qt::UserRole + 1;
  // The cell's text as Windows-1252 bytes (QByteArray).
  static constexpr int AnsiTextRole = Qt::UserRole + 2;

  explicit LinkListModel(QObject* parent = nullptr);

  const std::vector<ListRow>& rows() const { return rows_; }
  const ListRow* rowAt(int row) const {
    return row >= 0 && size_t(row) < rows_.size() ? &rows_[size_t(row)] : nullptr;
  }
  // Replaces every row inside one model reset.
  void setRows(std::vector<ListRow>&& rows);
  void clearRows() { setRows({}); }
  // Changes one row's caption (a single-row change).
  void setCaption(int row, AnsiString caption);
  // Removes one row.
  void removeListRow(int row);
  // Sorts the rows by a column (folder rows stay on top), keeping
  // persistent indexes (selection, current row) on their rows.
  void sortRows(int column, bool descending);

  static QString columnTitle(int column);
  static int defaultColumnWidth(int column);

  // QAbstractItemModel
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  void setExtraItemFlags(Qt::ItemFlags extra) { extraFlags_ = extra; }

 private:
  std::vector<ListRow> rows_;
  Qt::ItemFlags extraFlags_;
};

}  // namespace vorlix
