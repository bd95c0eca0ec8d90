#pragma once
// The report view's header: draws a sort arrow from an image list to the right
// of a column's caption, and keeps the caption left-aligned while it does.
#include <QHash>
#include <QHeaderView>

#include "components/ImageList.h"

namespace vorlix {

class XeHeaderView : public QHeaderView {
  Q_OBJECT
 public:
  explicit XeHeaderView(QWidget* parent = nullptr);

  void setImages(const ImageList& images);
  // Shows image `image` on `column`, or removes it when `image` < 0. Repaints
  // only on a real change, so calling it from a paint handler cannot loop.
  void setColumnImage(int column, int image);
  // The image `column` shows, -1 for none.
  int columnImage(int column) const { return images_.value(column, -1); }

  // The column's own caption alignment, used while it shows no arrow;
  // unset columns take the model's header alignment or the default one.
  void setColumnAlignment(int column, Qt::Alignment alignment);
  // The alignment the caption is drawn with now.
  Qt::Alignment captionAlignment(int column) const;

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
  void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override;
  QSize sectionSizeFromContents(int logicalIndex) const override;

 private:
  Qt::Alignment ownAlignment(int column) const;

  ImageList list_;
  QHash<int, int> images_;                // column -> image index
  QHash<int, Qt::Alignment> alignments_;  // column -> caption alignment
};

}  // namespace vorlix
