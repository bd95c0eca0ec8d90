#include "platform/FileLock.h"

#include <QLockFile>

namespace vorlix {

bool takeFileLock(QLockFile& lock, int waitMs) {
  // Locks are held for a write or for a whole run; their age says nothing,
  // the owner's process does.
  lock.setStaleLockTime(0);
  if (lock.tryLock(0)) return true;
  if (lock.error() != QLockFile::LockFailedError) return false;
  qint64 pid = 0;
  QString host, app;
  // Without an owner's id Qt can only judge by age. A live owner still
  // holds the file's native lock, which removeStaleLockFile respects, so
  // this never takes a lock from a running copy.
  if (!lock.getLockInfo(&pid, &host, &app)) lock.removeStaleLockFile();
  return lock.tryLock(waitMs);
}

}  // namespace vorlix
