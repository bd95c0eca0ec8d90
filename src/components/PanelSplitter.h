#pragma once
// TPanelSplitter: a thin bar above a bottom-aligned panel; dragging it
// changes the panel's height. Unlike a QSplitter handle, whether the bar
// shows is its own state, independent of the panel's.
#include <QWidget>

namespace vorlix {

class TPanelSplitter : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kThickness = 2;
  TPanelSplitter(QWidget* panelBelow, QWidget* parent);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QWidget* panel_;
  int pressY_ = 0;
  int pressHeight_ = -1;  // -1: no drag
};

}  // namespace vorlix
