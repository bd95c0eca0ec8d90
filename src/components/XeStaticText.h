#pragma once
// TXeStaticText: a one-line label that shows plain text only and holds child
// controls at its left or right end (the folder-pane and path headers carry a
// small tool bar with one button). The text keeps clear of the children.
#include <QLabel>
#include <QList>
#include <QPointer>

class QToolButton;

namespace vorlix {

class TXeStaticText : public QLabel {
  Q_OBJECT
 public:
  // The height of the program's pane headers.
  static constexpr int kHeaderHeight = 15;

  explicit TXeStaticText(QWidget* parent = nullptr);
  explicit TXeStaticText(const QString& text, QWidget* parent = nullptr);

  // Makes `child` a child of this label, full height, at the left or right
  // end (Qt::AlignLeft or Qt::AlignRight), `width` wide or its size hint's
  // width when `width` < 0. Attaching it again moves it.
  void attach(QWidget* child, Qt::AlignmentFlag side, int width = -1);
  // Forgets `child` (it stays a child until reparented); the text takes
  // its room back.
  void detach(QWidget* child);
  // A small tool bar holding one flat button, attached at `side`.
  QToolButton* addEndButton(const QIcon& icon, const QString& toolTip, Qt::AlignmentFlag side);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool event(QEvent* e) override;

 private:
  struct Attached {
    QPointer<QWidget> widget;
    Qt::AlignmentFlag side;
    int width;
  };
  void layoutChildren();

  QList<Attached> attached_;
};

}  // namespace vorlix
