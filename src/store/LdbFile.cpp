#include "store/LdbFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <new>

#include "store/FileReplace.h"

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

IoResult tooLarge() { return IoResult::failure(EFBIG, QStringLiteral("File too large")); }

}  // namespace

IoResult loadLdbFile(const QString& path, LinkList& out) {
  const QByteArray native = QFile::encodeName(path);
  // O_NONBLOCK: opening a FIFO must not wait for a writer.
  Fd fd(::open(native.constData(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (fd.get() < 0) return IoResult::failure(errno);
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return IoResult::failure(errno);
  if (S_ISDIR(st.st_mode)) return IoResult::failure(EISDIR);
  // A FIFO, socket or device would "load" as an empty database.
  if (!S_ISREG(st.st_mode)) return IoResult::failure(EINVAL, QStringLiteral("Not a database file"));
  if (st.st_size > kMaxLdbBytes) return tooLarge();
  const size_t count = size_t(st.st_size) / kRecordSize;
  LinkList loaded;
  try {
    loaded.storage().resize(count);
  } catch (const std::bad_alloc&) {
    return tooLarge();
  }
  if (!readAll(fd.get(), reinterpret_cast<char*>(loaded.storage().data()), count * kRecordSize))
    return IoResult::failure(errno);
  out.swap(loaded);
  return {};
}

IoResult saveLdbFile(const QString& path, const LinkList& list) {
  return replaceFile(path, reinterpret_cast<const char*>(list.storage().data()),
                     list.size() * kRecordSize);
}

}  // namespace vorlix
