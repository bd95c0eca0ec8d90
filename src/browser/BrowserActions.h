#pragma once
// The browser commands as one part the window's signals connect to: browse
// in a new or the active window, and the capture the Add/Edit dialog asks
// for.
#include <QObject>
#include <QStringList>
#include <memory>

#include "browser/BrowserLauncher.h"
#include "browser/PageCapture.h"

namespace vorlix {

class BrowserActions : public QObject {
  Q_OBJECT
 public:
  // `opener` is the fall-back and the active-window opener; `capture` reads
  // the user's browser unless told otherwise.
  explicit BrowserActions(std::unique_ptr<UrlOpener> opener, PageCapture capture = PageCapture(),
                          QObject* parent = nullptr);
  ~BrowserActions() override;

  // The capture's reply split into its fields: URL first, title second;
  // none when no browser page was found.
  QStringList captureFields();

 public slots:
  void browseInNewWindow(const QString& url);
  void browseInActiveWindow(const QString& url);

 private:
  std::unique_ptr<UrlOpener> opener_;
  BrowserLauncher launcher_;
  PageCapture capture_;
};

}  // namespace vorlix
