#include "browser/BrowserLauncher.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

#include "browser/BrowserKind.h"
#include "browser/DefaultBrowser.h"
#include "browser/ExecLine.h"

namespace vorlix {

bool OpenUrlOnDesktop(const QString& url) {
  if (!IsUrlArgument(url)) return false;
  if (QProcess::startDetached(QStringLiteral("xdg-open"), {url})) return true;
  return QDesktopServices::openUrl(QUrl::fromUserInput(url));
}

bool IsUrlArgument(const QString& url) {
  return !url.isEmpty() && !url.startsWith(QLatin1Char('-'));
}

bool BrowserLauncher::openOnDesktop(const QString& url) {
  return IsUrlArgument(url) && desktop_.openUrl(url);
}

bool BrowserLauncher::OpenUrlInNewWindow(const QString& url) {
  if (!IsUrlArgument(url)) return false;
  if (const auto entry = FindDefaultBrowser()) {
    if (BrowserFamilyOf(TrimOpenCommand(entry->exec)) != BrowserFamily::None) {
      QStringList args = NewWindowCommand(entry->exec, url);
      if (!args.isEmpty()) {
        const QString program = args.takeFirst();
        // A running browser takes the URL over and raises the new window.
        if (QProcess::startDetached(program, args)) return true;
      }
    }
  }
  return openOnDesktop(url);
}

bool BrowserLauncher::OpenInActiveWindow(const QString& url) { return openOnDesktop(url); }

}  // namespace vorlix
