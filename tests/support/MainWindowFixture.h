#pragma once
// A real main window over a temporary home, with scripted answers to every
// question and a fake desktop, so no dialog waits for a person.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTest>
#include <deque>
#include <memory>

#include "document/LinkDocument.h"
#include "mainwindow/MainWindow.h"
#include "platform/Registry.h"
#include "settings/Settings.h"
#include "store/LdbFile.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

namespace vorlix::test {

void initResources();

class FakeDesktop : public DesktopServices {
 public:
  std::deque<QString> openNames, saveNames, folders;  // empty: cancelled
  QStringList openedUrls, openedFiles, saveStartDirs, openStartDirs;
  QString clipboard;
  bool urlsOpen = true;  // false: as if no browser were installed

  QString openFileName(QWidget*, const QString& start, const QString&) override {
    openStartDirs << start;
    return take(openNames);
  }
  QString saveFileName(QWidget*, const QString& start, const QString&) override {
    saveStartDirs << start;
    return take(saveNames);
  }
  QString chooseFolder(QWidget*, const QString&, const QString&) override { return take(folders); }
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

// Builds a LinkList from "name|url|kind" lines (kind defaults from the
// trailing '\').
LinkList makeLinks(const QStringList& lines);
QString writeDatabase(const QString& path, const QStringList& lines);
// States a user reaches by editing, made directly: unsaved changes without a
// change of the records, the saved state, and one record added as one step.
void markDirty(TFMainXeVorlix& w);
void markClean(TFMainXeVorlix& w);
void appendRecord(TFMainXeVorlix& w, const LinkRecord& r);
// The child of `parent` labelled `label`, or null.
FolderNode* childNamed(FolderNode* parent, const char* label);

struct MainWindowFixture {
  IsolatedHome home;
  ScriptedPrompts prompts;
  FakeDesktop desktop;
  Registry registry;
  Settings settings{registry};
  LinkDocument document;
  std::unique_ptr<TFMainXeVorlix> window;

  // Starts the window as the program does; `database` lines become the file
  // that "LastOpenFile" names (none: the import question, answered No).
  explicit MainWindowFixture(const QStringList& database = {});
  ~MainWindowFixture();
  TFMainXeVorlix& w() { return *window; }
  QString dbPath() const { return home.path(QStringLiteral("links.ldb")); }
  // Captions of the list's rows, in order.
  QStringList captions() const;
};

}  // namespace vorlix::test
