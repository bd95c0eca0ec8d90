#pragma once
// TXeStatusBar: a status bar of fixed-width panels that show no text of their
// own, over which the owner lays child controls (the main window's progress
// bar sits over the first panel and follows its size).
#include <QList>
#include <QPointer>
#include <QStatusBar>
#include <QTimer>

class QLabel;

namespace vorlix {

class TXeStatusBar : public QStatusBar {
  Q_OBJECT
 public:
  explicit TXeStatusBar(QWidget* parent = nullptr);

  // Widths in pixels, left to right; the last panel also takes the room
  // that is left at the right end.
  void setPanelWidths(const QList<int>& widths);
  QList<int> panelWidths() const { return widths_; }
  int panelCount() const { return int(widths_.size()); }
  // Where panel `index` lies now, in the bar's coordinates; empty when there
  // is no such panel.
  QRect panelRect(int index) const;
  // Makes `child` a child of the bar covering panel `index`, and keeps it
  // there as the bar resizes. A child placed again moves to the new panel.
  void placeOverPanel(QWidget* child, int index);
  // A notice (the outcome of an import, say) gets panel `index` to itself,
  // so it never covers another panel's control, and clears itself
  // `msecs` after it was shown; a new notice replaces the one showing.
  static constexpr int kNoticeMsecs = 15000;
  void setNoticePanel(int index);
  void showNotice(const QString& text, int msecs = kNoticeMsecs);
  QString notice() const;
  // showMessage() shows one line of text across the whole bar: the panels
  // and their children step aside until it is cleared or times out.

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  struct Placed {
    QPointer<QWidget> widget;
    int panel;
  };
  void layoutChildren();
  void messageShown(const QString& text);

  QList<int> widths_;
  QList<Placed> placed_;
  QLabel* notice_ = nullptr;
  QTimer noticeTimer_;
};

}  // namespace vorlix
