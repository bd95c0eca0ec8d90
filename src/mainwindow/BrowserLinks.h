#pragma once
// The window's ways in and out of the browsers, as parts the composition
// root connects: the bookmark file commands of the File menu, and the links
// of Copy, Paste and drag and drop.
#include <QObject>
#include <QString>

class QLabel;
#include <string>

namespace vorlix {

class LinkExchange;
class TFMainXeVorlix;

// File > Import > "Favorites Links from Netscape" and File > Export.
class BookmarkFileCommands : public QObject {
  Q_OBJECT
 public:
  // Enables both menu items and answers them.
  explicit BookmarkFileCommands(TFMainXeVorlix& window);

  // Replaces the database with a bookmark file's content, as one step.
  void importBookmarks();
  // Writes the whole database as a bookmark file.
  void exportBookmarks();

 private:
  void tell(const QString& text);

  TFMainXeVorlix& w_;
};

// Hooks `exchange` into the window: Copy and Paste through the system
// clipboard, drops of links on the tree and the list, drags out carrying
// the links. One link opens the Add Url dialog (see AddOneLinkInDialog).
void ConnectLinkExchange(TFMainXeVorlix& window, LinkExchange& exchange);

// The Add Url dialog for one link from another program, its target folder
// set to `folder`.
void AddOneLinkInDialog(TFMainXeVorlix& window, const QString& url, const QString& title,
                        const std::string& folder);

}  // namespace vorlix
