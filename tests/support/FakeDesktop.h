#pragma once
// A desktop that records what it was asked and answers from queues, so no
// dialog waits for a person and no program is started.
#include <QStringList>
#include <deque>

#include "platform/Desktop.h"

namespace vorlix::test {

class FakeDesktop : public DesktopServices {
 public:
  std::deque<QString> openNames, saveNames, folders;  // empty: cancelled
  QStringList openedUrls, openedFiles, saveStartDirs, openStartDirs;
  QStringList folderQuestions;  // "prompt|initial" of each folder asked for
  QString clipboard;
  bool urlsOpen = true;  // false: as if no browser were installed

  QString openFileName(QObject*, const QString& start, const QString&) override {
    openStartDirs << start;
    return take(openNames);
  }
  QString saveFileName(QObject*, const QString& start, const QString&) override {
    saveStartDirs << start;
    return take(saveNames);
  }
  QString chooseFolder(QObject*, const QString& prompt, const QString& initial) override {
    folderQuestions << prompt + QLatin1Char('|') + initial;
    return take(folders);
  }
  bool openUrl(const QString& url) override {
    openedUrls << url;
    return urlsOpen;
  }
  void openFile(const QString& path) override { openedFiles << path; }
  void setClipboardText(const QString& text) override { clipboard = text; }

 private:
  static QString take(std::deque<QString>& q) {
    if (q.empty()) return {};
    QString s = q.front();
    q.pop_front();
    return s;
  }
};

}  // namespace vorlix::test
