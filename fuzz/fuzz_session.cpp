// Firefox's session store as the page capture reads it: a mozLz40 file,
// then JSON. Decoding and picking the page must end on any bytes, and
// content compressed the way Firefox does must come back exactly.
// Input: a first byte choosing the form, then a window title line, then
// the rest: 0 the JSON itself, 1 a whole mozLz40 file, 2 JSON that is
// compressed here first.
#include <lz4.h>

#include <QCoreApplication>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "browser/MozLz4.h"
#include "browser/SessionStore.h"

using namespace vorlix;

namespace {

QByteArray mozLz4Of(const QByteArray& content) {
  QByteArray file("mozLz40", 8);
  const auto n = std::uint32_t(content.size());
  for (int i = 0; i < 4; ++i) file.append(char((n >> (8 * i)) & 0xff));
  QByteArray block(LZ4_compressBound(int(content.size())), Qt::Uninitialized);
  const int packed = LZ4_compress_default(content.constData(), block.data(), int(content.size()),
                                          int(block.size()));
  if (packed <= 0) std::abort();
  return file + block.left(packed);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  static QCoreApplication app(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  QByteArray rest(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
  const qsizetype nl = rest.indexOf('\n');
  const QString title = nl < 0 ? QString() : QString::fromUtf8(rest.left(nl));
  if (nl >= 0) rest.remove(0, nl + 1);
  constexpr qsizetype kMax = 1 << 20;
  switch (data[0] % 3) {
    case 0:
      SessionStorePage(rest, title);
      break;
    case 1:
      if (const auto json = DecodeMozLz4(rest, kMax)) SessionStorePage(*json, title);
      break;
    default: {
      const auto back = DecodeMozLz4(mozLz4Of(rest), kMax);
      if (!back || *back != rest) std::abort();
      SessionStorePage(*back, title);
    }
  }
  return 0;
}
