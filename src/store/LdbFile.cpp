#include "store/LdbFile.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <vector>

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

IoResult loadLdbFile(const QString& path, LinkList& out, LdbShape* shape) {
  const QByteArray native = QFile::encodeName(path);
  // O_NONBLOCK: opening a FIFO must not wait for a writer.
  Fd fd(::open(native.constData(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  const auto folder = [&] {
    return IoResult::failure(
        EISDIR, QStringLiteral("%1 is a folder, not a file").arg(QFileInfo(path).fileName()));
  };
  if (fd.get() < 0) return errno == EISDIR ? folder() : IoResult::failure(errno);
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return IoResult::failure(errno);
  if (S_ISDIR(st.st_mode)) return folder();
  // A FIFO, socket or device would "load" as an empty database.
  if (!S_ISREG(st.st_mode)) return IoResult::failure(EINVAL, QStringLiteral("Not a database file"));
  if (st.st_size > kMaxLdbBytes) return tooLarge();
  const size_t count = size_t(st.st_size) / kRecordSize;
  LinkList loaded;
  try {
    loaded.storage().reserve(count);
  } catch (const std::bad_alloc&) {
    return tooLarge();
  }
  // Read in slices that stay in the cache, each record then copied to its
  // place and its texts looked at while it is at hand: no pass over the
  // whole memory but the one that fills it.
  constexpr size_t kSlice = 128;
  std::vector<char> slice(kSlice * kRecordSize);
  LdbShape found;
  found.trailingBytes = qint64(size_t(st.st_size) - count * kRecordSize);
  for (size_t done = 0; done < count;) {
    const size_t n = std::min(kSlice, count - done);
    if (!readAll(fd.get(), slice.data(), n * kRecordSize)) return IoResult::failure(errno);
    for (size_t i = 0; i < n; ++i) {
      LinkRecord& r = loaded.storage().emplace_back(slice.data() + i * kRecordSize);
      r.readTexts();
      if (!r.isUrl() && !r.isFolder()) ++found.otherKinds;
    }
    done += n;
  }
  out.swap(loaded);
  if (shape) *shape = found;
  return {};
}

IoResult saveLdbFile(const QString& path, const LinkList& list) {
  // Straight from the records, in batches the kernel takes in one call.
  return replaceFile(path, [&](int fd) {
    std::vector<iovec> batch;
    const size_t most = size_t(IOV_MAX);
    batch.reserve(std::min(most, list.size()));
    for (size_t from = 0; from < list.size(); from += most) {
      const size_t n = std::min(most, list.size() - from);
      batch.clear();
      for (size_t i = from; i < from + n; ++i)
        batch.push_back({const_cast<char*>(list[i].raw.data()), size_t(kRecordSize)});
      const size_t want = n * kRecordSize;
      ssize_t put;
      do {
        put = ::writev(fd, batch.data(), int(n));
      } while (put < 0 && errno == EINTR);
      if (put < 0) return false;
      // A short write: the rest one record at a time.
      for (size_t done = size_t(put); done < want;) {
        const size_t rec = done / kRecordSize, at = done % kRecordSize;
        if (!writeAll(fd, list[from + rec].raw.data() + at, kRecordSize - at)) return false;
        done += kRecordSize - at;
      }
    }
    return true;
  });
}

QByteArray ldbBytes(const LinkList& list) {
  QByteArray out;
  out.reserve(qsizetype(list.size()) * kRecordSize);
  for (const LinkRecord& r : list) out.append(r.raw.data(), kRecordSize);
  return out;
}

}  // namespace vorlix
