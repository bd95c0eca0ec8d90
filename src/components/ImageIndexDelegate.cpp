#include "components/ImageIndexDelegate.h"

#include <QFontMetrics>
#include <QTextLayout>

namespace vorlix {

namespace {

// At most two lines, the second elided: an icon cell has room for no more.
QString twoLines(const QString& text, const QFont& font, int width) {
  QTextLayout layout(text, font);
  layout.beginLayout();
  QTextLine first = layout.createLine();
  if (!first.isValid()) {
    layout.endLayout();
    return text;
  }
  first.setLineWidth(width);
  const int cut = first.textStart() + first.textLength();
  layout.endLayout();
  const QString rest = text.mid(cut).trimmed();
  if (rest.isEmpty()) return text;
  return text.left(cut).trimmed() + QChar(QChar::LineSeparator) +
         QFontMetrics(font).elidedText(rest, Qt::ElideRight, width);
}

}  // namespace

ImageIndexDelegate::ImageIndexDelegate(const ImageList* images, const int* role, QObject* parent)
    : QStyledItemDelegate(parent), images_(images), role_(role) {}

QSize ImageIndexDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
  return fixed_.isValid() ? fixed_ : QStyledItemDelegate::sizeHint(option, index);
}

void ImageIndexDelegate::initStyleOption(QStyleOptionViewItem* option,
                                         const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  // Icon captions start right under the icon, whether one line or two.
  if (option->decorationPosition == QStyleOptionViewItem::Top) {
    option->displayAlignment = Qt::AlignHCenter | Qt::AlignTop;
    if (fixed_.isValid()) option->text = twoLines(option->text, option->font, fixed_.width() - 8);
  }
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
