#pragma once
// Hands a link's URL to the user's browser: in a new window through the
// browser's own program, or to whatever the desktop opens URLs with.
// Nothing here waits for the browser or reports anything to the user.
#include <QString>

namespace vorlix {

// The desktop's opener for a URL (xdg-open, QDesktopServices). Tests
// supply their own.
class UrlOpener {
 public:
  virtual ~UrlOpener() = default;
  // False when no program could be started for it. A URL that is no
  // argument (IsUrlArgument) is never handed on, only refused.
  virtual bool openUrl(const QString& url) = 0;
};

// Runs `xdg-open URL` detached, the URL as one argument exactly as given;
// where that cannot start, asks QDesktopServices.
class DesktopUrlOpener : public UrlOpener {
 public:
  bool openUrl(const QString& url) override;
};

// Whether `url` may be handed to another program as an argument at all: an
// empty text is no address, and one beginning with '-' would be read as an
// option.
bool IsUrlArgument(const QString& url);

class BrowserLauncher {
 public:
  explicit BrowserLauncher(UrlOpener& opener) : opener_(opener) {}

  // The default browser, read afresh, gets "--new-window URL" when it is of
  // the Mozilla or the Chromium family; otherwise, or when its program does
  // not start, the desktop's opener gets the URL.
  void OpenUrlInNewWindow(const QString& url);
  // The desktop's opener gets the URL; the browser decides where it goes.
  void OpenInActiveWindow(const QString& url);

 private:
  UrlOpener& opener_;
};

}  // namespace vorlix
