#include "health/KnownUrls.h"

#include "document/LinkDocument.h"
#include "health/CanonicalUrl.h"
#include "store/Ansi.h"

namespace vorlix {

KnownUrls::KnownUrls(LinkDocument& doc, QObject* parent) : QObject(parent), doc_(doc) {
  auto forget = [this] { stale_ = true; };
  connect(&doc, &LinkDocument::adopted, this, forget);
  connect(&doc, &LinkDocument::edited, this, forget);
  connect(&doc, &LinkDocument::historyMoved, this, forget);
}

QString KnownUrls::folderHolding(const QString& url) {
  if (url.trimmed().isEmpty()) return {};
  const LinkList& list = doc_.links();
  if (stale_) {
    first_.clear();
    first_.reserve(list.size());
    for (size_t i = 0; i < list.size(); ++i)
      if (list[i].isUrl() && !list[i].url().empty())
        first_.emplace(canonicalUrl(list[i].url()), std::uint32_t(i));
    stale_ = false;
  }
  const auto it = first_.find(canonicalUrl(url));
  if (it == first_.end()) return {};
  const std::string_view name = list[it->second].fullName();
  const size_t slash = name.rfind('\\');
  return fromAnsi(slash == std::string_view::npos ? std::string_view() : name.substr(0, slash + 1));
}

QString KnownUrls::hintFor(const QString& url) {
  QString folder = folderHolding(url);
  if (folder.isEmpty()) return {};
  if (folder.endsWith(QLatin1Char('\\'))) folder.chop(1);
  return QStringLiteral("Already in Folder ") + folder;
}

}  // namespace vorlix
