#include "components/ImageIndexDelegate.h"

namespace vorlix {

ImageIndexDelegate::ImageIndexDelegate(const ImageList* images, const int* role, QObject* parent)
    : QStyledItemDelegate(parent), images_(images), role_(role) {}

void ImageIndexDelegate::initStyleOption(QStyleOptionViewItem* option,
                                         const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  if (index.column() != 0 || images_->isEmpty()) return;
  const QVariant v = index.data(*role_);
  bool ok = false;
  const int image = v.toInt(&ok);
  if (!v.isValid() || !ok) return;
  const QIcon icon = images_->icon(image);
  if (icon.isNull()) return;
  option->icon = icon;
  option->features |= QStyleOptionViewItem::HasDecoration;
  option->decorationSize = QSize(images_->size(), images_->size());
}

}  // namespace vorlix
