#include "health/widgets/DuplicateHint.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>

#include "health/KnownUrls.h"

namespace vorlix {
namespace {

class HintLabel : public QLabel {
 public:
  HintLabel(QLineEdit& field, KnownUrls& known, std::function<bool()> active)
      : QLabel(field.parentWidget()), field_(field), known_(known), active_(std::move(active)) {
    setObjectName(QStringLiteral("DuplicateHint"));
    setTextFormat(Qt::PlainText);  // folder names are never markup
    setAccessibleName(QStringLiteral("Duplicate hint"));
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    hide();
    field.installEventFilter(this);
    connect(&field, &QLineEdit::textChanged, this, &HintLabel::update);
    connect(&field, &QObject::destroyed, this, &QObject::deleteLater);
  }

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Move || e->type() == QEvent::Resize) place();
    if (e->type() == QEvent::Show) update(field_.text());
    return false;
  }

 private:
  void place() {
    const QRect f = field_.geometry();
    const int h = fontMetrics().height();
    setGeometry(f.x() + f.width() / 4, f.y() - h - 2, f.width() - f.width() / 4, h);
  }
  void update(const QString& url) {
    const QString hint = active_() ? known_.hintFor(url) : QString();
    setText(hint);
    setAccessibleDescription(hint);
    setToolTip(hint);
    place();
    setVisible(!hint.isEmpty());
    raise();
  }

  QLineEdit& field_;
  KnownUrls& known_;
  std::function<bool()> active_;
};

}  // namespace

void attachDuplicateHint(QLineEdit& urlField, KnownUrls& known, std::function<bool()> active) {
  new HintLabel(urlField, known, std::move(active));
}

}  // namespace vorlix
