#pragma once
// The browser commands as one part the window's signals connect to: browse
// in a new or the active window, and the capture the Add/Edit dialog asks
// for.
#include <QObject>
#include <QStringList>

#include "browser/BrowserLauncher.h"
#include "browser/PageCapture.h"

namespace vorlix {

class BrowserActions : public QObject {
  Q_OBJECT
 public:
  // `desktop` is the fall-back and the active-window opener; `capture`
  // reads the user's browser unless told otherwise.
  explicit BrowserActions(DesktopServices& desktop, PageCapture capture = PageCapture(),
                          QObject* parent = nullptr);
  ~BrowserActions() override;

  // The capture's reply split into its fields: URL first, title second;
  // none when no browser page was found.
  QStringList captureFields();

 public slots:
  void browseInNewWindow(const QString& url);
  void browseInActiveWindow(const QString& url);

 signals:
  // No program took `url`, or it was refused; the launch shows no message
  // box of its own.
  void linkNotOpened(const QString& url);

 private:
  BrowserLauncher launcher_;
  PageCapture capture_;
};

}  // namespace vorlix
