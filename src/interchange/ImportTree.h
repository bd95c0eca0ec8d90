#pragma once
// Bookmarks as another program holds them, before they become records: a
// tree of folders and links with Unicode titles and URLs. Every reader of a
// foreign format (bookmark HTML, XBEL, Firefox's places, Chromium's JSON)
// fills one, and one builder turns it into records, so the rules for names,
// cuts and merges exist once.
#include <QString>
#include <optional>
#include <vector>

#include <QtGlobal>

namespace vorlix {

struct ImportedLink {
  QString title;
  QString url;
  // Seconds since the Unix epoch, when the source knows it.
  std::optional<qint64> added;
};

struct ImportedFolder {
  QString title;
  std::optional<qint64> added;
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
    folders.push_back(ImportedFolder{std::move(name), when, {}, {}, {}});
    return folders.back();
  }
};

}  // namespace vorlix
