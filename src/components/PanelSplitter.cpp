#include "components/PanelSplitter.h"

#include <QMouseEvent>
#include <algorithm>

namespace vorlix {

TPanelSplitter::TPanelSplitter(QWidget* panelBelow, QWidget* parent)
    : QWidget(parent), panel_(panelBelow) {
  setFixedHeight(kThickness);
  setCursor(Qt::SizeVerCursor);
  setAccessibleName(QStringLiteral("Preview pane height"));
}

void TPanelSplitter::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  pressY_ = qRound(event->globalPosition().y());
  pressHeight_ = panel_->height();
}

void TPanelSplitter::mouseMoveEvent(QMouseEvent* event) {
  if (pressHeight_ < 0) return;
  // Leave the panes above at least as much room as the panel may take.
  const int limit = parentWidget() ? std::max(0, parentWidget()->height() - 100) : pressHeight_;
  const int dy = qRound(event->globalPosition().y()) - pressY_;
  panel_->setFixedHeight(std::clamp(pressHeight_ - dy, 0, std::max(limit, pressHeight_)));
}

void TPanelSplitter::mouseReleaseEvent(QMouseEvent*) { pressHeight_ = -1; }

}  // namespace vorlix
