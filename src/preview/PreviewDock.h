#pragma once
// Docks the preview pane into the main window's bottom panel `Panel10` and
// floats it as a window of its own. Dragging the pane's address bar (its
// label or the bar around it) tears it off, or, while it floats, moves it;
// releasing over the bottom of the main window docks it again. The floating
// window's close box docks it back. The pane is never closed while the
// program runs.
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QSize>

class QWidget;

namespace vorlix {

class TFBrowser;

class PreviewDock : public QObject {
  Q_OBJECT
 public:
  static constexpr int kDockedHeight = 100;
  static constexpr int kDropStrip = 80;  // bottom of the window that docks
  static QSize firstFloatSize() { return {511, 347}; }

  // Docks `pane` into `panel10` at once.
  PreviewDock(TFBrowser& pane, QWidget& panel10, QObject* parent = nullptr);
  ~PreviewDock() override;

  bool floating() const;
  // Tears the pane off into its own window with its top-left at `global`.
  void floatAt(const QPoint& global);
  // Puts a floating pane back into the panel.
  void dock();
  // After every dock or undock: the panel is 100 px high with the pane in
  // it, 0 while it floats; the pane loads its address again.
  void FormEndDock();
  // The floating window's close box: dock back instead of closing.
  void FormCloseQuery();
  // Whether a drag released at `global` docks the pane.
  bool overDockSite(const QPoint& global) const;
  // The program ends: a floating pane goes away with the main window.
  void shutDown();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void dockSilently();
  bool handleDrag(QEvent* event);

  QPointer<TFBrowser> pane_;
  // The pane's drag handles, compared by address only: their events still
  // come while the pane is being destroyed, when it must not be touched.
  const QObject* paneObject_;
  const QObject* addressBar_;
  const QObject* labelAddress_;
  QWidget& panel_;
  QSize floatSize_;
  QPoint pressGlobal_;
  QPoint grabOffset_;  // from the pane's top-left to the press
  bool pressed_ = false;
  bool dragging_ = false;
};

}  // namespace vorlix
