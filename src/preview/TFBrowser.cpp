#include "preview/TFBrowser.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include "browser/DefaultBrowser.h"
#include "platform/Prompts.h"
#include "preview/PreviewAddress.h"
#include "preview/PreviewPage.h"

namespace vorlix {

TFBrowser::TFBrowser(Prompts& prompts, QWidget* parent) : QWidget(parent), prompts_(prompts) {
  setObjectName(QStringLiteral("FBrowser"));
  setWindowTitle(QString::fromLatin1(kBlankCaption));
  // A floating pane never keeps the program running on its own.
  setAttribute(Qt::WA_QuitOnClose, false);

  layout_ = new QVBoxLayout(this);
  layout_->setContentsMargins(0, 0, 0, 0);
  layout_->setSpacing(0);

  AddressBar = new QWidget(this);
  AddressBar->setObjectName(QStringLiteral("AddressBar"));
  AddressBar->setFixedHeight(kAddressBarHeight);
  auto* bar = new QHBoxLayout(AddressBar);
  bar->setContentsMargins(4, 2, 2, 2);
  bar->setSpacing(4);
  LabelAddress = new QLabel(QStringLiteral("Address"), AddressBar);
  LabelAddress->setObjectName(QStringLiteral("LabelAddress"));
  LabelAddress->setTextFormat(Qt::PlainText);
  LabelAddress->setAccessibleName(QStringLiteral("Address"));
  ComboAddress = new QComboBox(AddressBar);
  ComboAddress->setObjectName(QStringLiteral("ComboAddress"));
  ComboAddress->setEditable(true);
  // The history grows only by links opened from the list.
  ComboAddress->setInsertPolicy(QComboBox::NoInsert);
  ComboAddress->setDuplicatesEnabled(true);
  ComboAddress->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  ComboAddress->setMinimumContentsLength(10);
  ComboAddress->setAccessibleName(QStringLiteral("Address"));
  ComboAddress->installEventFilter(this);
  ComboAddress->lineEdit()->installEventFilter(this);
  BAddress = new QToolButton(AddressBar);
  BAddress->setObjectName(QStringLiteral("BAddress"));
  BAddress->setText(QStringLiteral("Go"));
  BAddress->setAccessibleName(QStringLiteral("Go"));
  BAddress->setAutoRaise(true);  // flat
  BAddress->setFixedSize(22, 21);
  BFloat = new QToolButton(AddressBar);
  BFloat->setObjectName(QStringLiteral("BFloat"));
  BFloat->setAutoRaise(true);
  BFloat->setFixedSize(22, 21);
  setFloatingLook(false);
  bar->addWidget(LabelAddress);
  bar->addWidget(ComboAddress, 1);
  bar->addWidget(BAddress);
  bar->addWidget(BFloat);
  connect(BAddress, &QToolButton::clicked, this, &TFBrowser::BAddressClick);
  connect(BFloat, &QToolButton::clicked, this, &TFBrowser::floatToggleRequested);
  layout_->addWidget(AddressBar);

  blank_ = new QWidget(this);
  blank_->setObjectName(QStringLiteral("WebBrowserPlace"));
  layout_->addWidget(blank_, 1);
}

TFBrowser::~TFBrowser() {
  // The engine wants its pages gone before their profile.
  delete WebBrowser;
  WebBrowser = nullptr;
  delete profile_;
}

void TFBrowser::startEngine() {
  if (WebBrowser) return;
  // No storage name: off the record, nothing of the pane's browsing is kept.
  profile_ = new QWebEngineProfile(this);
  QWebEngineSettings* s = profile_->settings();
  s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
  s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
  // Downloads: nothing answers the profile's downloadRequested, so the
  // engine cancels every download and no file is written.
  WebBrowser = new QWebEngineView(this);
  WebBrowser->setObjectName(QStringLiteral("WebBrowser"));
  WebBrowser->setAccessibleName(QStringLiteral("Page"));
  page_ = new PreviewPage(profile_, prompts_, WebBrowser);
  WebBrowser->setPage(page_);
  // Asked once the engine's call has returned, not inside it.
  connect(page_, &PreviewPage::externalLinkRequested, this, &TFBrowser::openOutside,
          Qt::QueuedConnection);
  connect(page_, &PreviewPage::dialogSuppressed, this,
          [this] { emit statusMessage(QStringLiteral("This page may not open more dialogs.")); });
  connect(WebBrowser, &QWebEngineView::loadFinished, this, &TFBrowser::WebBrowserDownloadComplete);
  connect(WebBrowser, &QWebEngineView::urlChanged, this, &TFBrowser::followPage);
  layout_->replaceWidget(blank_, WebBrowser);
  delete blank_;
  blank_ = nullptr;
}

bool TFBrowser::navigate(const QString& address) {
  // It would run inside the page being shown, with that page's rights.
  if (IsScriptAddress(address)) {
    emit statusMessage(QStringLiteral("javascript: links are not run in the preview pane."));
    return false;
  }
  const QUrl url(address);
  if (!url.isValid()) {
    prompts_.inform(MsgType::Error, url.errorString());
    return false;
  }
  if (!url.scheme().isEmpty() && !PaneShowsScheme(url.scheme())) {
    openOutside(url);
    return false;
  }
  startEngine();
  page_->allowOneDialog();
  WebBrowser->setUrl(url);
  return true;
}

void TFBrowser::openOutside(const QUrl& url) {
  const QString scheme = url.scheme();
  auto answer = schemeAnswers_.constFind(scheme);
  if (answer == schemeAnswers_.cend()) {
    QString program = SchemeHandlerName(scheme);
    if (program.isEmpty()) program = QStringLiteral("the desktop's default program");
    QString shown = url.toString();
    if (shown.size() > 200) shown = shown.left(200) + QStringLiteral("...");
    const bool yes = prompts_.message(MsgType::Confirmation, Buttons::YesNo,
                                      QStringLiteral("The preview pane does not show %1: links.\n"
                                                     "Open %2 with %3 ?")
                                          .arg(scheme, shown, program)) == Answer::Yes;
    answer = schemeAnswers_.insert(scheme, yes);
  }
  if (!*answer) {
    emit statusMessage(
        QStringLiteral("%1: links are not opened from the preview pane.").arg(scheme));
    return;
  }
  if (openExternal_) openExternal_(url.toString(QUrl::FullyEncoded));
}

void TFBrowser::showLink(const QString& url) {
  if (!navigate(url)) return;
  setWindowTitle(url);
  ComboAddress->addItem(url);
  ComboAddress->setCurrentIndex(ComboAddress->count() - 1);
  ComboAddress->setEditText(url);
}

void TFBrowser::BAddressClick() {
  const QString address = CompleteAddress(ComboAddress->currentText());
  ComboAddress->setEditText(address);
  if (!navigate(address)) return;
  setWindowTitle(address);
}

void TFBrowser::reloadAddress() {
  // An empty address loads nothing; it must not start the engine either.
  const QString address = ComboAddress->currentText();
  if (address.isEmpty()) return;
  navigate(address);
}

void TFBrowser::WebBrowserDownloadComplete(bool ok) {
  setWindowTitle(WebBrowser->title());
  emit pageLoaded(ok);
}

void TFBrowser::followPage(const QUrl& url) {
  QLineEdit* edit = ComboAddress->lineEdit();
  if (url.isEmpty() || (edit->hasFocus() && edit->isModified())) return;
  // The address as typed stays while it names the page ("HTTP://x").
  if (QUrl(ComboAddress->currentText()) == url) return;
  ComboAddress->setEditText(url.toString());
}

void TFBrowser::setFloatingLook(bool floating) {
  const QString hint = floating ? QStringLiteral("Dock the preview in the main window")
                                : QStringLiteral("Float the preview in a window of its own");
  BFloat->setIcon(style()->standardIcon(floating ? QStyle::SP_TitleBarMinButton
                                                 : QStyle::SP_TitleBarNormalButton));
  BFloat->setToolTip(hint);
  BFloat->setAccessibleName(hint);
}

bool TFBrowser::eventFilter(QObject* watched, QEvent* event) {
  // ComboAddressKeyPress: Enter goes; other keys are the combo's.
  if ((watched == ComboAddress || watched == ComboAddress->lineEdit()) &&
      event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      BAddressClick();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TFBrowser::closeEvent(QCloseEvent* event) {
  if (closeAllowed_) {
    event->accept();
    return;
  }
  event->ignore();
  emit closeRequested();
}

}  // namespace vorlix
