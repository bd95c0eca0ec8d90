#include "browser/BrowserActions.h"

#include "browser/CaptureReply.h"

namespace vorlix {

BrowserActions::BrowserActions(std::unique_ptr<UrlOpener> opener, PageCapture capture,
                               QObject* parent)
    : QObject(parent),
      opener_(std::move(opener)),
      launcher_(*opener_),
      capture_(std::move(capture)) {}

BrowserActions::~BrowserActions() = default;

QStringList BrowserActions::captureFields() {
  // Every capture reads the same places; the name is the one the dialog's
  // buttons have always asked for.
  return SplitCaptureReply(capture_.GetBrowserWindowInfo(QStringLiteral("IExplore")));
}

void BrowserActions::browseInNewWindow(const QString& url) { launcher_.OpenUrlInNewWindow(url); }

void BrowserActions::browseInActiveWindow(const QString& url) { launcher_.OpenInActiveWindow(url); }

}  // namespace vorlix
