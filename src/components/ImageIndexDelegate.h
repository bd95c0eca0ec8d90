#pragma once
// Gives column 0 of a row the image its model names by index, so the list's
// model carries a number rather than one icon per row.
#include <QStyledItemDelegate>

#include "components/ImageList.h"

namespace vorlix {

class ImageIndexDelegate : public QStyledItemDelegate {
 public:
  // `images` and `role` belong to the view that owns this delegate and are
  // read on every paint, so changing them needs no call here.
  ImageIndexDelegate(const ImageList* images, const int* role, QObject* parent);

  // Every item gets this size when it is valid, so a view of uniform items
  // lays out without asking each row, and icon captions can wrap.
  void setFixedItemSize(const QSize& size) { fixed_ = size; }
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

 private:
  const ImageList* images_;
  const int* role_;
  QSize fixed_;
};

}  // namespace vorlix
