#pragma once
// Whether a window shows every caption whole and keeps its controls apart,
// whatever font it is given.
#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLayoutItem>
#include <QStringList>
#include <QWidget>

namespace vorlix::test {

// The visible captioned controls of `top` that are smaller than their text
// needs, and the controls (of `top` itself or of one of its group boxes)
// that overlap another: one "name: why" line each.
inline QStringList layoutFaults(const QWidget* top) {
  QStringList faults;
  const auto name = [](const QWidget* w) {
    const QString text = w->property("text").toString();
    return w->objectName().isEmpty() ? text : w->objectName();
  };
  QList<QWidget*> all = top->findChildren<QWidget*>();
  for (const QWidget* w : all) {
    if (!w->isVisibleTo(top)) continue;
    const auto* label = qobject_cast<const QLabel*>(w);
    if (!qobject_cast<const QAbstractButton*>(w) && !label) continue;
    if (w->property("text").toString().isEmpty()) continue;
    // Measured as layouts measure: without the style's margins around
    // the visible control.
    QWidgetItem item(const_cast<QWidget*>(w));
    const QSize have = item.geometry().size();
    QSize need = item.sizeHint();
    if (label && label->wordWrap()) need = QSize(0, label->heightForWidth(w->width()));
    if (have.width() < need.width() || have.height() < need.height())
      faults << name(w) + QStringLiteral(": cut, %1x%2 of %3x%4")
                              .arg(have.width())
                              .arg(have.height())
                              .arg(need.width())
                              .arg(need.height());
  }
  for (int i = 0; i < all.size(); ++i) {
    const QWidget* a = all[i];
    const QWidget* parent = a->parentWidget();
    if (!a->isVisibleTo(top) || (parent != top && !qobject_cast<const QGroupBox*>(parent)))
      continue;
    for (int j = i + 1; j < all.size(); ++j) {
      const QWidget* b = all[j];
      if (b->parentWidget() == parent && b->isVisibleTo(top) &&
          a->geometry().intersects(b->geometry()))
        faults << name(a) + QStringLiteral(": overlaps ") + name(b);
    }
  }
  return faults;
}

}  // namespace vorlix::test
