#pragma once
// File > Import > "Bookmarks from an Installed Browser..." and "Bookmarks
// from an XBEL File...", and the first start's offer to import the default
// browser's bookmarks: a part the composition root makes as a child of the
// window.
#include <QObject>
#include <QString>
#include <functional>
#include <vector>

#include "interchange/BookmarkFile.h"
#include "interchange/BrowserSources.h"

class QAction;
class QWidget;

namespace vorlix {

class TFMainXeVorlix;

class BrowserImportCommands : public QObject {
  Q_OBJECT
 public:
  // Picks the sources to import among those found; none is a cancel.
  using Chooser = std::function<std::vector<BrowserSource>(const std::vector<BrowserSource>&,
                                                           const BrowserSource* preferred)>;

  // Adds both menu items to File > Import. `defaultBrowser` gives the
  // desktop entry of the default browser ("firefox-esr.desktop"), asked only
  // when needed.
  BrowserImportCommands(TFMainXeVorlix& window, std::function<QString()> defaultBrowser);

  // The dialog that lists the sources; tests put their own answer here.
  void setChooser(Chooser chooser) { chooser_ = std::move(chooser); }

  // Imports the chosen sources, each into a folder named after its browser
  // and profile, as one undo step; a source imported before adds only the
  // links its folder lacks.
  void importFromBrowsers();
  // Imports an XBEL file into a folder named after it, as one undo step.
  void importXbelFile();

  // The first start: the browser whose bookmarks would be imported, empty
  // when none are found (the Favorites folder import stays).
  QString firstStartBrowser();
  // Fills `list` with that browser's default profile, its roots straight
  // under "Favorites\\". False, after saying why, when it cannot be read.
  bool importFirstStart(LinkList& list);

  QAction* browserAction = nullptr;
  QAction* xbelAction = nullptr;

 private:
  std::vector<BrowserSource> sources();
  // Builds and adds each import as one step; reports what was cut or
  // skipped in one box, else in the status bar.
  void addImports(const std::vector<std::pair<QString, QString>>& pathsAndFolders,
                  const QString& stepName);

  TFMainXeVorlix& w_;
  std::function<QString()> defaultBrowser_;
  Chooser chooser_;
  QString lastXbelFolder_;
};

// The dialog the menu item shows: one checkable line per source with its
// link count, `preferred` checked.
std::vector<BrowserSource> ChooseSourcesInDialog(QWidget* parent,
                                                 const std::vector<BrowserSource>& sources,
                                                 const BrowserSource* preferred);

}  // namespace vorlix
