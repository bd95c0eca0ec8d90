#include "store/FileReplace.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <ctime>

namespace vorlix {
namespace {

testing::FailHook failHook = nullptr;

// errno for an injected failure of `point`, or 0.
int injected(testing::FailPoint point) { return failHook ? failHook(point) : 0; }

constexpr int kMaxLinkHops = 40;  // the kernel's own limit
constexpr size_t kMaxPrefixBase = 200;

QByteArray folderOf(const QByteArray& path) {
  const qsizetype slash = path.lastIndexOf('/');
  return slash <= 0 ? QByteArray("/") : path.left(slash);
}

// The file that `path` finally names: symbolic links are followed, also one
// whose target does not exist yet (the save then creates it). 0 or errno.
int resolveLinks(QByteArray& path) {
  for (int hops = 0;; ++hops) {
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0) return errno == ENOENT ? 0 : errno;
    if (!S_ISLNK(st.st_mode)) return 0;
    if (hops == kMaxLinkHops) return ELOOP;
    char buf[PATH_MAX];
    const ssize_t n = ::readlink(path.constData(), buf, sizeof buf);
    if (n < 0) return errno;
    if (size_t(n) >= sizeof buf) return ENAMETOOLONG;
    QByteArray target(buf, qsizetype(n));
    path = target.startsWith('/') ? target : folderOf(path) + '/' + target;
  }
}

// Removes temporary files of this name that a killed save left behind.
void removeStaleTemporaries(const QByteArray& dir, const QByteArray& prefix) {
  DIR* d = ::opendir(dir.constData());
  if (!d) return;
  const time_t now = ::time(nullptr);
  const size_t wanted = size_t(prefix.size()) + 6;
  while (const dirent* e = ::readdir(d)) {
    const size_t len = ::strlen(e->d_name);
    if (len != wanted || ::strncmp(e->d_name, prefix.constData(), size_t(prefix.size())) != 0)
      continue;
    struct stat st {};
    if (::fstatat(::dirfd(d), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) continue;
    if (now - st.st_mtime < kStaleTemporarySeconds) continue;
    ::unlinkat(::dirfd(d), e->d_name, 0);
  }
  ::closedir(d);
}

// 0 or errno of the first failing step of syncing the folder.
int syncFolder(const QByteArray& dir) {
  if (const int e = injected(testing::FailPoint::OpenFolder)) return e;
  const int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno;
  int err = injected(testing::FailPoint::SyncFolder);
  if (!err && ::fsync(fd) != 0) err = errno;
  const int closeErr = injected(testing::FailPoint::CloseFolder);
  if (::close(fd) != 0 && !err) err = errno;
  return err ? err : closeErr;
}

}  // namespace

bool writeAll(int fd, const char* src, size_t n) {
  while (n > 0) {
    const ssize_t put = ::write(fd, src, n);
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) return false;
    src += put;
    n -= size_t(put);
  }
  return true;
}

void testing::setFailHook(FailHook hook) { failHook = hook; }

QByteArray temporaryPrefix(const QByteArray& fileName) {
  // Keeps the temporary name within the file system's 255 bytes.
  return fileName.left(qsizetype(kMaxPrefixBase)) + ".vorlix-tmp-";
}

IoResult replaceFile(const QString& path, const char* data, size_t size) {
  return replaceFile(path, [&](int fd) { return writeAll(fd, data, size); });
}

IoResult replaceFile(const QString& path, const std::function<bool(int fd)>& write) {
  QByteArray final = QFile::encodeName(QFileInfo(path).absoluteFilePath());
  if (const int e = resolveLinks(final)) return IoResult::failure(e);
  const QByteArray dir = folderOf(final);
  const QByteArray prefix = temporaryPrefix(final.mid(final.lastIndexOf('/') + 1));

  // A read-only file is refused as it would be when overwritten in place,
  // although the rename below could replace it.
  if (::access(final.constData(), F_OK) == 0 && ::access(final.constData(), W_OK) != 0)
    return IoResult::failure(errno);

  // Keep the permissions of the file being replaced. When they cannot be
  // learnt, guessing would widen a private file's: refuse instead.
  struct stat old {};
  mode_t mode;
  int statErr = injected(testing::FailPoint::StatTarget);
  if (!statErr && ::stat(final.constData(), &old) != 0) statErr = errno;
  if (!statErr) {
    mode = old.st_mode & 07777;
  } else if (statErr == ENOENT) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  } else {
    return IoResult::failure(statErr);
  }

  removeStaleTemporaries(dir, prefix);
  QByteArray tmp = dir + '/' + prefix + "XXXXXX";
  const int fd = ::mkostemp(tmp.data(), O_CLOEXEC);
  if (fd < 0) return IoResult::failure(errno);
  auto fail = [&](int err, bool open) {
    if (open) ::close(fd);
    ::unlink(tmp.constData());
    return IoResult::failure(err);
  };
  if (::fchmod(fd, mode) != 0) return fail(errno, true);
  if (!write(fd)) return fail(errno, true);
  int err = injected(testing::FailPoint::SyncFile);
  if (!err && ::fdatasync(fd) != 0) err = errno;
  if (err) return fail(err, true);
  if (::close(fd) != 0) return fail(errno, false);
  if (::rename(tmp.constData(), final.constData()) != 0) return fail(errno, false);

  // The rename is only durable once the folder itself is synced.
  if (const int e = syncFolder(dir)) {
    IoResult r = IoResult::failure(e);
    r.message = QStringLiteral(
                    "The file was saved, but it may not survive a crash: "
                    "its folder could not be synced (%1)")
                    .arg(r.message);
    r.replaced = true;
    return r;
  }
  return {};
}

}  // namespace vorlix
