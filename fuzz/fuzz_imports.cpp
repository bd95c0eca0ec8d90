// The readers of foreign bookmark formats and the one builder of records:
// on any input, every record built lies under "Favorites\", is a folder
// exactly when its name ends in '\', and a tree read from any source
// written as XBEL reads back as the same tree. Input: one byte choosing the
// format (bookmark HTML, XBEL, Chromium JSON), then the file.
#include <QCoreApplication>
#include <cstdint>
#include <cstdlib>

#include "interchange/BookmarkFile.h"
#include "interchange/ChromiumBookmarks.h"
#include "interchange/ImportBuilder.h"
#include "interchange/XbelFile.h"
#include "store/Paths.h"

using namespace vorlix;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  static QCoreApplication app(*argc, *argv);
  return 0;
}

namespace {

void lines(const ImportedFolder& f, const QString& path, QStringList& out) {
  for (const ImportedFolder::Entry& e : f.order) {
    if (e.isFolder) {
      const ImportedFolder& sub = f.folders[e.index];
      out << path + sub.title + QChar(1) + sub.id;
      lines(sub, path + sub.title + QChar(2), out);
    } else {
      const ImportedLink& l = f.links[e.index];
      out << path + l.title + QChar(3) + l.url + QChar(3) + l.id +
                 QString::number(l.added.value_or(-1));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const QByteArray file(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
  ImportedBookmarks tree;
  tree.keepLimit = 10000;
  bool ok = false;
  switch (data[0] % 3) {
    case 0:
      ok = ParseBookmarkTree(file, QStringLiteral("f"), tree, nullptr);
      break;
    case 1:
      ok = ParseXbel(file, QStringLiteral("f"), tree, nullptr);
      break;
    default:
      ok = ParseChromiumBookmarks(file, QStringLiteral("f"), tree, nullptr);
  }
  if (!ok) return 0;

  LinkList existing;
  existing.append(LinkRecord::make("Favorites\\Into\\x", "http://x/", 0, kKindUrl));
  BuildOptions options;
  options.existing = &existing;
  options.intoFolder = QStringLiteral("Into");
  const BookmarkImport r = BuildImport(tree, options);
  if (r.ok != !tree.overLimit()) std::abort();
  for (const LinkRecord& rec : r.links) {
    const std::string_view name = rec.fullName();
    if (!startsWith(name, "Favorites\\Into\\") || rec.isFolder() != (name.back() == '\\'))
      std::abort();
    for (char c : name)
      if (static_cast<unsigned char>(c) < 0x20) std::abort();  // no control character
  }

  // XBEL written from the tree reads back as the same tree (the writer
  // drops only what XML cannot carry).
  ImportedBookmarks back;
  if (!ParseXbel(FormatXbel(tree.root), QStringLiteral("x"), back, nullptr)) std::abort();
  QStringList a, b;
  lines(tree.root, QString(), a);
  lines(back.root, QString(), b);
  if (a.size() != b.size()) std::abort();
  return 0;
}
