#include "interchange/XbelFile.h"
#include "interchange/SourceFile.h"

#include <QDateTime>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include "interchange/RecordTree.h"
#include "platform/AtomicFile.h"

namespace vorlix {
namespace {

std::optional<qint64> parseAdded(QStringView v) {
  v = v.trimmed();
  if (v.isEmpty()) return std::nullopt;
  bool number = false;
  const qint64 secs = v.toLongLong(&number);
  if (number) return secs > 0 ? std::optional<qint64>(secs) : std::nullopt;
  const QDateTime when = QDateTime::fromString(v.toString(), Qt::ISODate);
  if (!when.isValid()) return std::nullopt;
  return when.toSecsSinceEpoch();
}

class Reader {
 public:
  Reader(const QByteArray& bytes, ImportedBookmarks& out) : xml_(bytes), out_(out) {}

  // False when the bytes hold no <xbel> element or are not well-formed.
  bool run() {
    if (!xml_.readNextStartElement() || xml_.name() != QLatin1String("xbel")) return false;
    items(&out_.root);
    return !xml_.hasError();
  }

 private:
  // The children of the element just started, up to its end. `into` is
  // null for content past what is kept, which is only counted.
  void items(ImportedFolder* into) {
    while (xml_.readNextStartElement()) {
      const QStringView name = xml_.name();
      if (name == QLatin1String("folder")) {
        const QXmlStreamAttributes a = xml_.attributes();
        ImportedFolder* f = nullptr;
        if (out_.keep() && into) {
          f = &into->addFolder(QString(), parseAdded(a.value(QLatin1String("added"))));
          f->id = a.value(QLatin1String("id")).toString();
        }
        items(f);
      } else if (name == QLatin1String("bookmark")) {
        const QXmlStreamAttributes a = xml_.attributes();
        ImportedLink link{QString(), a.value(QLatin1String("href")).toString(),
                          parseAdded(a.value(QLatin1String("added"))),
                          a.value(QLatin1String("id")).toString()};
        link.title = titleOf();
        if (out_.keep() && into) into->addLink(std::move(link));
      } else if (name == QLatin1String("title")) {
        const QString t = xml_.readElementText(QXmlStreamReader::IncludeChildElements);
        if (into) into->title = t;
      } else if (name == QLatin1String("separator")) {
        out_.skip(QStringLiteral("separators"));
        xml_.skipCurrentElement();
      } else if (name == QLatin1String("alias")) {
        out_.skip(QStringLiteral("aliases"));
        xml_.skipCurrentElement();
      } else {
        xml_.skipCurrentElement();  // info, desc and what later versions add
      }
    }
  }

  // A bookmark's title element; the rest of its content is left out.
  QString titleOf() {
    QString title;
    while (xml_.readNextStartElement()) {
      if (xml_.name() == QLatin1String("title"))
        title = xml_.readElementText(QXmlStreamReader::IncludeChildElements);
      else
        xml_.skipCurrentElement();
    }
    return title;
  }

  QXmlStreamReader xml_;
  ImportedBookmarks& out_;
};

// What XML 1.0 can carry: no control character but tab and line breaks, no
// lone half of a surrogate pair (a JSON escape can make one), no U+FFFE or
// U+FFFF. Anything else would make the writer fail half-way.
QString xmlText(const QString& s) {
  QString out;
  bool changed = false;
  for (qsizetype i = 0; i < s.size(); ++i) {
    const char16_t u = s[i].unicode();
    if (QChar::isHighSurrogate(u) && i + 1 < s.size() && s[i + 1].isLowSurrogate()) {
      out.append(s[i]).append(s[i + 1]);
      ++i;
      continue;
    }
    const bool fits = (u >= 0x20 || u == '\t' || u == '\n' || u == '\r') &&
                      !QChar::isSurrogate(u) && u != 0xFFFE && u != 0xFFFF;
    if (fits)
      out.append(s[i]);
    else
      changed = true;
  }
  return changed ? out : s;
}

class Writer {
 public:
  Writer(QByteArray& out, const XbelStyle& style) : xml_(&out), style_(style) {
    xml_.setAutoFormatting(true);
    xml_.setAutoFormattingIndent(2);
  }

  // False when the writer failed (it then stops writing).
  bool run(const ImportedFolder& root) {
    xml_.writeStartDocument();
    xml_.writeDTD(QStringLiteral(
        "<!DOCTYPE xbel PUBLIC \"+//IDN python.org//DTD XML Bookmark Exchange Language "
        "1.0//EN//XML\" \"http://pyxml.sourceforge.net/topics/dtds/xbel.dtd\">"));
    xml_.writeStartElement(QStringLiteral("xbel"));
    xml_.writeAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
    if (!style_.comment.isEmpty()) xml_.writeComment(style_.comment);
    items(root);
    xml_.writeEndElement();
    xml_.writeEndDocument();
    return !xml_.hasError();
  }

 private:
  void common(const QString& id, const std::optional<qint64>& added) {
    if (!id.isEmpty()) xml_.writeAttribute(QStringLiteral("id"), xmlText(id));
    if (style_.dates && added)
      xml_.writeAttribute(QStringLiteral("added"),
                          QDateTime::fromSecsSinceEpoch(*added, Qt::UTC).toString(Qt::ISODate));
  }

  void items(const ImportedFolder& f) {
    for (const ImportedFolder::Entry& e : f.order) {
      if (e.isFolder) {
        const ImportedFolder& sub = f.folders[e.index];
        xml_.writeStartElement(QStringLiteral("folder"));
        common(sub.id, sub.added);
        xml_.writeTextElement(QStringLiteral("title"), xmlText(sub.title));
        items(sub);
        xml_.writeEndElement();
      } else {
        const ImportedLink& l = f.links[e.index];
        xml_.writeStartElement(QStringLiteral("bookmark"));
        xml_.writeAttribute(QStringLiteral("href"), xmlText(l.url));
        common(l.id, l.added);
        xml_.writeTextElement(QStringLiteral("title"), xmlText(l.title));
        xml_.writeEndElement();
      }
    }
  }

  QXmlStreamWriter xml_;
  const XbelStyle& style_;
};

}  // namespace

bool ParseXbel(const QByteArray& bytes, const QString& fileName, ImportedBookmarks& out,
               QString* error) {
  Reader reader(bytes, out);
  if (reader.run()) return true;
  out = ImportedBookmarks{};
  if (error) *error = quoted(fileName) + QStringLiteral(" is not an XBEL bookmark file.");
  return false;
}

QByteArray FormatXbel(const ImportedFolder& root, const XbelStyle& style, bool* ok) {
  QByteArray out;
  const bool written = Writer(out, style).run(root);
  if (ok) *ok = written;
  return written ? out : QByteArray();
}

bool WriteXbelFile(const QString& path, const LinkList& links, QString* error) {
  bool ok = false;
  const QByteArray xml = FormatXbel(RecordsAsTree(links), {}, &ok);
  if (!ok) {
    // Never a file cut off in the middle of an element.
    if (error) *error = QStringLiteral("The bookmarks cannot be written as XML");
    return false;
  }
  return writeFileAtomically(path, xml, error);
}

}  // namespace vorlix
