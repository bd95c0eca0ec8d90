#pragma once
// What the program asks of the desktop: file dialogs, the folder chooser,
// opening URLs and files, and the clipboard text. One interface for every
// layer; tests replace it so no dialog waits for a person. It names no
// widget type, so layers without widgets can ask through it too.
#include <QString>

class QObject;

namespace vorlix {

class DesktopServices {
 public:
  virtual ~DesktopServices() = default;
  // `parent` is the window a dialog belongs to (null: none). Empty when cancelled.
  virtual QString openFileName(QObject* parent, const QString& startDir, const QString& filter) = 0;
  virtual QString saveFileName(QObject* parent, const QString& startDir, const QString& filter) = 0;
  virtual QString chooseFolder(QObject* parent, const QString& prompt, const QString& initial) = 0;
  // False when no program could be started for it.
  virtual bool openUrl(const QString& url) = 0;
  virtual void openFile(const QString& path) = 0;
  virtual void setClipboardText(const QString& text) = 0;
};

}  // namespace vorlix
