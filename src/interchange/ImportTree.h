#pragma once
// Bookmarks as another program holds them, before they become records: a
// tree of folders and links with Unicode titles and URLs. Every reader of a
// foreign format (bookmark HTML, XBEL, Firefox's places, Chromium's JSON)
// fills one, and one builder turns it into records, so the rules for names,
// cuts and merges exist once.
#include <QList>
#include <QPair>
#include <QString>
#include <QtGlobal>
#include <limits>
#include <optional>
#include <vector>

namespace vorlix {

struct ImportedLink {
  QString title;
  QString url;
  // Seconds since the Unix epoch, when the source knows it.
  std::optional<qint64> added;
  // The source's own identifier (XBEL's `id`), kept so a writer can give it
  // back; empty when the source has none.
  QString id;
};

struct ImportedFolder {
  QString title;
  std::optional<qint64> added;
  QString id;
  // In the source's order; a folder's links and subfolders may interleave,
  // so each entry says which it is.
  struct Entry {
    bool isFolder = false;
    size_t index = 0;  // into links or folders
  };
  std::vector<Entry> order;
  std::vector<ImportedLink> links;
  std::vector<ImportedFolder> folders;

  ImportedLink& addLink(ImportedLink link) {
    order.push_back({false, links.size()});
    links.push_back(std::move(link));
    return links.back();
  }
  // The reference stays valid until this folder gains another subfolder.
  ImportedFolder& addFolder(QString name, std::optional<qint64> when = std::nullopt) {
    order.push_back({true, folders.size()});
    folders.push_back(ImportedFolder{std::move(name), when, {}, {}, {}, {}});
    return folders.back();
  }
};

// What a reader found: the tree under `root` (whose own title is not used),
// every item it met, and what it skipped. A reader keeps no more than
// `keepLimit` items and only counts the rest, so a source far larger than a
// database can hold is refused without first filling memory with it.
struct ImportedBookmarks {
  ImportedFolder root;
  size_t items = 0;  // folders and links met, kept or not
  size_t keepLimit = std::numeric_limits<size_t>::max();
  // Items records have no place for, by kind ("separators", ...).
  QList<QPair<QString, qsizetype>> skipped;

  // Counts one item; false once the limit is passed (the caller drops it).
  bool keep() { return ++items <= keepLimit; }
  bool overLimit() const { return items > keepLimit; }
  void skip(const QString& kind, qsizetype n = 1) {
    if (n <= 0) return;
    for (auto& s : skipped)
      if (s.first == kind) {
        s.second += n;
        return;
      }
    skipped.append({kind, n});
  }
};

}  // namespace vorlix
