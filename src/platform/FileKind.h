#pragma once
// Whether a path names a file as the user means one.
#include <QString>

namespace vorlix {

// A regular file (a link to one counts) that is not a kernel interface:
// files below /proc, /sys and the like pass as regular but are windows
// into a running system (/proc/self/mem), not documents.
bool isOrdinaryFile(const QString& path);

}  // namespace vorlix
