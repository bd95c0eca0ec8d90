#include "components/AboutBox.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "components/ImageList.h"

namespace vorlix {

namespace {

constexpr const char* kBuildVersion = "0.1.0";

QLabel* plainLabel(const QString& text, QWidget* parent) {
  auto* l = new QLabel(parent);
  l->setTextFormat(Qt::PlainText);
  l->setText(text);
  // Clicks on the texts go on to the box, which closes on them.
  l->setAttribute(Qt::WA_TransparentForMouseEvents);
  return l;
}

}  // namespace

TFAbout::TFAbout(QWidget* parent) : QDialog(parent), opener_(&QDesktopServices::openUrl) {
  setWindowTitle(QStringLiteral("About Vorlix"));
  setModal(true);
  setWindowIcon(ImageList::programIcon());

  auto* icon = new QLabel(this);
  icon->setPixmap(ImageList::programIcon().pixmap(QSize(48, 48), devicePixelRatioF()));
  icon->setAttribute(Qt::WA_TransparentForMouseEvents);
  icon->setAlignment(Qt::AlignTop);

  QLabel* name = plainLabel(QStringLiteral("Vorlix"), this);
  QFont big = name->font();
  big.setPointSizeF(big.pointSizeF() * 1.8);
  big.setBold(true);
  name->setFont(big);
  QLabel* version = plainLabel(QStringLiteral("Version ") + versionText(), this);
  QLabel* subtitle = plainLabel(QString::fromLatin1(kSubtitle), this);
  QFont italic = subtitle->font();
  italic.setItalic(true);
  subtitle->setFont(italic);
  QLabel* contact = plainLabel(QStringLiteral("Questions, ideas, praise:"), this);

  mail_ = new QPushButton(QString::fromLatin1(kContactAddress), this);
  mail_->setIcon(ImageList::commandIcon(QStringLiteral("mail")));
  mail_->setAutoDefault(false);
  mail_->setCursor(Qt::PointingHandCursor);
  mail_->setToolTip(QStringLiteral("Write a mail to the maker"));
  connect(mail_, &QPushButton::clicked, this, &TFAbout::mailClicked);

  auto* text = new QVBoxLayout;
  text->setSpacing(4);
  text->addWidget(name);
  text->addWidget(version);
  text->addWidget(subtitle);
  text->addSpacing(12);
  auto* contactRow = new QHBoxLayout;
  contactRow->addWidget(contact);
  contactRow->addWidget(mail_);
  contactRow->addStretch();
  text->addLayout(contactRow);

  auto* top = new QHBoxLayout(this);
  top->setContentsMargins(20, 18, 24, 18);
  top->setSpacing(16);
  top->addWidget(icon);
  top->addLayout(text);
  layout()->setSizeConstraint(QLayout::SetFixedSize);
}

QString TFAbout::versionText() {
  const QString v = QCoreApplication::applicationVersion();
  return v.isEmpty() ? QString::fromLatin1(kBuildVersion) : v;
}

QUrl TFAbout::contactUrl() {
  return QUrl(QStringLiteral("mailto:") + QString::fromLatin1(kContactAddress));
}

void TFAbout::mailClicked() {
  if (opener_) opener_(contactUrl());
}

void TFAbout::mousePressEvent(QMouseEvent* event) {
  QDialog::mousePressEvent(event);
  accept();
}

void TFAbout::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace vorlix
