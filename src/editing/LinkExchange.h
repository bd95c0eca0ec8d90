#pragma once
// Links between this program and the others: Copy also puts the copied
// links on the system clipboard, Paste and drops take links another
// program offers, and dragged rows carry their links out of the window.
#include <QByteArray>
#include <QObject>
#include <functional>
#include <vector>

#include "editing/LinkMime.h"
#include "editing/SystemClipboardLinks.h"
#include "store/Ansi.h"
#include "store/LinkRecord.h"

class QClipboard;
class QMimeData;

namespace vorlix {

class EditorHost;

class LinkExchange : public QObject, public SystemClipboardLinks {
  Q_OBJECT
 public:
  // One link goes to the Add Url dialog, its target folder set, for the
  // user to confirm.
  using AddOneLink = std::function<void(const ForeignLink& link, const AnsiString& folder)>;

  // `clipboard` is the system clipboard (QGuiApplication::clipboard()).
  LinkExchange(EditorHost& host, QClipboard& clipboard, AddOneLink addOne);

  // SystemClipboardLinks
  void copied(const ClipboardList& copy) override;
  bool hasForeignLinks() const override { return hasForeign_; }
  bool pasteForeignLinks() override;

  // Links of another program dropped on `folder`, taken as soon as the
  // drop has ended; false when the data holds none.
  bool dropLinks(const QMimeData& data, const AnsiString& folder);
  // Whether a drag's data may hold links to take, by its formats alone: it
  // is asked on every move of the drag.
  static bool offersLinks(const QMimeData& data);

  // Adds the formats other programs read to dragged rows' data. `records`
  // are named relative to the folder they come from, as in the drag list.
  static void addLinksOf(QMimeData& data, const std::vector<LinkRecord>& records);

  // The links `links` bring into `folder`: one through the dialog, several
  // as one step.
  void takeLinks(const std::vector<ForeignLink>& links, const AnsiString& folder);

 signals:
  // The system clipboard's content changed whether Paste has something.
  void pasteAvailabilityChanged();

 private:
  void clipboardChanged();

  EditorHost& host_;
  QClipboard& clipboard_;
  AddOneLink addOne_;
  QByteArray ownMark_;  // the mark of our last copy
  bool hasForeign_ = false;
};

}  // namespace vorlix
