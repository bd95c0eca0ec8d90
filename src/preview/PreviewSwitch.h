#pragma once
// The preview pane's switch: View > Preview (`Urlpreview1`, whose checked
// state is the switch) and the path bar's `ToolButton3` show or hide the
// bottom panel `Panel10` and its splitter bar `Splitter2`.
#include <QObject>

class QAction;
class QToolButton;
class QWidget;

namespace vorlix {

class PreviewSwitch : public QObject {
  Q_OBJECT
 public:
  struct Controls {
    QAction* Urlpreview1;
    QToolButton* ToolButton3;
    QWidget* Panel10;
    QWidget* Splitter2;
    QWidget* ListLinks;  // the panel takes half its height when shown
  };
  // A panel shown at start takes half the list's height once the list is
  // first laid out, so the page has room from the start.
  explicit PreviewSwitch(const Controls& controls, QObject* parent = nullptr);

  // Inverts the switch, then follows it (FollowToggle).
  void ToolButton3Click();
  // After the switch was inverted (View > Preview, or the button, which
  // triggers that item): the panel and the splitter follow it, and a shown
  // panel takes half the list's height.
  void FollowToggle();
  // The panel follows the switch as the Options dialog sets it; the
  // splitter is shown with the panel but never hidden here, and the panel
  // keeps its height.
  void ApplyPreviewVisibility();
  // The panel keeps the height it has now (the one it had when the program
  // last closed) instead of taking half the list's at the first showing.
  void keepPanelHeight() { sized_ = true; }
  // Whether links opened from the list go to the pane.
  bool paneShown() const;

  // Half of `listHeight`, rounded to the nearest integer, halves to even.
  static int halfHeight(int listHeight);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void setButtonImage(bool shown);

  Controls c_;
  bool sized_ = false;  // the panel has had its height from the list
};

}  // namespace vorlix
