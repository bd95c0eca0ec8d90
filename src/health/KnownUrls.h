#pragma once
// Which folder already holds a link to a page: the canonical URLs of the
// open database, indexed on first use after each change.
#include <QObject>
#include <QString>
#include <cstdint>
#include <string>
#include <unordered_map>

namespace vorlix {

class LinkDocument;

class KnownUrls : public QObject {
  Q_OBJECT
 public:
  explicit KnownUrls(LinkDocument& doc, QObject* parent = nullptr);

  // The folder ("Favorites\News\") of the first link whose canonical URL is
  // that of `url`; empty when no link has it.
  QString folderHolding(const QString& url);
  // The hint the Add Url dialog and a pasted link show: "Already in Folder
  // X", X the folder's path without its final '\'; empty when the page is new.
  QString hintFor(const QString& url);

 private:
  LinkDocument& doc_;
  std::unordered_map<std::string, std::uint32_t> first_;
  bool stale_ = true;
};

}  // namespace vorlix
