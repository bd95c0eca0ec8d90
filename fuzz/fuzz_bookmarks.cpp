// Bookmark files (bookmarks.html) from anywhere: reading must end on any
// bytes, and the links of a file that reads must read back the same from
// the file written of them, or an export and import would lose links.
#include <QCoreApplication>
#include <cstdint>
#include <cstdlib>

#include "interchange/BookmarkFile.h"

using namespace vorlix;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  static QCoreApplication app(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  const BookmarkImport first = ParseBookmarks(bytes, 0x58E96000u, QStringLiteral("fuzz.html"));
  if (!first.ok) return 0;
  if (first.links.size() < first.linkCount) std::abort();
  const BookmarkImport again =
      ParseBookmarks(FormatBookmarks(first.links), 0x58E96000u, QStringLiteral("again.html"));
  if (!again.ok || again.linkCount != first.linkCount) std::abort();
  return 0;
}
