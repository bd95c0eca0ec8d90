// A desktop entry's Exec line, which any installed program may write:
// splitting must end on any text, and the new-window command built from it
// must carry the URL as one argument of its own, never split or expanded.
#include <QCoreApplication>
#include <cstdint>
#include <cstdlib>

#include "browser/ExecLine.h"

using namespace vorlix;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  static QCoreApplication app(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString exec = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
  SplitExecLine(exec);
  // Blanks, quotes and a field code in the URL itself must stay in it.
  const QString url = QStringLiteral("http://example.org/a b\"'%u$`\\?");
  const QStringList command = NewWindowCommand(exec, url);
  if (!command.isEmpty() && !command.contains(url)) std::abort();
  return 0;
}
