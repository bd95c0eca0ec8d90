#pragma once
// TTrayIcon: the program's icon in the desktop's notification area, and the
// minimise-to-tray behaviour. While Active, the icon is there exactly when
// SeparateIcon is set or the program is minimised, and minimising hides the
// window (and its task bar entry) behind the icon. The notification area and
// the window are reached through two small interfaces, so the rules run the
// same against QSystemTrayIcon and against a test's fakes.
#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <functional>

namespace vorlix {

class Prompts;

// Mouse events on the icon, in the order the desktop reports them.
enum class TrayMouse { LeftUp, LeftDoubleClick, RightUp, Other };

// The notification area.
class TrayShell {
 public:
  virtual ~TrayShell() = default;
  // False on a desktop without a notification area; the shell is then left alone.
  virtual bool isAvailable() const = 0;
  // False when the shell refuses the icon.
  virtual bool addIcon(const QIcon& icon, const QString& tip) = 0;
  virtual void removeIcon() = 0;
  // Harmless while the icon is not shown.
  virtual void modifyIcon(const QIcon& icon, const QString& tip) = 0;
  virtual void popupMenu(QMenu* menu, const QPoint& at) = 0;
  virtual QPoint cursorPos() const = 0;
  // The shell reports clicks on the icon here.
  std::function<void(TrayMouse)> onMouse;
  // And here a notification area that appeared or went away after start.
  std::function<void(bool available)> onAvailabilityChanged;
};

// The program's main window as the tray sees it.
class TrayWindow {
 public:
  virtual ~TrayWindow() = default;
  virtual bool isMinimized() const = 0;
  virtual bool isVisible() const = 0;
  virtual void hide() = 0;
  // Shown again and no longer minimised, in the state it had before.
  virtual void restore() = 0;
  virtual void bringToFront() = 0;
  // The window reports its own minimising and restoring here.
  std::function<void()> onMinimize;
  std::function<void()> onRestore;
};

class TTrayIcon : public QObject {
  Q_OBJECT
 public:
  static constexpr int kTipLength = 63;

  // Failures are reported through `prompts` as error boxes.
  TTrayIcon(TrayShell& shell, TrayWindow& window, Prompts& prompts, QObject* parent = nullptr);
  ~TTrayIcon() override;

  // --- properties ---
  bool Active() const { return active_; }
  void setActive(bool on);
  QString Hint() const { return hint_; }
  void setHint(const QString& hint);
  QIcon Icon() const { return icon_; }
  void setIcon(const QIcon& icon);
  QMenu* PopupMenu() const { return popupMenu_; }
  void setPopupMenu(QMenu* menu) { popupMenu_ = menu; }
  bool SeparateIcon() const { return separateIcon_; }
  void setSeparateIcon(bool on);

  // --- state ---
  bool AppMinimized() const { return appMinimized_; }
  bool IconHidden() const { return iconHidden_; }
  // The icon's tool tip: at most the first 63 characters, empty for none.
  QString tip() const { return tip_; }

  // --- hooks: the window's minimising and restoring, the icon's mouse ---
  void AppMinimize();
  void AppRestore();
  void TrayMessage(TrayMouse event);
  // Restores the program if it is minimised, then brings it to the front:
  // what a click on the icon and the tray menu's Restore do.
  void ShowApplication();

 signals:
  void OnClick();
  void OnDblClick();
  void OnRightClick(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
  void OnMinimize();
  void OnRestore();
  // The notification area appeared (true) or went away after start.
  void availabilityChanged(bool available);

 private:
  bool AddIcon();
  void RemoveIcon();
  void UpdateIcon();
  void RightClickHandler();
  // A notification area that appears gets the icon the rules ask for; one
  // that goes away takes the icon with it.
  void ShellAvailabilityChanged(bool available);
  bool shellAvailable() const { return shell_.isAvailable(); }

  TrayShell& shell_;
  TrayWindow& window_;
  Prompts& prompts_;
  bool active_ = false;
  QString hint_;
  QIcon icon_;
  QPointer<QMenu> popupMenu_;
  bool separateIcon_ = false;
  QString tip_;
  bool iconHidden_ = true;
  bool appMinimized_ = false;
  bool restoring_ = false;
};

}  // namespace vorlix
