#include "platform/FileKind.h"

#include <sys/stat.h>
#include <sys/statfs.h>

#include <QFile>

namespace vorlix {
namespace {

// File systems whose files are the kernel's, not stored data.
bool isKernelFileSystem(unsigned long type) {
  switch (type) {
    case 0x9fa0:      // proc
    case 0x62656572:  // sysfs
    case 0x64626720:  // debugfs
    case 0x74726163:  // tracefs
    case 0x73636673:  // securityfs
    case 0x27e0eb:    // cgroup
    case 0x63677270:  // cgroup2
    case 0x62656570:  // configfs
    case 0xcafe4a11:  // bpf
    case 0x6165676c:  // pstore
    case 0xde5e81e4:  // efivarfs
      return true;
    default:
      return false;
  }
}

}  // namespace

bool isOrdinaryFile(const QString& path) {
  if (path.isEmpty()) return false;
  const QByteArray name = QFile::encodeName(path);
  struct stat st {};
  if (::stat(name.constData(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  struct statfs fs {};
  if (::statfs(name.constData(), &fs) != 0) return false;
  return !isKernelFileSystem(static_cast<unsigned long>(fs.f_type));
}

}  // namespace vorlix
