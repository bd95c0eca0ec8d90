#pragma once
// The capture: the URL and title of the page the user's browser shows, as
// the reply text the Add/Edit dialog splits (see CaptureReply.h).
#include <QString>
#include <chrono>
#include <functional>
#include <optional>

#include "browser/ActiveWindow.h"

namespace vorlix {

// The capture from what is at hand now, on the calling thread: Firefox's
// most recent session store below `home`, with the active window's title
// (when it is a browser window) picking the tab; a Mozilla window's title
// that matches no tab gives the store's selected tab, another browser's
// title gives a reply with that title alone. Empty when nothing is found.
QString CaptureReplyNow(const QString& home, const std::optional<ActiveWindowInfo>& active);

class PageCapture {
 public:
  using ActiveWindowQuery = std::function<std::optional<ActiveWindowInfo>()>;

  // `home` and `activeWindow` default to the user's home and the X11 query;
  // the query runs on a worker thread, so it must not touch shared state.
  explicit PageCapture(QString home = {}, ActiveWindowQuery activeWindow = {});

  // The reply text, or empty when no browser page was found. The `service`
  // is the name callers ask for ("IExplore"); every capture reads the same
  // places. Never keeps the caller longer than deadline(): a capture that
  // takes longer is abandoned and answers empty.
  QString GetBrowserWindowInfo(const QString& service = {});

  std::chrono::milliseconds deadline() const { return deadline_; }
  void setDeadline(std::chrono::milliseconds d) { deadline_ = d; }

 private:
  QString home_;
  ActiveWindowQuery activeWindow_;
  std::chrono::milliseconds deadline_{200};
};

}  // namespace vorlix
