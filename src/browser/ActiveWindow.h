#pragma once
// The browser window the user looked at last, as the window manager tells
// it (EWMH on X11), and the page title a browser window shows.
#include <QString>
#include <optional>

namespace vorlix {

struct ActiveWindowInfo {
  QString title;        // _NET_WM_NAME, else WM_NAME
  QString windowClass;  // the class part of WM_CLASS ("firefox", "Chromium")
};

// The active window (_NET_ACTIVE_WINDOW) when it is a browser's, else the
// browser window nearest the top of _NET_CLIENT_LIST_STACKING. Nothing
// without an X display or without a browser window. Opens a connection of
// its own, so it may run on any thread.
std::optional<ActiveWindowInfo> QueryBrowserWindow();

// For a browser window, the page title without the browser's suffix
// (" — Mozilla Firefox", " - Chromium", ...); null for any other window. The
// window counts as a browser's when its class or its title's suffix names one.
QString BrowserPageTitle(const ActiveWindowInfo& window);

// Whether the window belongs to a browser of the Mozilla family, whose
// session store then speaks for it.
bool IsMozillaWindow(const ActiveWindowInfo& window);

}  // namespace vorlix
