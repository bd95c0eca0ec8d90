#include "preview/PreviewPage.h"

#include "platform/Prompts.h"
#include "preview/PreviewAddress.h"

namespace vorlix {
namespace {

// Who is asking: a page's text alone could pose as the program's own.
QString fromPage(const QUrl& origin, const QString& msg) {
  const QString who = origin.host().isEmpty() ? QStringLiteral("The page") : origin.host();
  return who + QStringLiteral(" says:\n\n") + msg;
}

}  // namespace

PreviewPage::PreviewPage(QWebEngineProfile* profile, Prompts& prompts, QObject* parent)
    : QWebEnginePage(profile, parent), prompts_(prompts) {}

bool PreviewPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
  if (url.scheme().isEmpty() || PaneShowsScheme(url.scheme()))
    return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
  emit externalLinkRequested(url);
  return false;
}

bool PreviewPage::takeDialog() {
  if (dialogShown_) {
    emit dialogSuppressed();
    return false;
  }
  dialogShown_ = true;
  return true;
}

void PreviewPage::javaScriptAlert(const QUrl& origin, const QString& msg) {
  if (takeDialog()) prompts_.message(MsgType::Information, Buttons::Ok, fromPage(origin, msg));
}

bool PreviewPage::javaScriptConfirm(const QUrl& origin, const QString& msg) {
  return takeDialog() && prompts_.message(MsgType::Confirmation, Buttons::YesNo,
                                          fromPage(origin, msg)) == Answer::Yes;
}

bool PreviewPage::javaScriptPrompt(const QUrl& origin, const QString& msg,
                                   const QString& defaultValue, QString* result) {
  if (!takeDialog()) return false;
  *result = prompts_.input(origin.host(), msg, defaultValue);
  return true;
}

}  // namespace vorlix
