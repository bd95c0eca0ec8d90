#pragma once
// The tray icon's two sides on a real desktop: the notification area as a
// QSystemTrayIcon, and a top-level widget as the window it hides and restores.
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>

#include "components/TrayIcon.h"

class QWidget;

namespace vorlix {

class QtTrayShell : public QObject, public TrayShell {
  Q_OBJECT
 public:
  explicit QtTrayShell(QObject* parent = nullptr);

  bool isAvailable() const override;
  bool addIcon(const QIcon& icon, const QString& tip) override;
  void removeIcon() override;
  void modifyIcon(const QIcon& icon, const QString& tip) override;
  void popupMenu(QMenu* menu, const QPoint& at) override;
  QPoint cursorPos() const override;

  // How the desktop's activation reasons map to the icon's mouse events.
  static TrayMouse mouseFor(QSystemTrayIcon::ActivationReason reason);
  // How often a notification area that appears or goes away is noticed.
  static constexpr int kWatchMsecs = 2000;

 private:
  QSystemTrayIcon icon_;
  // Qt reports no change of the area's presence; it is looked at instead.
  QTimer watch_;
  bool available_ = false;
};

// Watches `window` for minimising and restoring.
class WidgetTrayWindow : public QObject, public TrayWindow {
  Q_OBJECT
 public:
  explicit WidgetTrayWindow(QWidget* window, QObject* parent = nullptr);

  bool isMinimized() const override;
  bool isVisible() const override;
  void hide() override;
  void restore() override;
  void bringToFront() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPointer<QWidget> window_;
};

}  // namespace vorlix
