#pragma once
// Replacing a whole file so that neither a failure nor a crash leaves it half
// written: the content goes to a temporary file beside it, is synced, takes
// the file's place in one rename, and the folder is synced after it.
#include <QString>
#include <cstddef>
#include <functional>

#include "store/IoResult.h"

namespace vorlix {

// Refuses an existing file the user may not write (as an overwrite in place
// would), keeps an existing file's permissions (a new one gets 0666 less the
// umask) and writes through symbolic links to the file they name.
//
// The temporary file is "<file>.vorlix-tmp-XXXXXX". A save killed half-way
// leaves one behind; the next save of the same file removes those older than
// a minute (younger ones may belong to a save still under way elsewhere).
//
// A failure to sync the folder after the rename is reported too, with
// `replaced` set: the new content is in place but may not survive a crash.
IoResult replaceFile(const QString& path, const char* data, size_t size);
// The same with the content written by `write` to the open temporary file;
// it returns false with errno set on failure.
IoResult replaceFile(const QString& path, const std::function<bool(int fd)>& write);
// Writes all `size` bytes to `fd`, going on after short writes; false with
// errno set on failure.
bool writeAll(int fd, const char* data, size_t size);

// The name prefix of `fileName`'s temporary files.
QByteArray temporaryPrefix(const QByteArray& fileName);

// How old a temporary file must be before a later save takes it for stale.
inline constexpr int kStaleTemporarySeconds = 60;

namespace testing {
enum class FailPoint { StatTarget, SyncFile, OpenFolder, SyncFolder, CloseFolder };
// Called before each step; a non-zero result makes the step fail with that
// errno. Only tests set it.
using FailHook = int (*)(FailPoint);
void setFailHook(FailHook hook);
}  // namespace testing

}  // namespace vorlix
