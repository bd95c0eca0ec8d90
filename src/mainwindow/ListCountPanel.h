#pragma once
// The status bar's second panel: how many rows the list shows (folders and
// links, not ".."), or how many hits while it shows a find's results.
#include <QLabel>

class QLineEdit;

namespace vorlix {

class LinkListModel;

class ListCountPanel : public QLabel {
  Q_OBJECT
 public:
  // Must be made after the window has connected its own find handler to
  // `find`: a find rebuilds the list before this panel hears of the text.
  ListCountPanel(const LinkListModel& model, const QLineEdit& find, QWidget* parent = nullptr);

  // "1 item", "12 items"; "1 hit", "12 hits".
  static QString countText(int rows, bool hits);
  bool showsHits() const { return hits_; }

 private:
  void refresh();

  const LinkListModel& model_;
  bool hits_ = false;
};

}  // namespace vorlix
