#include "browser/MozLz4.h"

#include <lz4.h>

#include <cstdint>
#include <cstring>

namespace vorlix {

namespace {

constexpr char kMagic[] = "mozLz40";  // and its terminating NUL: 8 bytes
constexpr qsizetype kHeader = 12;

}  // namespace

std::optional<QByteArray> DecodeMozLz4(const QByteArray& file, qsizetype maxSize) {
  if (file.size() < kHeader || std::memcmp(file.constData(), kMagic, 8) != 0) return {};
  const auto* b = reinterpret_cast<const unsigned char*>(file.constData()) + 8;
  const std::uint32_t size = std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 |
                             std::uint32_t(b[2]) << 16 | std::uint32_t(b[3]) << 24;
  const qsizetype block = file.size() - kHeader;
  if (size > std::uint32_t(maxSize) || size > std::uint32_t(LZ4_MAX_INPUT_SIZE) ||
      block > LZ4_MAX_INPUT_SIZE)
    return {};
  QByteArray out(qsizetype(size), Qt::Uninitialized);
  const int got =
      LZ4_decompress_safe(file.constData() + kHeader, out.data(), int(block), int(size));
  if (got < 0 || std::uint32_t(got) != size) return {};
  return out;
}

}  // namespace vorlix
