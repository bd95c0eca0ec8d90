#include "components/TrayIcon.h"

#include <QGuiApplication>

#include "platform/Prompts.h"

namespace vorlix {

TTrayIcon::TTrayIcon(TrayShell& shell, TrayWindow& window, Prompts& prompts, QObject* parent)
    : QObject(parent),
      shell_(shell),
      window_(window),
      prompts_(prompts),
      icon_(QGuiApplication::windowIcon()) {
  // Until a hint is set, the tip is the program's name.
  tip_ = QGuiApplication::applicationDisplayName().left(kTipLength);
  shell_.onMouse = [this](TrayMouse m) { TrayMessage(m); };
  shell_.onAvailabilityChanged = [this](bool available) { ShellAvailabilityChanged(available); };
  window_.onMinimize = [this] { AppMinimize(); };
  window_.onRestore = [this] { AppRestore(); };
  appMinimized_ = window_.isMinimized();
}

TTrayIcon::~TTrayIcon() {
  if (active_) RemoveIcon();
  shell_.onMouse = nullptr;
  shell_.onAvailabilityChanged = nullptr;
  window_.onMinimize = nullptr;
  window_.onRestore = nullptr;
}

bool TTrayIcon::AddIcon() {
  if (!active_ || !shellAvailable() || !iconHidden_) return true;
  if (!shell_.addIcon(icon_, tip_)) {
    // The icon stays hidden, so the next attempt tries again.
    prompts_.message(MsgType::Error, Buttons::Ok,
                     QStringLiteral("Cannot create shell notification icon"));
    return false;
  }
  iconHidden_ = false;
  return true;
}

void TTrayIcon::RemoveIcon() {
  if (shellAvailable() || !iconHidden_) shell_.removeIcon();
  iconHidden_ = true;
}

void TTrayIcon::UpdateIcon() {
  if (active_ && shellAvailable()) shell_.modifyIcon(icon_, tip_);
}

void TTrayIcon::ShellAvailabilityChanged(bool available) {
  if (!available)
    iconHidden_ = true;
  else if (active_ && (appMinimized_ || separateIcon_))
    AddIcon();
  emit availabilityChanged(available);
}

void TTrayIcon::setActive(bool on) {
  active_ = on;
  if (active_ && (appMinimized_ || separateIcon_))
    AddIcon();
  else
    RemoveIcon();
}

void TTrayIcon::setSeparateIcon(bool on) {
  separateIcon_ = on;
  if (on && active_)
    AddIcon();
  else if (!on && active_ && !appMinimized_)
    RemoveIcon();
}

void TTrayIcon::setHint(const QString& hint) {
  if (hint == hint_) return;
  hint_ = hint;
  tip_ = hint.left(kTipLength);
  UpdateIcon();
}

void TTrayIcon::setIcon(const QIcon& icon) {
  if (icon.cacheKey() == icon_.cacheKey()) return;
  icon_ = icon;
  UpdateIcon();
}

void TTrayIcon::AppMinimize() {
  if (active_ && shellAvailable()) {
    // Hide only behind an icon that is really there: without one the user
    // would have no way back to the window, so it stays on the task bar.
    if (iconHidden_) AddIcon();
    if (!iconHidden_) window_.hide();
  }
  appMinimized_ = true;
  emit OnMinimize();
}

void TTrayIcon::AppRestore() {
  // Restoring the window below reports itself again.
  if (restoring_) return;
  restoring_ = true;
  if (active_) {
    window_.restore();
    if (!separateIcon_) RemoveIcon();
  }
  restoring_ = false;
  emit OnRestore();
  appMinimized_ = false;
}

void TTrayIcon::ShowApplication() {
  if (appMinimized_) {
    restoring_ = true;
    window_.restore();
    restoring_ = false;
    AppRestore();
  }
  window_.bringToFront();
}

void TTrayIcon::TrayMessage(TrayMouse event) {
  switch (event) {
    case TrayMouse::LeftUp:
      emit OnClick();
      break;
    case TrayMouse::LeftDoubleClick:
      emit OnDblClick();
      break;
    case TrayMouse::RightUp:
      RightClickHandler();
      break;
    case TrayMouse::Other:
      break;
  }
}

void TTrayIcon::RightClickHandler() {
  const QPoint at = shell_.cursorPos();
  if (popupMenu_ && (!window_.isVisible() || separateIcon_)) shell_.popupMenu(popupMenu_, at);
  emit OnRightClick(Qt::RightButton, Qt::NoModifier, at.x(), at.y());
}

}  // namespace vorlix
