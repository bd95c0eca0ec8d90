#pragma once
// Hands a link's URL to the user's browser: in a new window through the
// browser's own program, or to whatever the desktop opens URLs with.
// Nothing here waits for the browser or reports anything to the user.
#include <QString>

#include "platform/Desktop.h"

namespace vorlix {

// The desktop's own opener for a URL: runs `xdg-open URL` detached, the URL
// as one argument exactly as given; where that cannot start, asks
// QDesktopServices. False when no program could be started for it; a URL
// that is no argument (IsUrlArgument) is never handed on, only refused.
bool OpenUrlOnDesktop(const QString& url);

// Whether `url` may be handed to another program as an argument at all: an
// empty text is no address, and one beginning with '-' would be read as an
// option.
bool IsUrlArgument(const QString& url);

class BrowserLauncher {
 public:
  explicit BrowserLauncher(DesktopServices& desktop) : desktop_(desktop) {}

  // The default browser, read afresh, gets "--new-window URL" when it is of
  // the Mozilla or the Chromium family; otherwise, or when its program does
  // not start, the desktop gets the URL. Both return false when nothing
  // took the URL: no program started, or a URL that is no argument, which
  // is refused before it reaches the desktop.
  bool OpenUrlInNewWindow(const QString& url);
  // The desktop gets the URL; the browser decides where it goes.
  bool OpenInActiveWindow(const QString& url);

 private:
  bool openOnDesktop(const QString& url);

  DesktopServices& desktop_;
};

}  // namespace vorlix
