#include "preview/PreviewSwitch.h"

#include <QAction>
#include <QActionGroup>
#include <QEvent>
#include <QToolButton>
#include <QWidget>

#include "components/ImageList.h"

namespace vorlix {

PreviewSwitch::PreviewSwitch(const Controls& controls, QObject* parent)
    : QObject(parent), c_(controls) {
  setObjectName(QStringLiteral("PreviewSwitch"));
  // A radio-style item alone in its group that can still be switched off.
  auto* group = new QActionGroup(this);
  group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  c_.Urlpreview1->setCheckable(true);
  group->addAction(c_.Urlpreview1);
  c_.ListLinks->installEventFilter(this);
}

bool PreviewSwitch::eventFilter(QObject* watched, QEvent* event) {
  // Once the list is first shown and laid out, a docked, shown panel takes
  // half its height; a floating pane keeps the panel collapsed.
  if (watched == c_.ListLinks && event->type() == QEvent::Show && !sized_)
    QMetaObject::invokeMethod(
        this,
        [this] {
          if (sized_ || c_.ListLinks->height() <= 0) return;
          sized_ = true;
          if (!c_.Panel10->isHidden() && c_.Panel10->maximumHeight() > 0)
            c_.Panel10->setFixedHeight(halfHeight(c_.ListLinks->height()));
        },
        Qt::QueuedConnection);
  return QObject::eventFilter(watched, event);
}

int PreviewSwitch::halfHeight(int listHeight) {
  const int half = listHeight / 2;
  if (listHeight % 2 == 0) return half;
  return half % 2 == 0 ? half : half + 1;  // x.5: the even neighbour
}

bool PreviewSwitch::paneShown() const { return !c_.Panel10->isHidden(); }

void PreviewSwitch::setButtonImage(bool shown) {
  static const ImageList images = ImageList::paneToggleImages();
  const int index = shown ? imgPreviewShown : imgPreviewHidden;
  c_.ToolButton3->setIcon(images.icon(index));
  c_.ToolButton3->setProperty("imageIndex", index);
}

void PreviewSwitch::ToolButton3Click() {
  c_.Urlpreview1->setChecked(!c_.Urlpreview1->isChecked());
  FollowToggle();
}

void PreviewSwitch::FollowToggle() {
  const bool shown = c_.Urlpreview1->isChecked();
  // Measured before the panel takes its room.
  const int listHeight = c_.ListLinks->height();
  sized_ = true;
  c_.Panel10->setVisible(shown);
  setButtonImage(shown);
  c_.Splitter2->setVisible(shown);
  c_.Panel10->setFixedHeight(halfHeight(listHeight));
}

void PreviewSwitch::ApplyPreviewVisibility() {
  const bool shown = c_.Urlpreview1->isChecked();
  c_.Panel10->setVisible(shown);
  setButtonImage(shown);
  if (shown) c_.Splitter2->setVisible(true);
}

}  // namespace vorlix
