#include "sync/FloccusXbel.h"

#include <QXmlStreamReader>
#include <algorithm>

namespace vorlix::sync {
namespace {

const char kHeader[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!DOCTYPE xbel PUBLIC \"+//IDN python.org//DTD XML Bookmark Exchange Language "
    "1.0//EN//XML\" \"http://pyxml.sourceforge.net/topics/dtds/xbel.dtd\">\n"
    "<xbel version=\"1.0\">\n";

// floccus reads the number between the first and the last colon of the
// comment line; the comment's text starts with a third dash.
std::optional<int> highestIdOf(const QString& comment) {
  if (!comment.contains(QLatin1String("- highestId :"))) return std::nullopt;
  const int from = comment.indexOf(QLatin1Char(':')) + 1;
  const int to = comment.lastIndexOf(QLatin1Char(':'));
  bool ok = false;
  const int id = comment.mid(from, to - from).trimmed().toInt(&ok);
  return ok ? std::optional<int>(id) : std::nullopt;
}

class Reader {
 public:
  explicit Reader(const QByteArray& xml) : xml_(xml) {}

  bool read(SyncTree& tree) {
    while (xml_.readNext() != QXmlStreamReader::Invalid && !xml_.atEnd()) {
      if (xml_.isComment()) noteComment(tree);
      if (xml_.isStartElement()) {
        if (xml_.name() != QLatin1String("xbel")) return false;
        readChildren(tree, kRootId);
        break;
      }
    }
    return !xml_.hasError() && sawRoot_;
  }
  QString error() const {
    return xml_.hasError() ? xml_.errorString() : QStringLiteral("no <xbel> element");
  }

 private:
  void noteComment(SyncTree& tree) {
    if (const auto id = highestIdOf(xml_.text().toString()))
      tree.setHighestId(std::max(tree.highestId(), *id));
  }

  // Reads the content of the element just started; `folder` receives its
  // bookmarks and folders, in order.
  void readChildren(SyncTree& tree, int folder) {
    sawRoot_ = true;
    while (!xml_.atEnd()) {
      xml_.readNext();
      if (xml_.isEndElement()) return;
      if (xml_.isComment()) noteComment(tree);
      if (!xml_.isStartElement()) continue;
      const auto name = xml_.name();
      if (name == QLatin1String("bookmark") || name == QLatin1String("folder")) {
        readItem(tree, folder, name == QLatin1String("folder"));
      } else if (name == QLatin1String("title") && folder != kRootId && !titled_) {
        tree.find(folder)->title = xml_.readElementText(QXmlStreamReader::IncludeChildElements);
        titled_ = true;
      } else {
        xml_.skipCurrentElement();
      }
    }
  }

  void readItem(SyncTree& tree, int parent, bool isFolder) {
    SyncItem item;
    item.folder = isFolder;
    const QXmlStreamAttributes attributes = xml_.attributes();
    item.id = attributes.value(QLatin1String("id")).toInt();
    if (!isFolder) item.url = attributes.value(QLatin1String("href")).toString();
    const int id = tree.add(parent, std::move(item));
    titled_ = false;
    if (isFolder) {
      readChildren(tree, id);
      return;
    }
    while (!xml_.atEnd()) {
      xml_.readNext();
      if (xml_.isEndElement()) return;
      if (!xml_.isStartElement()) continue;
      if (xml_.name() == QLatin1String("title") && !titled_) {
        tree.find(id)->title = xml_.readElementText(QXmlStreamReader::IncludeChildElements);
        titled_ = true;
      } else {
        xml_.skipCurrentElement();
      }
    }
  }

  QXmlStreamReader xml_;
  bool sawRoot_ = false;
  bool titled_ = false;
};

// fast-xml-parser's entity replacement, which floccus's writer uses for
// both text and attributes.
void appendEscaped(QByteArray& out, const QString& text) {
  const auto escape = [&out](char c) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        out += c;
    }
  };
  // ASCII, by far the most common, needs no conversion to UTF-8 first.
  if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; })) {
    for (const QChar c : text) escape(char(c.unicode()));
    return;
  }
  for (const char c : text.toUtf8()) escape(c);
}

// The layout of fast-xml-parser's formatted output: every element on a line
// of its own, indented two blanks a level, a title's text inline.
void writeChildren(QByteArray& out, const SyncTree& tree, const SyncItem& folder,
                   const QByteArray& indent) {
  const QByteArray inner = indent + "  ";
  for (const int id : folder.children) {
    const SyncItem* item = tree.find(id);
    if (!item) continue;
    if (item->folder) {
      out += indent;
      out += "<folder id=\"";
      out += QByteArray::number(item->id);
      out += "\">";
    } else {
      out += indent;
      out += "<bookmark href=\"";
      appendEscaped(out, item->url);
      out += "\" id=\"";
      out += QByteArray::number(item->id);
      out += "\">";
    }
    out += inner;
    out += "<title>";
    appendEscaped(out, item->title);
    out += "</title>";
    if (item->folder) {
      writeChildren(out, tree, *item, inner);
      out += indent;
      out += "</folder>";
    } else {
      out += indent;
      out += "</bookmark>";
    }
  }
}

}  // namespace

std::optional<SyncTree> parseFloccusXbel(const QByteArray& xml, QString* error) {
  SyncTree tree;
  // An item takes a hundred bytes or more of the file.
  tree.reserve(size_t(xml.size()) / 100 + 1);
  Reader reader(xml);
  if (!reader.read(tree)) {
    if (error) *error = reader.error();
    return std::nullopt;
  }
  return tree;
}

QByteArray writeFloccusXbel(const SyncTree& tree) {
  QByteArray out(kHeader);
  out.reserve(qsizetype(tree.items().size()) * 160);
  out += "<!--- highestId :" + QByteArray::number(tree.highestId()) +
         ": for Floccus bookmark sync browser extension -->\n";
  writeChildren(out, tree, tree.root(), "\n");
  out += "\n</xbel>";
  return out;
}

}  // namespace vorlix::sync
