#pragma once
// Reading and writing .ldb files: a headerless run of 528-byte records.
#include <QString>

#include "store/LinkList.h"

namespace vorlix {

struct IoResult {
  bool ok = true;
  int error = 0;    // errno of the first failure
  QString message;  // the system's text for it, for the error box
  explicit operator bool() const { return ok; }
  static IoResult failure(int err);
};

// Reads every whole record of an existing file into `out` (replacing what it
// held); a trailing part shorter than a record is ignored. The file is opened
// for reading and writing, so a read-only file fails with "File access
// denied". On failure `out` is left untouched.
IoResult loadLdbFile(const QString& path, LinkList& out);

// Writes every record in list order. The new content goes to a temporary
// file in the same folder, is synced, and replaces the old file in one
// rename; on any failure the old file stays whole.
IoResult saveLdbFile(const QString& path, const LinkList& list);

}  // namespace vorlix
