#include "browser/BrowserLauncher.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

#include "browser/BrowserKind.h"
#include "browser/DefaultBrowser.h"
#include "browser/ExecLine.h"

namespace vorlix {

bool DesktopUrlOpener::openUrl(const QString& url) {
  if (!IsUrlArgument(url)) return false;
  if (QProcess::startDetached(QStringLiteral("xdg-open"), {url})) return true;
  return QDesktopServices::openUrl(QUrl::fromUserInput(url));
}

bool IsUrlArgument(const QString& url) {
  return !url.isEmpty() && !url.startsWith(QLatin1Char('-'));
}

void BrowserLauncher::OpenUrlInNewWindow(const QString& url) {
  // The opener refuses what is no argument, and says so where it can.
  if (!IsUrlArgument(url)) {
    opener_.openUrl(url);
    return;
  }
  if (const auto entry = FindDefaultBrowser()) {
    if (BrowserFamilyOf(TrimOpenCommand(entry->exec)) != BrowserFamily::None) {
      QStringList args = NewWindowCommand(entry->exec, url);
      if (!args.isEmpty()) {
        const QString program = args.takeFirst();
        // A running browser takes the URL over and raises the new window.
        if (QProcess::startDetached(program, args)) return;
      }
    }
  }
  opener_.openUrl(url);
}

void BrowserLauncher::OpenInActiveWindow(const QString& url) { opener_.openUrl(url); }

}  // namespace vorlix
