#pragma once
// The rows of the link list: one small struct per row in a vector, shown by
// a table model. Rows carry copies of record fields; the commands find the
// record behind a row by its full name (current folder path + caption).
//
// A listing of 100,000 links is rebuilt on every folder change, so its
// texts are not one string each: a row's texts are views into one text
// store shared by the ListRows that built them, and die with it. Keep a row
// only inside its ListRows; copy a text into an AnsiString to keep it
// longer (across a rebuild, for instance).
#include <QAbstractTableModel>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "store/Ansi.h"

namespace vorlix {

inline constexpr int kImageFolderRow = 0;
inline constexpr int kImageLinkRow = 1;

struct ListRow {
  std::string_view caption;  // description, or the folder name
  std::string_view url;
  std::uint32_t date = 0;  // MS-DOS date-time stamp
  std::string_view kind;   // "Url", "Folder", or whatever the record holds
  std::string_view path;   // a link's folder path; a subfolder row's folder path
  int image = 1;           // 0 folder, 1 link

  bool isFolder() const { return kind == "Folder"; }
  bool isUpRow() const { return caption == ".." && isFolder(); }
};

// Append-only storage for row texts, in blocks that never move.
class RowTextStore {
 public:
  // A copy of `text` that lives as long as the store.
  std::string_view keep(std::string_view text);

 private:
  std::vector<std::unique_ptr<char[]>> blocks_;
  char* free_ = nullptr;
  size_t left_ = 0;
};

// The rows of one listing with the texts they point into. Copies share the
// texts (which only grow), so a copy stays valid on its own.
class ListRows {
 public:
  using const_iterator = std::vector<ListRow>::const_iterator;

  ListRows();
  // Rows whose texts are kept here, for tests and small fixed lists.
  ListRows(std::initializer_list<ListRow> rows);

  size_t size() const { return rows_.size(); }
  bool empty() const { return rows_.empty(); }
  const ListRow& operator[](size_t i) const { return rows_[i]; }
  const ListRow& at(size_t i) const { return rows_.at(i); }
  const ListRow& front() const { return rows_.front(); }
  const ListRow& back() const { return rows_.back(); }
  const_iterator begin() const { return rows_.begin(); }
  const_iterator end() const { return rows_.end(); }
  std::span<const ListRow> all() const { return rows_; }

  // A copy of `text` in this listing's store.
  std::string_view keep(std::string_view text) { return text_->keep(text); }
  // Appends a row whose texts are kept here already (or are literals).
  void pushKept(const ListRow& row) { rows_.push_back(row); }
  // Appends a row, keeping a copy of each of its texts.
  void push(const ListRow& row);
  void reserve(size_t n) { rows_.reserve(n); }
  void setCaption(size_t i, std::string_view caption) { rows_.at(i).caption = keep(caption); }
  void erase(size_t i) { rows_.erase(rows_.begin() + std::ptrdiff_t(i)); }
  // Puts the rows in the order given: order[k] is the old index of row k.
  void reorder(std::span<const size_t> order);

 private:
  std::vector<ListRow> rows_;
  std::shared_ptr<RowTextStore> text_;
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
  // The cell's program text (UTF-8, store/Ansi.h) as a QByteArray.
  static constexpr int AnsiTextRole = Qt::UserRole + 2;

  explicit LinkListModel(QObject* parent = nullptr);

  const ListRows& rows() const { return rows_; }
  const ListRow* rowAt(int row) const {
    return row >= 0 && size_t(row) < rows_.size() ? &rows_[size_t(row)] : nullptr;
  }
  // Replaces every row inside one model reset.
  void setRows(ListRows&& rows);
  void clearRows() { setRows({}); }
  // Changes one row's caption (a single-row change).
  void setCaption(int row, std::string_view caption);
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
  // Lets the view edit the caption of every row but ".." in place; the
  // edited text goes to `edited`, and the rows stay as they are until the
  // command that takes it rebuilds them.
  void setCaptionEditor(std::function<void(int row, const QString& text)> edited) {
    captionEditor_ = std::move(edited);
  }
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

 private:
  ListRows rows_;
  Qt::ItemFlags extraFlags_;
  std::function<void(int, const QString&)> captionEditor_;
};

}  // namespace vorlix
