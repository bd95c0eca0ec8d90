#include "components/XeStatusBar.h"

#include <QLabel>
#include <QPainter>
#include <QStyle>

namespace vorlix {

namespace {
constexpr int kInset = 2;  // keeps a child clear of the panel separators
}

TXeStatusBar::TXeStatusBar(QWidget* parent) : QStatusBar(parent) {
  setSizeGripEnabled(true);
  setMinimumHeight(fontMetrics().height() + 2 * kInset + 4);
  connect(this, &QStatusBar::messageChanged, this, &TXeStatusBar::messageShown);
  noticeTimer_.setSingleShot(true);
  connect(&noticeTimer_, &QTimer::timeout, this, [this] {
    if (notice_) notice_->clear();
  });
}

void TXeStatusBar::setNoticePanel(int index) {
  if (!notice_) {
    notice_ = new QLabel(this);
    notice_->setObjectName(QStringLiteral("StatusNotice"));
    notice_->setAccessibleName(QStringLiteral("Notice"));
    notice_->setTextFormat(Qt::PlainText);
    notice_->setIndent(4);
  }
  placeOverPanel(notice_, index);
}

void TXeStatusBar::showNotice(const QString& text, int msecs) {
  if (!notice_) setNoticePanel(panelCount() - 1);
  notice_->setText(text);
  notice_->setToolTip(text);
  noticeTimer_.start(msecs);
}

QString TXeStatusBar::notice() const { return notice_ ? notice_->text() : QString(); }

void TXeStatusBar::messageShown(const QString& text) {
  for (const Placed& p : placed_)
    if (p.widget) p.widget->setVisible(text.isEmpty());
  update();
}

void TXeStatusBar::setPanelWidths(const QList<int>& widths) {
  widths_ = widths;
  layoutChildren();
  update();
}

QRect TXeStatusBar::panelRect(int index) const {
  if (index < 0 || index >= widths_.size()) return {};
  int x = 0;
  for (int i = 0; i < index; ++i) x += qMax(0, widths_.at(i));
  int w = qMax(0, widths_.at(index));
  if (index == widths_.size() - 1) w = qMax(w, width() - x);
  return QRect(x, 0, w, height());
}

void TXeStatusBar::placeOverPanel(QWidget* child, int index) {
  if (!child) return;
  for (qsizetype i = placed_.size() - 1; i >= 0; --i) {
    if (!placed_[i].widget || placed_[i].widget == child) placed_.removeAt(i);
  }
  if (child->parentWidget() != this) child->setParent(this);
  placed_.append({child, index});
  layoutChildren();
  child->setVisible(currentMessage().isEmpty());
}

void TXeStatusBar::layoutChildren() {
  for (const Placed& p : placed_) {
    if (!p.widget) continue;
    const QRect r = panelRect(p.panel);
    if (r.isEmpty()) {
      p.widget->setGeometry(QRect());
      continue;
    }
    p.widget->setGeometry(r.adjusted(kInset, kInset, -kInset, -kInset));
    p.widget->raise();
  }
}

void TXeStatusBar::resizeEvent(QResizeEvent* event) {
  QStatusBar::resizeEvent(event);
  layoutChildren();
}

void TXeStatusBar::paintEvent(QPaintEvent* event) {
  QStatusBar::paintEvent(event);
  if (!currentMessage().isEmpty()) return;  // the message spans the panels
  // Thin separators between the panels; the panels have no text to show.
  QPainter p(this);
  p.setPen(palette().color(QPalette::Mid));
  for (int i = 0; i + 1 < widths_.size(); ++i) {
    const QRect r = panelRect(i);
    p.drawLine(r.right(), r.top() + 3, r.right(), r.bottom() - 3);
  }
}

}  // namespace vorlix
