#include "browser/ActiveWindow.h"

#include <QByteArray>
#include <QList>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "browser/BrowserKind.h"

#ifdef VORLIX_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace vorlix {

namespace {

// What browsers append to the page title, longest first so that
// "Mozilla Firefox Private Browsing" is cut whole.
const char* const kSuffixNames[] = {"Mozilla Firefox Private Browsing",
                                    "Mozilla Firefox",
                                    "Firefox Developer Edition",
                                    "Firefox Nightly",
                                    "Firefox",
                                    "LibreWolf",
                                    "Waterfox",
                                    "Iceweasel",
                                    "SeaMonkey",
                                    "Google Chrome",
                                    "Chromium",
                                    "Brave",
                                    "Vivaldi",
                                    "Microsoft Edge",
                                    "Microsoft\u200b Edge",
                                    "Opera"};

// Windows looked at for a browser's, from the top of the stacking order.
constexpr size_t kMaxWindowsLooked = 64;

#ifdef VORLIX_HAVE_XCB
struct XcbFree {
  void operator()(void* p) const { std::free(p); }
};
template <class T>
using XcbReply = std::unique_ptr<T, XcbFree>;

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
  XcbReply<xcb_intern_atom_reply_t> r(
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, uint16_t(std::strlen(name)), name), nullptr));
  return r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// A property's bytes; at most 4 KiB of them, more than any title needs.
QByteArray property(xcb_connection_t* c, xcb_window_t w, xcb_atom_t prop, xcb_atom_t type) {
  if (prop == XCB_ATOM_NONE) return {};
  XcbReply<xcb_get_property_reply_t> r(
      xcb_get_property_reply(c, xcb_get_property(c, 0, w, prop, type, 0, 1024), nullptr));
  if (!r || r->type == XCB_ATOM_NONE) return {};
  const int len = xcb_get_property_value_length(r.get());
  if (len <= 0) return {};
  return QByteArray(static_cast<const char*>(xcb_get_property_value(r.get())), len);
}
#endif

}  // namespace

std::optional<ActiveWindowInfo> QueryBrowserWindow() {
#ifdef VORLIX_HAVE_XCB
  if (qEnvironmentVariableIsEmpty("DISPLAY")) return {};
  int screenNo = 0;
  std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)> conn(
      xcb_connect(nullptr, &screenNo), xcb_disconnect);
  xcb_connection_t* c = conn.get();
  if (!c || xcb_connection_has_error(c)) return {};
  xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
  for (int i = 0; i < screenNo && it.rem > 0; ++i) xcb_screen_next(&it);
  if (it.rem <= 0 || !it.data) return {};
  const xcb_window_t root = it.data->root;
  const xcb_atom_t netName = atom(c, "_NET_WM_NAME");
  const xcb_atom_t utf8 = atom(c, "UTF8_STRING");
  auto describe = [&](xcb_window_t w) {
    ActiveWindowInfo info;
    const QByteArray name = property(c, w, netName, utf8);
    info.title = !name.isEmpty()
                     ? QString::fromUtf8(name)
                     : QString::fromLatin1(property(c, w, XCB_ATOM_WM_NAME, XCB_ATOM_STRING));
    // WM_CLASS is "instance\0class\0".
    const QList<QByteArray> cls = property(c, w, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING).split('\0');
    if (cls.size() >= 2) info.windowClass = QString::fromLatin1(cls[1]);
    return info;
  };
  auto windows = [&](const char* name) {
    const QByteArray raw = property(c, root, atom(c, name), XCB_ATOM_WINDOW);
    std::vector<xcb_window_t> out(size_t(raw.size()) / sizeof(xcb_window_t));
    if (!out.empty()) std::memcpy(out.data(), raw.constData(), out.size() * sizeof(xcb_window_t));
    return out;
  };
  // The active window is usually our own dialog, whose capture button was
  // just pressed; then the browser window nearest the top is the one the
  // user looked at last.
  std::vector<xcb_window_t> candidates = windows("_NET_ACTIVE_WINDOW");
  const std::vector<xcb_window_t> stacking = windows("_NET_CLIENT_LIST_STACKING");
  for (size_t i = stacking.size(); i > 0 && candidates.size() <= kMaxWindowsLooked; --i)
    candidates.push_back(stacking[i - 1]);
  for (xcb_window_t w : candidates) {
    if (w == XCB_WINDOW_NONE) continue;
    ActiveWindowInfo info = describe(w);
    if (!BrowserPageTitle(info).isNull()) return info;
  }
  return {};
#else
  return {};
#endif
}

namespace {

struct BrowserTitle {
  BrowserFamily family = BrowserFamily::None;
  QString page;  // null when the window is no browser's
};

BrowserTitle browserTitle(const ActiveWindowInfo& window) {
  const BrowserFamily byClass = BrowserFamilyOf(window.windowClass);
  for (const char* name : kSuffixNames) {
    const QString browser = QString::fromUtf8(name);
    for (const QString& dash : {QStringLiteral(" \u2014 "), QStringLiteral(" - ")}) {
      if (window.title.endsWith(dash + browser)) {
        const BrowserFamily family =
            byClass != BrowserFamily::None ? byClass : BrowserFamilyOf(browser);
        return {family, window.title.chopped(dash.size() + browser.size())};
      }
    }
    // A browser window without a page title shows the browser's name alone.
    if (byClass != BrowserFamily::None && window.title == browser)
      return {byClass, QString(QLatin1String(""))};
  }
  if (byClass != BrowserFamily::None) return {byClass, window.title};
  return {};
}

}  // namespace

QString BrowserPageTitle(const ActiveWindowInfo& window) { return browserTitle(window).page; }

bool IsMozillaWindow(const ActiveWindowInfo& window) {
  return browserTitle(window).family == BrowserFamily::Mozilla;
}

}  // namespace vorlix
