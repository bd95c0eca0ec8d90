#include "preview/PreviewDock.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <algorithm>

#include "preview/TFBrowser.h"

namespace vorlix {

PreviewDock::PreviewDock(TFBrowser& pane, QWidget& panel10, QObject* parent)
    : QObject(parent),
      pane_(&pane),
      paneObject_(&pane),
      addressBar_(pane.AddressBar),
      labelAddress_(pane.LabelAddress),
      panel_(panel10),
      floatSize_(firstFloatSize()) {
  setObjectName(QStringLiteral("PreviewDock"));
  if (!panel_.layout()) {
    auto* l = new QVBoxLayout(&panel_);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(0);
  }
  dockSilently();
  pane.AddressBar->installEventFilter(this);
  pane.LabelAddress->installEventFilter(this);
  pane.installEventFilter(this);
  connect(&pane, &TFBrowser::closeRequested, this, &PreviewDock::FormCloseQuery);
  // The button does what dragging the address bar does.
  connect(&pane, &TFBrowser::floatToggleRequested, this, [this] {
    if (floating())
      dock();
    else
      floatAt(pane_->mapToGlobal(QPoint(0, 0)));
  });
}

PreviewDock::~PreviewDock() {
  // Docked, the panel owns the pane; floating, nobody else does.
  if (pane_ && floating()) delete pane_.data();
}

bool PreviewDock::floating() const { return pane_ && pane_->parentWidget() != &panel_; }

void PreviewDock::dockSilently() {
  pane_->setParent(&panel_, Qt::Widget);
  panel_.layout()->addWidget(pane_);
  pane_->show();
}

void PreviewDock::floatAt(const QPoint& global) {
  if (!pane_ || floating()) return;
  panel_.layout()->removeWidget(pane_);
  // A window of its own, not a tool window of the main one: it gets its
  // own task-bar entry.
  pane_->setParent(nullptr, Qt::Window);
  pane_->resize(floatSize_);
  pane_->move(global);
  pane_->show();
  FormEndDock();
}

void PreviewDock::dock() {
  if (!pane_ || !floating()) return;
  floatSize_ = pane_->size();
  dockSilently();
  FormEndDock();
}

void PreviewDock::FormEndDock() {
  panel_.setFixedHeight(floating() ? 0 : kDockedHeight);
  pane_->setFloatingLook(floating());
  pane_->reloadAddress();
}

void PreviewDock::FormCloseQuery() { dock(); }

bool PreviewDock::overDockSite(const QPoint& global) const {
  const QWidget* site = panel_.parentWidget();
  if (!site) return false;
  const QRect area(site->mapToGlobal(QPoint(0, 0)), site->size());
  QRect strip = area;
  strip.setTop(area.bottom() - std::max(kDropStrip, panel_.height()));
  return site->isVisible() && strip.contains(global);
}

void PreviewDock::shutDown() {
  if (!pane_) return;
  pane_->setCloseAllowed(true);
  if (floating()) pane_->hide();
}

bool PreviewDock::handleDrag(QEvent* event) {
  auto* me = static_cast<QMouseEvent*>(event);
  const QPoint global = me->globalPosition().toPoint();
  switch (event->type()) {
    case QEvent::MouseButtonPress:
      if (me->button() != Qt::LeftButton) return false;
      pressed_ = true;
      dragging_ = false;
      pressGlobal_ = global;
      grabOffset_ = global - pane_->mapToGlobal(QPoint(0, 0));
      return true;
    case QEvent::MouseMove:
      if (!pressed_) return false;
      if (!dragging_ &&
          (global - pressGlobal_).manhattanLength() < QApplication::startDragDistance())
        return true;
      dragging_ = true;
      // A floating pane follows the mouse; a docked one stays until the
      // drop says where it goes.
      if (floating()) pane_->move(global - grabOffset_);
      return true;
    case QEvent::MouseButtonRelease: {
      if (!pressed_ || me->button() != Qt::LeftButton) return false;
      pressed_ = false;
      if (!dragging_) return true;
      dragging_ = false;
      const bool dockHere = overDockSite(global);
      if (floating() && dockHere)
        dock();
      else if (!floating() && !dockHere)
        floatAt(global - grabOffset_);
      return true;
    }
    default:
      return false;
  }
}

bool PreviewDock::eventFilter(QObject* watched, QEvent* event) {
  if (pane_.isNull()) return false;
  if (watched == paneObject_) {
    // FormResize: a floating pane keeps the panel collapsed.
    if (event->type() == QEvent::Resize && floating() && panel_.height() != 0)
      panel_.setFixedHeight(0);
    return false;
  }
  if (watched == addressBar_ || watched == labelAddress_) {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseMove:
      case QEvent::MouseButtonRelease:
        return handleDrag(event);
      default:
        break;
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace vorlix
