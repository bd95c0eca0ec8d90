#pragma once
// Lock files between running copies: the instance lock, and the locks that
// keep two copies from interleaving the read and the write of one file
// (registry.reg, Vorlixs.ini).
#include <QString>

class QLockFile;

namespace vorlix {

// Takes `lock`, waiting at most `waitMs` for a live owner. A lock whose
// owner is gone is taken over at once: one whose process has ended, and
// an empty one, left by a process killed between creating the file and
// writing its id into it.
bool takeFileLock(QLockFile& lock, int waitMs);

}  // namespace vorlix
