// Links handed over by other programs (drag and drop, clipboard): decoding
// must end on any bytes in any of the formats. Input: a first byte choosing
// the format, then the format's data.
#include <QCoreApplication>
#include <QMimeData>
#include <cstdint>

#include "editing/LinkMime.h"

using namespace vorlix;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  static QCoreApplication app(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const QByteArray bytes(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
  static const char* const formats[] = {kMozUrlFormat, kNetscapeUrlFormat, kUriListFormat,
                                        kHtmlFormat, kPlainFormat};
  const char* format = formats[data[0] % 5];
  QMimeData mime;
  mime.setData(QString::fromLatin1(format), bytes);
  const std::vector<ForeignLink> links = LinksFromMime(mime);
  LinksFromMozUrl(bytes);
  LinksFromUriList(bytes);
  LinksFromHtml(DecodeMimeText(bytes));
  LinksFromPlainText(DecodeMimeText(bytes));
  // What was read can be handed on again.
  QMimeData out;
  PutLinksOnMime(out, links, "fuzz");
  LinksFromMime(out);
  return 0;
}
