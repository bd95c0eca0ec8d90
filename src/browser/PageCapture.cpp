#include "browser/PageCapture.h"

#include <QDir>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "browser/CaptureReply.h"
#include "browser/FirefoxProfiles.h"
#include "browser/SessionStore.h"

namespace vorlix {

QString CaptureReplyNow(const QString& home, const std::optional<ActiveWindowInfo>& active) {
  const QString title = active ? BrowserPageTitle(*active) : QString();
  const bool foreignBrowser = !title.isNull() && !IsMozillaWindow(*active);
  const QString file = LatestSessionFile(home);
  if (!file.isEmpty()) {
    if (const auto page = ReadSessionStore(file, title)) {
      if (!foreignBrowser || page->title == title)
        return FormatCaptureReply(page->url, page->title);
    }
  }
  if (!title.isEmpty()) return FormatCaptureReply(QString(), title);
  return {};
}

PageCapture::PageCapture(QString home, ActiveWindowQuery activeWindow)
    : home_(home.isEmpty() ? QDir::homePath() : std::move(home)),
      activeWindow_(activeWindow ? std::move(activeWindow)
                                 : ActiveWindowQuery(QueryBrowserWindow)) {}

QString PageCapture::GetBrowserWindowInfo(const QString& service) {
  Q_UNUSED(service);
  // The X server or the file system may be slow to answer; the window must
  // not wait for them, so the work runs apart and is dropped when late.
  struct Shared {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    QString reply;
  };
  auto shared = std::make_shared<Shared>();
  std::thread([shared, home = home_, query = activeWindow_] {
    QString reply = CaptureReplyNow(home, query());
    std::lock_guard lock(shared->mutex);
    shared->reply = std::move(reply);
    shared->finished = true;
    shared->done.notify_all();
  }).detach();
  std::unique_lock lock(shared->mutex);
  if (!shared->done.wait_for(lock, deadline_, [&] { return shared->finished; })) return {};
  return shared->reply;
}

}  // namespace vorlix
