#pragma once
// The real desktop behind DesktopServices: Qt's file dialogs, the desktop's
// URL and file opener, the system clipboard.
#include "platform/Desktop.h"

namespace vorlix {

// The suffix a Save dialog adds to a name typed without one: that of the
// filter's first pattern ("Bookmark files (*.html *.htm)" gives "html").
QString DefaultSuffixFor(const QString& filter);

class SystemDesktop : public DesktopServices {
 public:
  QString openFileName(QObject* parent, const QString& startDir, const QString& filter) override;
  QString saveFileName(QObject* parent, const QString& startDir, const QString& filter) override;
  QString chooseFolder(QObject* parent, const QString& prompt, const QString& initial) override;
  bool openUrl(const QString& url) override;
  void openFile(const QString& path) override;
  void setClipboardText(const QString& text) override;
};

}  // namespace vorlix
