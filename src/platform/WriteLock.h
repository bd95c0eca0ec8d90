#pragma once
// The lock that keeps two running copies from interleaving the read and
// the write of one file (registry.reg, Vorlixs.ini).
#include <QString>

class QLockFile;

namespace vorlix {

// Takes `lock`, waiting at most `waitMs` for a live owner. A lock whose
// owner is gone is taken over at once: one whose process has ended, and
// an empty one, left by a process killed between creating the file and
// writing its id into it.
bool takeWriteLock(QLockFile& lock, int waitMs);

}  // namespace vorlix
