#include "browser/BrowserActions.h"

#include "browser/CaptureReply.h"

namespace vorlix {

BrowserActions::BrowserActions(DesktopServices& desktop, PageCapture capture, QObject* parent)
    : QObject(parent), launcher_(desktop), capture_(std::move(capture)) {}

BrowserActions::~BrowserActions() = default;

QStringList BrowserActions::captureFields() {
  // Every capture reads the same places; the name is the one the dialog's
  // buttons have always asked for.
  return SplitCaptureReply(capture_.GetBrowserWindowInfo(QStringLiteral("IExplore")));
}

void BrowserActions::browseInNewWindow(const QString& url) {
  if (!launcher_.OpenUrlInNewWindow(url)) emit linkNotOpened(url);
}

void BrowserActions::browseInActiveWindow(const QString& url) {
  if (!launcher_.OpenInActiveWindow(url)) emit linkNotOpened(url);
}

}  // namespace vorlix
