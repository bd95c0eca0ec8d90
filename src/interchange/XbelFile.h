#pragma once
// XBEL, the XML bookmark format of KDE, floccus, Otter and buku: reading one
// into the import tree, writing a tree as one.
#include <QByteArray>
#include <QString>

#include "interchange/ImportTree.h"
#include "store/LinkList.h"

namespace vorlix {

inline constexpr char kXbelFileFilter[] = "XBEL files (*.xbel);;All Files(*.*)";

// Reads folders and bookmarks with their titles, URLs, `added` dates (ISO
// 8601, or seconds since 1970) and `id`s into `out`; separators and aliases
// are skipped and counted, everything else (info, desc, metadata) is left
// out. Bytes that are no XBEL (no <xbel> element, broken XML) are refused
// with `error` naming `fileName`.
bool ParseXbel(const QByteArray& bytes, const QString& fileName, ImportedBookmarks& out,
               QString* error);

// How a tree is written.
struct XbelStyle {
  // Write `added` dates (ISO 8601, UTC).
  bool dates = true;
  // A comment right after <xbel> (floccus keeps its highest id in one).
  QString comment;
};

// `root`'s content as an XBEL document in UTF-8: each folder and bookmark
// with its title element and, when it has them, its `id` and `added`.
// Characters XML cannot carry are left out. Empty, with `ok` false, when
// the document could not be written whole.
QByteArray FormatXbel(const ImportedFolder& root, const XbelStyle& style = {}, bool* ok = nullptr);

// The whole database as XBEL, written with the same atomic replacement as
// database files; on failure the old file stays and `error` says why.
bool WriteXbelFile(const QString& path, const LinkList& links, QString* error = nullptr);

}  // namespace vorlix
