#pragma once
// Reading and writing .ldb files: a headerless run of 528-byte records.
#include <QByteArray>
#include <QString>

#include "store/IoResult.h"
#include "store/LinkList.h"

namespace vorlix {

// The largest file that loads: 2 GiB less one byte. The list, its rows and
// the find index count records and text offsets in 32 bits.
inline constexpr qint64 kMaxLdbBytes = 0x7FFF'FFFF;
// The most records such a file holds: what an import may bring a database to.
inline constexpr size_t kMaxLdbRecords = size_t(kMaxLdbBytes) / kRecordSize;

// What a file holds besides whole records of kind "Url" or "Folder".
struct LdbShape {
  qint64 trailingBytes = 0;  // after the last whole record: a save drops them
  size_t otherKinds = 0;     // records of neither kind, kept and saved as they are
  bool isDatabase() const { return trailingBytes == 0 && otherKinds == 0; }
};

// Reads every whole record of an existing file into `out` (replacing what it
// held); a trailing part shorter than a record is ignored, and told in
// `shape` (when given) with the records of unknown kind. The file is opened
// for reading and writing, so a read-only file fails with "File access
// denied", a folder with "... is a folder, not a file". Anything else but a
// regular file fails with "Not a database file", a
// file larger than kMaxLdbBytes or than memory allows with "File too large".
// On failure `out` is left untouched.
IoResult loadLdbFile(const QString& path, LinkList& out, LdbShape* shape = nullptr);

// Writes every record in list order through replaceFile (store/FileReplace.h):
// on any failure the old file stays whole, except that a failed sync of the
// folder after the rename reports a failure with the new file in place.
IoResult saveLdbFile(const QString& path, const LinkList& list);

// The file's bytes for `list`, as saveLdbFile writes them (records in memory
// carry more than their stored bytes).
QByteArray ldbBytes(const LinkList& list);

}  // namespace vorlix
