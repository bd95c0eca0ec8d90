#include "components/SystemTray.h"

#include <QCursor>
#include <QEvent>
#include <QMenu>
#include <QWidget>
#include <QWindowStateChangeEvent>

namespace vorlix {

QtTrayShell::QtTrayShell(QObject* parent) : QObject(parent) {
  connect(&icon_, &QSystemTrayIcon::activated, this,
          [this](QSystemTrayIcon::ActivationReason reason) {
            if (onMouse) onMouse(mouseFor(reason));
          });
  available_ = QSystemTrayIcon::isSystemTrayAvailable();
  connect(&watch_, &QTimer::timeout, this, [this] {
    const bool now = QSystemTrayIcon::isSystemTrayAvailable();
    if (now == available_) return;
    available_ = now;
    if (onAvailabilityChanged) onAvailabilityChanged(now);
  });
  watch_.start(kWatchMsecs);
}

TrayMouse QtTrayShell::mouseFor(QSystemTrayIcon::ActivationReason reason) {
  switch (reason) {
    case QSystemTrayIcon::Trigger:
      return TrayMouse::LeftUp;
    case QSystemTrayIcon::DoubleClick:
      return TrayMouse::LeftDoubleClick;
    case QSystemTrayIcon::Context:
      return TrayMouse::RightUp;
    default:
      return TrayMouse::Other;
  }
}

bool QtTrayShell::isAvailable() const { return QSystemTrayIcon::isSystemTrayAvailable(); }

bool QtTrayShell::addIcon(const QIcon& icon, const QString& tip) {
  modifyIcon(icon, tip);
  icon_.show();
  // A notification area that went away in the meantime refuses the icon.
  if (!QSystemTrayIcon::isSystemTrayAvailable()) {
    icon_.hide();
    return false;
  }
  return true;
}

void QtTrayShell::removeIcon() { icon_.hide(); }

void QtTrayShell::modifyIcon(const QIcon& icon, const QString& tip) {
  icon_.setIcon(icon);
  icon_.setToolTip(tip);
}

// The menu is popped up here rather than handed to QSystemTrayIcon, which
// would show it whatever the window's state.
void QtTrayShell::popupMenu(QMenu* menu, const QPoint& at) { menu->popup(at); }

QPoint QtTrayShell::cursorPos() const { return QCursor::pos(); }

WidgetTrayWindow::WidgetTrayWindow(QWidget* window, QObject* parent)
    : QObject(parent), window_(window) {
  window->installEventFilter(this);
}

bool WidgetTrayWindow::isMinimized() const { return window_ && window_->isMinimized(); }

bool WidgetTrayWindow::isVisible() const { return window_ && window_->isVisible(); }

void WidgetTrayWindow::hide() {
  if (window_) window_->hide();
}

void WidgetTrayWindow::restore() {
  if (!window_) return;
  // Back to the state before minimising, maximised included.
  window_->setWindowState(window_->windowState() & ~Qt::WindowMinimized);
  window_->show();
}

void WidgetTrayWindow::bringToFront() {
  if (!window_) return;
  window_->raise();
  window_->activateWindow();
}

bool WidgetTrayWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == window_ && event->type() == QEvent::WindowStateChange) {
    const auto* change = static_cast<QWindowStateChangeEvent*>(event);
    const bool was = change->oldState() & Qt::WindowMinimized;
    const bool is = window_->windowState() & Qt::WindowMinimized;
    if (!was && is && onMinimize) {
      // Hiding from inside the state change confuses some window managers.
      QMetaObject::invokeMethod(
          this,
          [this] {
            if (window_ && window_->isMinimized() && onMinimize) onMinimize();
          },
          Qt::QueuedConnection);
    } else if (was && !is && onRestore) {
      onRestore();
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace vorlix
