#include "components/XeHeaderView.h"

#include <QPainter>
#include <QStyleOptionHeader>

namespace vorlix {

namespace {
constexpr int kArrowGap = 4;  // between the caption and its arrow
}

XeHeaderView::XeHeaderView(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
  setSectionsClickable(true);
  setHighlightSections(false);
  setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void XeHeaderView::setImages(const ImageList& images) {
  list_ = images;
  viewport()->update();
}

void XeHeaderView::setColumnImage(int column, int image) {
  if (column < 0) return;
  if (image < 0) {
    if (images_.remove(column) == 0) return;
  } else {
    if (images_.value(column, -1) == image) return;
    images_.insert(column, image);
  }
  viewport()->update();
}

void XeHeaderView::setColumnAlignment(int column, Qt::Alignment alignment) {
  alignments_.insert(column, alignment);
  viewport()->update();
}

Qt::Alignment XeHeaderView::ownAlignment(int column) const {
  const auto it = alignments_.constFind(column);
  if (it != alignments_.constEnd()) return *it;
  if (model()) {
    const QVariant v = model()->headerData(column, orientation(), Qt::TextAlignmentRole);
    if (v.isValid()) return Qt::Alignment(v.toInt());
  }
  return defaultAlignment();
}

Qt::Alignment XeHeaderView::captionAlignment(int column) const {
  if (columnImage(column) >= 0) return Qt::AlignLeft | Qt::AlignVCenter;
  return ownAlignment(column);
}

void XeHeaderView::initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const {
  QHeaderView::initStyleOptionForIndex(option, logicalIndex);
  option->textAlignment = captionAlignment(logicalIndex);
  // The arrow is ours; the style's own sort indicator stays off.
  option->sortIndicator = QStyleOptionHeader::None;
}

QSize XeHeaderView::sectionSizeFromContents(int logicalIndex) const {
  QSize s = QHeaderView::sectionSizeFromContents(logicalIndex);
  if (list_.size() > 0) s.setHeight(qMax(s.height(), list_.size() + 4));
  return s;
}

void XeHeaderView::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
  const QPixmap arrow = list_.pixmap(columnImage(logicalIndex), devicePixelRatioF());
  if (arrow.isNull()) {
    QHeaderView::paintSection(painter, rect, logicalIndex);
    return;
  }
  QStyleOptionHeader opt;
  initStyleOption(&opt);
  initStyleOptionForIndex(&opt, logicalIndex);
  opt.rect = rect;
  painter->save();
  style()->drawControl(QStyle::CE_HeaderSection, &opt, painter, this);

  // Caption first, the arrow right after it; a narrow column elides the
  // caption so the arrow stays in view.
  const QRect label = style()->subElementRect(QStyle::SE_HeaderLabel, &opt, this);
  const int arrowW = list_.size();
  const int room = qMax(0, label.width() - arrowW - kArrowGap);
  const QString text = opt.fontMetrics.elidedText(opt.text, Qt::ElideRight, room);
  const int textW = qMin(room, opt.fontMetrics.horizontalAdvance(text));
  QStyleOptionHeader textOpt = opt;
  textOpt.rect = QRect(label.left(), label.top(), textW, label.height());
  textOpt.text = text;
  textOpt.icon = QIcon();
  textOpt.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
  style()->drawControl(QStyle::CE_HeaderLabel, &textOpt, painter, this);

  const int x = label.left() + textW + (textW > 0 ? kArrowGap : 0);
  const int y = rect.top() + (rect.height() - arrowW) / 2;
  painter->setClipRect(rect);
  painter->drawPixmap(QRect(x, y, arrowW, arrowW), arrow);
  painter->restore();
}

}  // namespace vorlix
