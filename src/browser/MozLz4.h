#pragma once
// Firefox's "mozLz40" files: the magic "mozLz40\0", the content's size as a
// 4-byte little-endian number, then one LZ4 block.
#include <QByteArray>
#include <optional>

namespace vorlix {

// The decompressed content, or nothing for a wrong magic, a declared size
// above `maxSize` or a block that does not decode to exactly that size.
std::optional<QByteArray> DecodeMozLz4(const QByteArray& file, qsizetype maxSize);

}  // namespace vorlix
