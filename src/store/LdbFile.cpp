#include "store/LdbFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFileInfo>
#include <cerrno>
#include <cstring>

namespace vorlix {
namespace {

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  int release() {
    const int f = fd_;
    fd_ = -1;
    return f;
  }

 private:
  int fd_;
};

bool readAll(int fd, char* dst, size_t n) {
  while (n > 0) {
    const ssize_t got = ::read(fd, dst, n);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) {
      errno = EIO;  // the file shrank under us
      return false;
    }
    dst += got;
    n -= size_t(got);
  }
  return true;
}

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

}  // namespace

IoResult IoResult::failure(int err) {
  IoResult r;
  r.ok = false;
  r.error = err;
  switch (err) {
    case ENOENT:
    case ENOTDIR:
      r.message = QStringLiteral("File not found");
      break;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      r.message = QStringLiteral("File access denied");
      break;
    case ENOSPC:
    case EDQUOT:
      r.message = QStringLiteral("Disk full");
      break;
    default:
      r.message = QStringLiteral("I/O error %1 (%2)")
                      .arg(err)
                      .arg(QString::fromLocal8Bit(std::strerror(err)));
  }
  return r;
}

IoResult loadLdbFile(const QString& path, LinkList& out) {
  const QByteArray native = QFile::encodeName(path);
  Fd fd(::open(native.constData(), O_RDWR | O_CLOEXEC));
  if (fd.get() < 0) return IoResult::failure(errno);
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return IoResult::failure(errno);
  if (S_ISDIR(st.st_mode)) return IoResult::failure(EISDIR);
  const size_t count = size_t(st.st_size) / kRecordSize;
  LinkList loaded;
  loaded.storage().resize(count);
  if (!readAll(fd.get(), reinterpret_cast<char*>(loaded.storage().data()), count * kRecordSize))
    return IoResult::failure(errno);
  out.swap(loaded);
  return {};
}

IoResult saveLdbFile(const QString& path, const LinkList& list) {
  // Write through a symbolic link to the file it names, as an editor would.
  QString target = path;
  const QFileInfo info(path);
  if (info.isSymLink() && info.exists()) target = info.canonicalFilePath();
  const QFileInfo targetInfo(target);
  const QByteArray dir = QFile::encodeName(targetInfo.absolutePath());
  const QByteArray final = QFile::encodeName(targetInfo.absoluteFilePath());
  QByteArray tmpl = final + ".XXXXXX";

  // A read-only file is refused as it would be when overwritten in place,
  // although the rename below could replace it.
  if (::access(final.constData(), F_OK) == 0 && ::access(final.constData(), W_OK) != 0)
    return IoResult::failure(errno);

  Fd fd(::mkostemp(tmpl.data(), O_CLOEXEC));
  if (fd.get() < 0) return IoResult::failure(errno);
  auto fail = [&](int err) {
    ::close(fd.release());
    ::unlink(tmpl.constData());
    return IoResult::failure(err);
  };

  // Keep the permissions of the file being replaced; a new file gets the
  // usual 0666 less the umask.
  struct stat old {};
  mode_t mode;
  if (::stat(final.constData(), &old) == 0) {
    mode = old.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  if (::fchmod(fd.get(), mode) != 0) return fail(errno);

  const size_t bytes = list.size() * kRecordSize;
  if (!writeAll(fd.get(), reinterpret_cast<const char*>(list.storage().data()), bytes))
    return fail(errno);
  if (::fdatasync(fd.get()) != 0) return fail(errno);
  if (::close(fd.release()) != 0) {
    const int err = errno;
    ::unlink(tmpl.constData());
    return IoResult::failure(err);
  }
  if (::rename(tmpl.constData(), final.constData()) != 0) {
    const int err = errno;
    ::unlink(tmpl.constData());
    return IoResult::failure(err);
  }
  // The rename is only durable once the folder itself is synced.
  Fd dirFd(::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dirFd.get() >= 0) ::fsync(dirFd.get());
  return {};
}

}  // namespace vorlix
