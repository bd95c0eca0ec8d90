#include "components/XeStaticText.h"

#include <QEvent>
#include <QToolBar>
#include <QToolButton>

namespace vorlix {

TXeStaticText::TXeStaticText(QWidget* parent) : TXeStaticText(QString(), parent) {}

TXeStaticText::TXeStaticText(const QString& text, QWidget* parent) : QLabel(parent) {
  // Folder paths and captions are data, never markup.
  setTextFormat(Qt::PlainText);
  setText(text);
  setFixedHeight(kHeaderHeight);
  setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Button);
  setForegroundRole(QPalette::ButtonText);
  setMinimumWidth(0);
}

void TXeStaticText::attach(QWidget* child, Qt::AlignmentFlag side, int width) {
  if (!child) return;
  detach(child);
  if (child->parentWidget() != this) child->setParent(this);
  attached_.append({child, side == Qt::AlignRight ? Qt::AlignRight : Qt::AlignLeft, width});
  layoutChildren();
  child->show();
}

void TXeStaticText::detach(QWidget* child) {
  for (qsizetype i = attached_.size() - 1; i >= 0; --i) {
    if (!attached_[i].widget || attached_[i].widget == child) attached_.removeAt(i);
  }
  layoutChildren();
}

QToolButton* TXeStaticText::addEndButton(const QIcon& icon, const QString& toolTip,
                                         Qt::AlignmentFlag side) {
  auto* bar = new QToolBar(this);
  bar->setIconSize(QSize(kHeaderHeight - 3, kHeaderHeight - 3));
  bar->setMovable(false);
  bar->setFloatable(false);
  bar->setContentsMargins(0, 0, 0, 0);
  bar->setStyleSheet(QStringLiteral("QToolBar { border: 0px; padding: 0px; spacing: 0px; }"));
  auto* button = new QToolButton(bar);
  button->setIcon(icon);
  button->setToolTip(toolTip);
  button->setAccessibleName(toolTip);  // its only caption
  button->setAutoRaise(true);
  button->setFixedSize(kHeaderHeight + 3, kHeaderHeight);
  button->setIconSize(bar->iconSize());
  bar->addWidget(button);
  attach(bar, side, button->width());
  return button;
}

void TXeStaticText::layoutChildren() {
  int left = 0;
  int right = 0;
  for (const Attached& a : attached_) {
    if (!a.widget) continue;
    const int w = a.width >= 0 ? a.width : a.widget->sizeHint().width();
    if (a.side == Qt::AlignRight) {
      right += w;
      a.widget->setGeometry(width() - right, 0, w, height());
    } else {
      a.widget->setGeometry(left, 0, w, height());
      left += w;
    }
    a.widget->raise();
  }
  setContentsMargins(left, 0, right, 0);
}

void TXeStaticText::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  layoutChildren();
}

bool TXeStaticText::event(QEvent* e) {
  // A child that is deleted or moved elsewhere gives its room back.
  if (e->type() == QEvent::ChildRemoved) {
    auto* ce = static_cast<QChildEvent*>(e);
    for (qsizetype i = attached_.size() - 1; i >= 0; --i) {
      if (!attached_[i].widget || attached_[i].widget == ce->child()) attached_.removeAt(i);
    }
    layoutChildren();
  }
  return QLabel::event(e);
}

}  // namespace vorlix
