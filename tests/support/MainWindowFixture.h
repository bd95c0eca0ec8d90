#pragma once
// A real main window over a temporary home, with scripted answers to every
// question, a fake desktop and a fake notification area, so no dialog waits
// for a person. Its parts are assembled as the program assembles them.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTest>
#include <memory>

#include "components/TrayIcon.h"
#include "document/LinkDocument.h"
#include "mainwindow/MainParts.h"
#include "mainwindow/MainWindow.h"
#include "platform/Registry.h"
#include "settings/Settings.h"
#include "store/LdbFile.h"
#include "support/FakeDesktop.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

namespace vorlix::test {

void initResources();

class FakeTrayShell : public TrayShell {
 public:
  bool available = true;
  bool shown = false;
  bool isAvailable() const override { return available; }
  bool addIcon(const QIcon&, const QString&) override { return shown = true; }
  void removeIcon() override { shown = false; }
  void modifyIcon(const QIcon&, const QString&) override {}
  void popupMenu(QMenu*, const QPoint&) override {}
  QPoint cursorPos() const override { return {}; }
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
  FakeTrayShell tray;
  std::unique_ptr<TFMainXeVorlix> window;
  std::unique_ptr<MainParts> parts;  // goes before the window

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
