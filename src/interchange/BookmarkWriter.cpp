// Writing the database as a Netscape bookmark file.
#include <string_view>
#include <unordered_map>
#include <vector>

#include "interchange/BookmarkFile.h"
#include "platform/AtomicFile.h"
#include "store/EpochDates.h"
#include "store/HtmlText.h"
#include "store/Paths.h"

namespace vorlix {
namespace {

constexpr std::string_view kHeader =
    "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
    "<!-- This is an automatically generated file.\n"
    "     It will be read and overwritten.\n"
    "     DO NOT EDIT! -->\n"
    "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
    "<meta http-equiv=\"Content-Security-Policy\"\n"
    "      content=\"default-src 'self'; script-src 'none'; img-src data: *; object-src "
    "'none'\"></meta>\n"
    "<TITLE>Bookmarks</TITLE>\n"
    "<H1>Bookmarks</H1>\n"
    "\n"
    "<DL><p>\n";

// The folders as a tree: each holds its items in the order the list first
// names them, so a folder that only exists as a parent sits where its
// first record does.
struct Folder {
  std::string_view name;
  long record = -1;  // the folder's own record, if it has one
  struct Item {
    bool folder;
    size_t index;  // into the folders or into the list
  };
  std::vector<Item> items;
};

class Tree {
 public:
  explicit Tree(const LinkList& links) {
    folders_.push_back({});
    byPath_.emplace(kRootPath, 0);
    for (size_t i = 0; i < links.size(); ++i) {
      const LinkRecord& r = links[i];
      std::string_view full = r.fullName();
      if (r.isFolder()) {
        if (!full.empty() && full.back() == '\\') full.remove_suffix(1);
        if (full.empty() || full == kRootPath.substr(0, kRootPath.size() - 1)) continue;
        const size_t f = folderFor(full);
        if (folders_[f].record < 0) folders_[f].record = long(i);
        continue;
      }
      const size_t slash = full.rfind('\\');
      const size_t parent = slash == std::string_view::npos ? 0 : folderFor(full.substr(0, slash));
      folders_[parent].items.push_back({false, i});
    }
  }

  const Folder& folder(size_t i) const { return folders_[i]; }

 private:
  // The folder of a path given without its final '\', made with its
  // parents when the list has no record of it yet.
  size_t folderFor(std::string_view path) {
    if (path.size() + 1 == kRootPath.size() && kRootPath.substr(0, path.size()) == path) return 0;
    if (lastPath_ == path) return lastFolder_;
    auto it = byPath_.find(path);
    size_t f;
    if (it != byPath_.end()) {
      f = it->second;
    } else {
      const size_t slash = path.rfind('\\');
      const size_t parent = slash == std::string_view::npos ? 0 : folderFor(path.substr(0, slash));
      f = folders_.size();
      folders_.push_back({});
      folders_[f].name = slash == std::string_view::npos ? path : path.substr(slash + 1);
      byPath_.emplace(path, f);
      folders_[parent].items.push_back({true, f});
    }
    lastPath_ = path;
    lastFolder_ = f;
    return f;
  }

  std::vector<Folder> folders_;
  std::unordered_map<std::string_view, size_t> byPath_;  // views into the records
  std::string_view lastPath_;
  size_t lastFolder_ = 0;
};

class Writer {
 public:
  Writer(const LinkList& links, QByteArray& out) : links_(links), tree_(links), out_(out) {}

  void run() {
    out_.append(kHeader.data(), qsizetype(kHeader.size()));
    items(tree_.folder(0), 1);
    out_.append("</DL><p>\n");
  }

 private:
  void indent(int depth) { out_.append(qsizetype(depth) * 4, ' '); }

  void date(const char* attribute, std::uint32_t stamp) {
    const std::optional<qint64> secs = dates_.toEpoch(stamp);
    if (!secs) return;
    out_.append(attribute);
    out_.append(QByteArray::number(*secs));
    out_.append('"');
  }

  void items(const Folder& f, int depth) {
    for (const Folder::Item& item : f.items) {
      if (item.folder) {
        const Folder& sub = tree_.folder(item.index);
        indent(depth);
        out_.append("<DT><H3");
        if (sub.record >= 0) {
          const std::uint32_t stamp = links_[size_t(sub.record)].dateStamp();
          date(" ADD_DATE=\"", stamp);
          date(" LAST_MODIFIED=\"", stamp);
        }
        out_.append('>');
        appendHtmlEscaped(out_, sub.name);
        out_.append("</H3>\n");
        indent(depth);
        out_.append("<DL><p>\n");
        items(sub, depth + 1);
        indent(depth);
        out_.append("</DL><p>\n");
      } else {
        const LinkRecord& r = links_[item.index];
        const std::string_view full = r.fullName();
        const size_t slash = full.rfind('\\');
        indent(depth);
        out_.append("<DT><A HREF=\"");
        appendHtmlEscaped(out_, r.url());
        out_.append('"');
        date(" ADD_DATE=\"", r.dateStamp());
        out_.append('>');
        appendHtmlEscaped(out_, slash == std::string_view::npos ? full : full.substr(slash + 1));
        out_.append("</A>\n");
      }
    }
  }

  const LinkList& links_;
  Tree tree_;
  QByteArray& out_;
  EpochDates dates_;
};

}  // namespace

QByteArray FormatBookmarks(const LinkList& links) {
  QByteArray out;
  size_t estimate = kHeader.size() + 16;
  for (const LinkRecord& r : links) estimate += r.fullName().size() + r.url().size() + 80;
  out.reserve(qsizetype(estimate + estimate / 8));
  Writer(links, out).run();
  return out;
}

bool WriteBookmarkFile(const QString& path, const LinkList& links, QString* error) {
  return writeFileAtomically(path, FormatBookmarks(links), error);
}

}  // namespace vorlix
